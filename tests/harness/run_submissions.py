"""Runs submission cases: for each case of a .cases file it starts the
loopback servers the case names, writes its registry fixture and prefs.js,
runs the submission driver (natively, or a Win32 driver under the test run's
Wine session) and checks the driver's diagnostic lines and outcome and what
each server received.

  run_submissions.py --driver PROGRAM --data DIR [--trust-program PROGRAM] CASES...

Where a case names an https gateway, the runner makes a throwaway
certificate authority with openssl first and has the submission trust it
for this run alone: natively through the driver's --trust (a test-only
setting of the TLS port), under Wine as a root of the session's prefix,
added by the trust program (enrolwiz_trust_root.exe) before the cases and
removed after them.

A case file is a list of cases; "#" starts a comment line. Besides them it
may give replies of the scripted gateway that its cases name:
  reply NAME {JSON}             a reply (the fields of DIR/gateway/replies.json,
                                which holds the replies that several files use),
                                for every case of the file; it stands in the
                                first case that names it
A case:
  case NAME                     starts it; it ends where the next one starts
  platform posix|win32          runs on that platform only
  registry FILE                 a .reg template in DIR/registry, loaded into a fresh profile
  prefs FILE                    a prefs.js template in DIR/prefs, put in the Netscape profile
  prefs-directory               prefs.js in the profile is a directory
  gateway NAME [@ADDR[:OTHER]] REPLY..
                                scripted gateway on ADDR (on the port of server OTHER);
                                its nth connection gets the nth reply named (the
                                last repeats): the file's own or a common one
  https NAME [@ADDR[:OTHER]] [untrusted|tls1.1] REPLY..
                                the same behind TLS, its certificate the authority's
                                (naming 127.0.0.1 and localhost) or nobody's, or
                                offering TLS 1.1 at most
  pac NAME FILE                 a gateway that answers with the script DIR/scripts/FILE
  proxy NAME HOST=GATEWAY..     scripted HTTP proxy and its routes
  socks NAME MODE               scripted SOCKS 4 server: grant, refuse, close, silent
  danted NAME                   the real SOCKS server (danted)
  squid|tinyproxy|privoxy NAME [VARIANT]
                                a real HTTP proxy (proxies.py: squid deny, tinyproxy auth)
  closed NAME                   a loopback port that nobody listens on
  lookup NAME=ANSWER,..         the test resolver's answers (dotted address or Winsock code)
  request TEXT | request-length N
  target TEXT | target-length N BASE   BASE and a path that makes it N long
  timeout SECONDS               default 5
  post                          postRegistration chooses target and time-out by the options
  option NAME=VALUE             an option as the command line sets it
  exhaust-sockets               the driver holds every socket it can get first
  exact                         the expect lines are the whole output
  expect LINE                   a line of the driver's output, in order
  absent LINE                   a line that must not appear
  count N LINE                  a line that appears exactly N times ({any} in it stands
                                for any text, as in expect and received)
  received NAME LINE            what server NAME received, in order (escaped text)
  unreached NAME                server NAME had no connection at all
  outcome confirmed | outcome TEXT   the result, or the failure's text (message 127)
  within SECONDS                the driver ends within this time
  repeat N                      N submissions in a row (a soak; its figures are printed)
  max-resident MB               (natively) the driver's peak resident memory stays below
Placeholders: ${NAME.port}, ${NAME.porthex} (its two bytes in hex) and
${NAME.host} of the servers, ${REQUEST},
${GATEWAY}, ${PROFILE} and ${PREFS} (as the program names them), ${OS} and
${OS_VERSION} (what the platform reports)."""
import argparse
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

import submission_servers as servers
import wzharness

GATEWAY_PATH = "/scripts/mwisapi.dll/Service.Gateway.DoGet?"
DEFAULT_REQUEST = "firstName=Ann&lastName=Lee&q7=%20&prodName=Ommel&numOfProds=0"
SKIPPED = 77
# What GetVersionExA gives in a fresh Wine prefix; nothing is known natively.
PLATFORM_OS = {"posix": ("", ""), "win32": ("Windows NT", "V6.1 (Build 7601)")}


