"""Shared pieces of the test runners: running programs natively or under the
test run's Wine session, stopping the ones a runner started, and checking
expected output lines."""
import os
import re
import subprocess
import sys

HARNESS = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HARNESS, "wine-run")


def is_windows_program(path):
    return path.lower().endswith(".exe")


def wine_path(path):
    """A Unix path as a Windows program sees it (Wine maps / to drive Z:)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def command_for(program, args):
    """The command line for a program and its file arguments, under Wine when
    the program is a Windows one (file arguments then become Windows paths)."""
    if is_windows_program(program):
        return [WINE_RUN, program] + [wine_path(a) if os.path.exists(a) else a for a in args]
    return [program] + list(args)


SKIPPED = 77


def wine_unusable():
    """Why the test run's Wine session cannot run the build's programs (its
    32-bit loader on a machine that runs no 32-bit code), or None."""
    session = os.path.join(os.environ.get("WZ_WINE_DIR", ""), "session.env")
    if not os.path.isfile(session):
        return None
    with open(session, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("WZ_WINE_UNUSABLE="):
                return line.split("=", 1)[1].strip().strip("'")
    return None


def skip_if_wine_unusable():
    """Ends a test of a Windows build as skipped (status 77, the reason in
    one line) when its Wine cannot run here; wine-run says the same."""
    reason = wine_unusable()
    if reason:
        print("SKIPPED (x86 tier): " + reason, flush=True)
        sys.exit(SKIPPED)


# What Wine's start.exe says when Wine could not create the process at all:
# the program never ran. Seen now and then under 64-bit Wine while other
# Wine processes start and end beside it; the same program starts at once
# when asked again.
WINE_COULD_NOT_START = "Application could not be started"


def run(command, timeout, env=None, stdin=None):
    """Runs a command to its end within timeout seconds (or ends the runner,
    showing what it wrote): (status, standard output, standard error). A
    program under Wine that Wine could not start at all is started once
    more, with a line that says so."""
    wine = bool(command) and command[0] == WINE_RUN
    if wine:
        skip_if_wine_unusable()
    merged = dict(os.environ)
    if env:
        merged.update(env)
    for attempt in (1, 2):
        try:
            done = subprocess.run(command, stdin=stdin if stdin is not None else subprocess.DEVNULL,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                  timeout=timeout, env=merged)
        except subprocess.TimeoutExpired as expired:
            out = (expired.stdout or b"").decode("latin-1")
            err = (expired.stderr or b"").decode("latin-1")
            sys.stdout.write(out)
            sys.stdout.write(err)
            sys.exit("timed out after %d s: %s" % (timeout, " ".join(command)))
        status, out, err = done.returncode, done.stdout.decode("latin-1"), done.stderr.decode("latin-1")
        if not (wine and attempt == 1 and status == 1 and not out and WINE_COULD_NOT_START in err):
            break
        print("Wine could not start %s (%s); starting it once more" % (" ".join(command[1:2]), " ".join(err.split())),
              flush=True)
    return status, out, err


def stop_process(process, seconds):
    """Ends a process that the runner started (a subprocess.Popen, or None):
    asked to end, then killed when it has not ended within seconds."""
    if process and process.poll() is None:
        process.terminate()
        try:
            process.wait(seconds)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


_STRING = re.compile(r"""'((?:[^']|'')*)'|"((?:[^"]|"")*)\"""")


def rexx_string(text):
    """The value of a REXX string literal such as 'it''s'."""
    match = _STRING.search(text)
    if not match:
        raise ValueError("no string in: " + text)
    if match.group(1) is not None:
        return match.group(1).replace("''", "'")
    return match.group(2).replace('""', '"')


ANY = "{any}"


def line_matches(line, wanted):
    """A line equal to the wanted one; {any} in it stands for any text (a
    temporary file name, a time)."""
    if ANY not in wanted:
        return line == wanted
    pattern = ".*".join(re.escape(piece) for piece in wanted.split(ANY))
    return re.fullmatch(pattern, line, re.DOTALL) is not None


def check_lines_in_order(label, wanted, output):
    """Every wanted line appears in the output, in the given order."""
    lines = output.replace("\r\n", "\n").split("\n")
    position = 0
    failures = []
    for line in wanted:
        for i in range(position, len(lines)):
            if line_matches(lines[i], line):
                position = i + 1
                break
        else:
            failures.append("%s: expected line not found (in order): %r" % (label, line))
    return failures


def check_expectations(expected, out, err, more=None):
    """expected: (stream, count or None, line) triples; count None means the
    lines appear in the given order, a count that the line appears that often.
    more: further named texts to check (a server transcript)."""
    failures = []
    streams = {"stdout": out, "stderr": err}
    streams.update(more or {})
    for stream in streams:
        if not any(s == stream for s, _, _ in expected):
            continue
        ordered = [line for s, count, line in expected if s == stream and count is None]
        failures += check_lines_in_order(stream, ordered, streams[stream])
    for stream, count, line in expected:
        if count is not None:
            seen = sum(1 for l in streams[stream].replace("\r\n", "\n").split("\n") if line_matches(l, line))
            if seen != count:
                failures.append("%s: %r appears %d times, expected %d" % (stream, line, seen, count))
    return failures


def report(failures, out, err):
    sys.stdout.write(out)
    if err:
        sys.stdout.write("--- standard error ---\n" + err)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0
