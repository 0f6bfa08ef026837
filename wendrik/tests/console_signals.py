#!/usr/bin/env python3
"""The engine's process services on Linux, as a user at a terminal meets
them: the account prompt without echo, interrupt and termination signals
while the engine waits for a server, an interrupt during a server-to-server
transfer.

  console_signals.py --host WENDRIK_HOST --library LIBWENDRIK
The scripted server plays console_signals.scenarios.json beside this file.
"""
import argparse
import os
import pty
import select
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "harness"))
import peers  # noqa: E402
import wzharness  # noqa: E402

failures = []
passes = []


def check(ok, what):
    print(("ok: " if ok else "FAIL: ") + what)
    (passes if ok else failures).append(what)


def script(lines):
    f = tempfile.NamedTemporaryFile("w", suffix=".calls", delete=False)
    f.write("rxfuncadd FtpLoadFuncs FtpLoadFuncs\ncall FtpLoadFuncs 'quiet'\n" + "\n".join(lines) + "\n")
    f.close()
    return f.name


def read_until(fd, text, seconds):
    """Output of the terminal until text shows (or the time is up)."""
    out = b""
    deadline = time.time() + seconds
    while text.encode() not in out and time.time() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.1)
        if ready:
            try:
                piece = os.read(fd, 4096)
            except OSError:
                break
            if not piece:
                break
            out += piece
    return out.decode("latin-1")


def account_prompt(options, server, env):
    """A server asking for an account, no account set, a terminal: the prompt
    "Account:", no echo of what is typed, Backspace taking a character back."""
    calls = script(["call FtpSetUser '%s', 'tty', 'pw'" % env["WZ_SCRIPTED_ACCOUNT"],
                    "call FtpDelete 'x'", "expect var FTPERRNO 'FTPCOMMAND'"])
    pid, fd = pty.fork()
    if pid == 0:
        os.environ.update(env)
        os.execv(options.host, [options.host, options.library, calls])
    shown = read_until(fd, "Account:", 20)
    check("Account:" in shown, "the prompt is shown on the terminal")
    os.write(fd, b"sec\x7fcret\r")
    shown += read_until(fd, "checks", 20)
    status = None
    deadline = time.time() + 20
    while status is None and time.time() < deadline:
        done, code = os.waitpid(pid, os.WNOHANG)
        if done:
            status = code
        else:
            time.sleep(0.05)
    if status is None:
        os.kill(pid, signal.SIGKILL)
        _, status = os.waitpid(pid, 0)
    os.close(fd)
    os.unlink(calls)
    check(os.WEXITSTATUS(status) == 0, "the call script passed: " + shown.strip().replace("\r", ""))
    check("secret" not in shown and "cret" not in shown, "the account is not echoed")
    check("account#1: ACCT secret" in server.transcript(), "ACCT with the typed account, Backspace applied")


def signals(options, server, env):
    """Waiting for a greeting: SIGINT or SIGTERM closes the socket, writes
    "cancelled" and ends the process with status 1. Waiting for a command's
    reply, SIGINT is ignored."""
    for round_, (name, number) in enumerate((("interrupt", signal.SIGINT), ("termination", signal.SIGTERM))):
        calls = script(["call FtpSetUser '%s', 'sig', 'pw'" % env["WZ_SCRIPTED_SILENT"], "call FtpDelete 'x'"])
        before = len(server.transcript())
        process = subprocess.Popen([options.host, options.library, calls], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=dict(os.environ, **env))
        connected = "silent#%d: (connected)" % (round_ + 1)
        deadline = time.time() + 20
        while connected not in server.transcript() and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.2)   # the greeting is awaited by now
        process.send_signal(number)
        out, _ = process.communicate(timeout=20)
        os.unlink(calls)
        check(process.returncode == 1, "%s while connecting: exit status %d" % (name, process.returncode))
        check(b"cancelled\n" in out, "%s while connecting: 'cancelled' written" % name)
        time.sleep(0.3)
        closed = [l for l in server.transcript()[before:] if l.startswith("silent#") and l.endswith("(closed)")]
        check(len(closed) == 1, "%s while connecting: the connection was closed" % name)

    calls = script(["call FtpSetUser '%s', 'sig', 'pw'" % env["WZ_SCRIPTED_MUTE"], "call FtpDelete 'x'"])
    process = subprocess.Popen([options.host, options.library, calls], stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=dict(os.environ, **env))
    deadline = time.time() + 10
    while "mute#1: DELE x" not in server.transcript() and time.time() < deadline:
        time.sleep(0.05)
    process.send_signal(signal.SIGINT)
    time.sleep(0.5)
    check(process.poll() is None, "interrupt while a command waits for its reply: ignored")
    process.send_signal(signal.SIGTERM)
    out, _ = process.communicate(timeout=20)
    os.unlink(calls)
    check(process.returncode == 1 and b"cancelled\n" in out, "termination ends it all the same")