class Case:
    def __init__(self, name, source, replies):
        self.name = name
        self.source = source
        self.replies = replies
        self.directives = []

    def add(self, keyword, rest, line_number):
        self.directives.append((keyword, rest, line_number))

    def all(self, keyword):
        return [rest for k, rest, _ in self.directives if k == keyword]

    def one(self, keyword, default=None):
        found = self.all(keyword)
        return found[-1] if found else default


KEYWORDS = set(servers.SERVER_KEYWORDS) | {"reply",
    "platform", "registry", "prefs", "prefs-directory", "lookup", "request", "request-length", "target",
    "target-length", "timeout", "exhaust-sockets", "post", "option", "exact", "expect", "absent", "count",
    "received", "unreached", "outcome", "within", "max-resident", "repeat"}


def read_cases(path, common_replies):
    """The cases of a file, each with the replies it may name: the common
    ones and the file's own."""
    cases = []
    replies = dict(common_replies)
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            keyword, _, rest = line.partition(" ")
            if keyword == "case":
                cases.append(Case(rest.strip(), "%s:%d" % (os.path.basename(path), number), replies))
                continue
            if keyword not in KEYWORDS:
                raise SystemExit("%s:%d: unknown directive %r" % (path, number, keyword))
            if keyword == "reply":
                name, _, spec = rest.strip().partition(" ")
                if name in replies:
                    raise SystemExit("%s:%d: the reply %s is given twice" % (path, number, name))
                try:
                    replies[name] = json.loads(spec)
                except ValueError as error:
                    raise SystemExit("%s:%d: the reply %s: %s" % (path, number, name, error))
                continue
            if not cases:
                raise SystemExit("%s:%d: a directive before the first case" % (path, number))
            cases[-1].add(keyword, rest, number)
    return cases


class Run:
    """One case: its servers, files and driver run."""

    def __init__(self, case, driver, data, authority):
        self.case = case
        self.driver = driver
        self.data = data
        self.authority = authority
        self.windows = wzharness.is_windows_program(driver)
        self.platform = "win32" if self.windows else "posix"
        self.transcript = servers.Transcript()
        self.servers = []
        self.dir = tempfile.mkdtemp(prefix="wz-submit-")
        self.values = {"REQUEST": DEFAULT_REQUEST, "GATEWAY": GATEWAY_PATH,
                       "OS": PLATFORM_OS[self.platform][0], "OS_VERSION": PLATFORM_OS[self.platform][1]}

    def program_path(self, path):
        return wzharness.wine_path(path) if self.windows else path

    def make_servers(self):
        directives = [(keyword, rest) for keyword, rest, _ in self.case.directives]
        self.servers, values = servers.make_servers(directives, self.data, self.case.replies, self.transcript,
                                                    self.authority and self.authority.certificates)
        self.values.update(values)

    def profile(self):
        """The Netscape profile directory as the program names it, and where
        its prefs.js is on disk (the POSIX build keeps "\\" in file names)."""
        if self.windows:
            disk = os.path.join(self.dir, "profile")
            os.makedirs(disk, exist_ok=True)
            return self.program_path(disk), os.path.join(disk, "prefs.js")
        name = os.path.join(self.dir, "profile")
        return name, name + "\\prefs.js"

    def fixtures(self):
        args = []
        profile, prefs_on_disk = self.profile()
        self.values["PROFILE"] = profile
        self.values["PREFS"] = profile + "\\prefs.js"
        for i, name in enumerate(self.case.all("registry")):
            with open(os.path.join(self.data, "registry", name.strip()), encoding="latin-1") as f:
                template = f.read()
            path = os.path.join(self.dir, "fixture%d.reg" % i)
            with open(path, "w", encoding="latin-1", newline="\r\n") as f:
                f.write(servers.render_registry(template, self.values))
            args += ["--registry", self.program_path(path)]
        for name in self.case.all("prefs"):
            with open(os.path.join(self.data, "prefs", name.strip()), encoding="latin-1") as f:
                text = servers.render(f.read(), self.values)
            with open(prefs_on_disk, "w", encoding="latin-1", newline="") as f:
                f.write(text)
        if self.case.one("prefs-directory") is not None:
            os.makedirs(prefs_on_disk, exist_ok=True)
        return args

    def driver_args(self):
        args = self.fixtures()
        for lookup in self.case.all("lookup"):
            args += ["--lookup", servers.render(lookup.strip(), self.values)]
        request = self.case.one("request")
        length = self.case.one("request-length")
        if length is not None:
            request = "q=" + "x" * (int(length) - 2)
        if request is not None:
            self.values["REQUEST"] = servers.render(request, self.values)
        args += ["--request", self.values["REQUEST"]]
        target = self.case.one("target")
        if target is not None:
            target = servers.render(target, self.values)
        length = self.case.one("target-length")
        if length is not None:
            length, _, base = length.partition(" ")
            base = servers.render(base, self.values) + "/"
            target = base + "p" * (int(length) - len(base))
        if target is not None:
            args += ["--target", target]
        args += ["--timeout", self.case.one("timeout", "5").strip()]
        if self.case.one("exhaust-sockets") is not None:
            args.append("--exhaust-sockets")
        if self.case.one("post") is not None:
            args.append("--post")
        if self.case.one("repeat") is not None:
            args += ["--repeat", self.case.one("repeat").strip()]
        for option in self.case.all("option"):
            args += ["--option", option.strip()]
        if self.authority and not self.windows:
            args += ["--trust", self.authority.certificate("authority")]
        return args

    def command(self, args):
        if self.windows:
            return [wzharness.WINE_RUN, self.driver] + args
        if self.case.one("exhaust-sockets") is not None:
            # few descriptors, so that the driver can hold them all quickly
            return ["prlimit", "--nofile=64", "--", self.driver] + args
        return [self.driver] + args

    def run(self):
        platform = self.case.one("platform")
        if platform is not None and platform.strip() != self.platform:
            return None
        try:
            self.make_servers()
            for server in self.servers:
                server.start(self.values)
            args = self.driver_args()
            started = time.time()
            env = None
            if self.case.one("repeat") is not None:
                # Freed memory goes back at once, so that the figures show what is kept.
                env = {"ASAN_OPTIONS": os.environ.get("ASAN_OPTIONS", "") +
                       ":quarantine_size_mb=0:thread_local_quarantine_size_kb=0"}
            code, out, err = wzharness.run(self.command(args), timeout=600, env=env)
            self.seconds = time.time() - started
        finally:
            for server in self.servers:
                server.stop()
            shutil.rmtree(self.dir, ignore_errors=True)
        if self.windows:
            out = out.replace("\r\n", "\n")   # the C runtime's text mode on standard output
        soak = [line for line in err.splitlines() if line.startswith("soak: ")]
        for line in soak:
            print(line)
        failures = self.check(code, out, err)
        if len(soak) >= 3:
            # From the first tenth on, nothing may pile up: the same descriptors,
            # and resident memory within a megabyte.
            def figures(line):
                words = line.split()
                return int(words[4]), int(words[7])
            (fds, rss), (last_fds, last_rss) = figures(soak[1]), figures(soak[-1])
            if last_fds != fds or last_rss - rss > 1024:
                failures.append("soak: %s -> %s" % (soak[1], soak[-1]))
        return failures

    def check(self, code, out, err):
        failures = []
        if code != 0:
            failures.append("driver exit status %d" % code)
        # Chunks of the response are written as they came, so their lines end
        # in CR LF; the cases are written without the CR.
        out = "\n".join(line[:-1] if line.endswith("\r") else line for line in out.split("\n"))
        lines = out.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        expected = [servers.render(line, self.values) for line in self.case.all("expect")]
        if self.case.one("exact") is not None:
            if lines[:-1] != expected:
                failures.append("output differs from the expected lines:\n" + diff(expected, lines[:-1]))
        else:
            failures += wzharness.check_lines_in_order("output", expected, out)
        for line in self.case.all("absent"):
            line = servers.render(line, self.values)
            if line in lines:
                failures.append("output: unexpected line %r" % line)
        for rest in self.case.all("count"):
            number, _, line = rest.partition(" ")
            line = servers.render(line, self.values)
            seen = sum(1 for got in lines if wzharness.line_matches(got, line))
            if seen != int(number):
                failures.append("output: %r appears %d times, expected %s" % (line, seen, number))
        outcome = self.case.one("outcome")
        if outcome is not None:
            outcome = servers.render(outcome, self.values)
            wanted = "Result: 1" if outcome == "confirmed" else "Failure 127: [%s ]" % outcome
            last = lines[-1] if lines else ""
            if last != wanted:
                failures.append("outcome %r, expected %r" % (last, wanted))
        received = {}
        for rest in self.case.all("received"):
            name, _, line = rest.partition(" ")
            received.setdefault(name, []).append(servers.render(line, self.values))
        within = self.case.one("within")
        if within is not None and self.seconds > float(within):
            failures.append("took %.1f s, more than %s s" % (self.seconds, within.strip()))
        most = self.case.one("max-resident")
        if most is not None and not self.windows:
            # The peak of every child so far: a bound for this one.
            peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024
            if peak >= int(most):
                failures.append("peak resident memory %d MB, limit %s MB" % (peak, most.strip()))
        failures += [line for line in self.transcript.lines if ": server error: " in line]
        for name in self.case.all("unreached"):
            got = self.transcript.of(name.strip())
            if got:
                failures.append("%s was reached: %s" % (name.strip(), got))
        for name, wanted in received.items():
            got = self.transcript.of(name)
            failures += ["%s %s" % (name, f) for f in wzharness.check_lines_in_order("received", wanted, "\n".join(got))]
        if failures:
            failures.append("transcript:\n  " + "\n  ".join(self.transcript.lines))
            if err:
                failures.append("standard error:\n" + err)
            failures.append("output:\n" + out)
        return failures