def proxy_interrupt(options, server, env):
    """An interrupt while FtpProxy waits for the primary to connect: a newline
    on standard output, the primary's STOR aborted, no RETR on the second,
    FTPABORT; afterwards an interrupt cancels as before (the handler from
    before the transfer is back, not "ignore")."""
    calls = script([
        "call FtpProxy '%s', 'pia', 'pw', '', '%s', 'sam', 'pw2', '', 'int.bin', 'source.bin'"
        % (env["WZ_SCRIPTED_PROXY_PRIMARY"], env["WZ_SCRIPTED_PROXY_SECOND"]),
        "expect result '-1'", "expect var FTPERRNO 'FTPABORT'",
        "call FtpSetUser '%s', 'sig', 'pw'" % env["WZ_SCRIPTED_SILENT"], "call FtpDelete 'x'"])
    before = len(server.transcript())
    # The pause after STOR, which the interrupt must meet, lasts 20 s here
    # (ended early by the interrupt), so that a busy machine cannot miss it.
    process = subprocess.Popen([options.host, options.library, calls], stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               env=dict(os.environ, WENDRIK_TEST_PROXY_PAUSE_MS="20000", **env))

    def wait_for(test):
        deadline = time.time() + 20
        while time.time() < deadline:
            if any(test(l) for l in server.transcript()[before:]):
                return True
            time.sleep(0.02)
        return False

    stored = wait_for(lambda l: l.endswith(": STOR int.bin"))
    process.send_signal(signal.SIGINT)   # within the pause after STOR
    connected = wait_for(lambda l: l.startswith("silent#") and l.endswith("(connected)"))
    time.sleep(0.2)
    process.send_signal(signal.SIGINT)
    out, _ = process.communicate(timeout=30)
    os.unlink(calls)
    lines = server.transcript()[before:]
    check(stored, "FtpProxy sent STOR to the primary")
    check(any(l.startswith("proxy-primary#") and l.endswith("\\xff\\xf4\\xff\\xf2ABOR") for l in lines),
          "the interrupt aborted the primary's STOR")
    check(not any(": RETR source.bin" in l for l in lines), "no RETR on the second server")
    check(b"\ncall FtpProxy -> rc 0, result '-1'" in out and b".calls:" not in out,
          "a newline, then the failure with FTPABORT: " + repr(out[-200:]))
    check(connected and process.returncode == 1 and out.endswith(b"cancelled\n"),
          "a later interrupt while connecting cancels: status %d" % process.returncode)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--library", required=True)
    options = parser.parse_args()
    with peers.Peers(["scripted"], peers.scenarios_beside(__file__)) as running:
        env = running.environment()
        preload = os.environ.get("WZ_PRELOAD")
        if preload:
            env["LD_PRELOAD"] = preload
        server = running.get("scripted")
        account_prompt(options, server, env)
        signals(options, server, env)
        proxy_interrupt(options, server, env)
    print("%d passed, %d failed" % (len(passes), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