def diff(expected, got):
    out = []
    for i in range(max(len(expected), len(got))):
        e = expected[i] if i < len(expected) else "<none>"
        g = got[i] if i < len(got) else "<none>"
        out.append(("   " if e == g else "!! ") + "%r | %r" % (e, g))
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--trust-program", help="the Win32 program that makes an authority a root of the prefix")
    parser.add_argument("--only", help="run only the case of this name")
    parser.add_argument("cases", nargs="+")
    options = parser.parse_args()
    windows = wzharness.is_windows_program(options.driver)
    if windows:
        wzharness.skip_if_wine_unusable()
    with open(os.path.join(options.data, "gateway", "replies.json"), encoding="utf-8") as f:
        replies = json.load(f)["replies"]
    every = [case for path in options.cases for case in read_cases(path, replies)
             if not options.only or case.name == options.only]
    authority = None
    if any(case.all("https") for case in every):
        if windows and not options.trust_program:
            raise SystemExit("https cases under Wine need --trust-program")
        try:
            authority = servers.Authority(tempfile.mkdtemp(prefix="wz-https-"),
                                          options.trust_program if windows else None)
        except servers.Unavailable as why:
            print("SKIPPED: %s" % why)
            return SKIPPED
    try:
        return run_cases(every, options, authority)
    finally:
        if authority:
            authority.remove()
            shutil.rmtree(authority.folder, ignore_errors=True)


def run_cases(every, options, authority):
    failed = ran = skipped = 0
    for case in every:
        try:
            failures = Run(case, options.driver, options.data, authority).run()
        except servers.Unavailable as why:
            print("SKIPPED %s: %s" % (case.name, why))
            skipped += 1
            continue
        if failures is None:
            continue
        ran += 1
        if failures:
            failed += 1
            print("FAIL %s (%s)" % (case.name, case.source))
            for failure in failures:
                for line in failure.split("\n"):
                    print("  " + (line if len(line) <= 300 else line[:300] + "..."))
        else:
            print("ok   %s" % case.name)
    print("%d cases, %d failed, %d skipped" % (ran, failed, skipped))
    if failed:
        return 1
    return SKIPPED if ran == 0 and skipped else 0


if __name__ == "__main__":
    sys.exit(main())
