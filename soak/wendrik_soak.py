#!/usr/bin/env python3
"""Soak of the FTP package against one vsftpd, with the optimised build:
  - 10,000 calls from one Regina process, mixing transfers (both types,
    passive and active), listings into stems, directory and single commands,
    and a log-off every 500 calls; every 1,000 calls the process's open
    descriptors and resident memory are read (/proc) and printed;
  - valgrind's memcheck over a shorter REXX session that calls every
    function (server-to-server transfer and ping included): loss records
    whose stack runs through the package are counted (the interpreter's own
    are not the package's);
  - the hostile-server call script (wendrik/tests/calls/hostile.calls) with
    the optimised test host: the peak resident memory of the test host.
Bounded in count and time; fails on any failed call, a descriptor count or
a resident size that grows between the first and the last thousand beyond
the margin, a leak of the package's own, or a failed hostile case.

  wendrik_soak.py --build build/release [--calls N] [--session-calls N]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "harness"))
import peers  # noqa: E402

TIME_LIMIT = 1200          # seconds for the 10,000 calls
RSS_MARGIN_KIB = 1024      # growth of resident memory still counted steady

# n counts the package's calls; every CHECK-th the driver reads /proc and
# answers on standard input. A failed call is reported and counted.
REXX_SOAK = r"""
parse arg host ',' user ',' password ',' total ',' check ',' work
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
fails = 0
n = 0
local = work'/local.bin'
back = work'/back.bin'
size = stream(local, 'c', 'query size')
loggedOff = 1
do while n < total
  step = n // 10
  round = n % 10
  name = 'soak' || (round // 7) || '.bin'
  type = word('binary ascii', 1 + (round // 2))
  select
    when step = 0 & loggedOff then do
      r = FtpSetUser(host, user, password); ok = r = 1; loggedOff = 0
    end
    when step = 0 then do
      r = FtpSetActiveMode((n // 2000) >= 1000); ok = r = 1
    end
    when step = 1 then do; r = FtpPut(local, name, type); ok = r = 0; end
    when step = 2 then do
      r = FtpGet(back, name, type)
      ok = r = 0 & stream(back, 'c', 'query size') = size
    end
    when step = 3 then do; r = FtpLs('*.bin', 'names.'); ok = r = 0 & names.0 >= 1; end
    when step = 4 then do; r = FtpDir('', 'long.'); ok = r = 0 & long.0 >= 1; end
    when step = 5 then do; r = FtpMkDir('dir' || n); ok = r = 0; end
    when step = 6 then do; r = FtpRmDir('dir' || (n - 1)); ok = r = 0; end
    when step = 7 then do; r = FtpRename(name, 'renamed.bin'); ok = r = 0; end
    when step = 8 then do; r = FtpDelete('renamed.bin'); ok = r = 0; end
    when n // 500 = 499 then do; r = FtpLogoff(); ok = r = 0; loggedOff = 1; end
    otherwise do; r = FtpPwd('directory'); ok = r = 0 & directory <> ''; end
  end
  n = n + 1
  if \ok then do
    fails = fails + 1
    if fails <= 10 then say 'FAILED call' n 'step' step 'result' r 'FTPERRNO' FTPERRNO
  end
  if n // check = 0 then do
    say 'CHECKPOINT' n
    call linein
  end
end
call FtpLogoff
say 'CALLS' n 'FAILED' fails
"""

# Every function once or more, for memcheck.
REXX_SESSION = r"""
parse arg host ',' user ',' password ',' rounds ',' work
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs
call FtpVersion 'v'
call FtpTrace
call FtpTrace
local = work'/local.bin'
do i = 1 to rounds
  call FtpSetUser host, user, password
  call FtpSetBinary word('binary ascii', 1 + i // 2)
  call FtpSetActiveMode i // 2
  call FtpPut local, 'session.bin'
  call FtpAppend local, 'session.bin'
  call FtpPutUnique local, 'unique.bin'
  call FtpGet work'/back.bin', 'session.bin'
  call FtpGet work'/missing.bin', 'missing.bin'
  call FtpLs '', 'names.'
  call FtpDir '*.bin', 'long.'
  call FtpMkDir 'sub'
  call FtpChDir 'sub'
  call FtpChDir '..'
  call FtpRmDir 'sub'
  call FtpPwd 'directory'
  call FtpSys 'system'
  call FtpSite 'CHMOD 644 session.bin'
  call FtpQuote 'NOOP'
  call FtpQuote 'STAT', 'status'
  call FtpRename 'session.bin', 'renamed.bin'
  call FtpProxy host, user, password, , host, user, password, , 'copy.bin', 'renamed.bin'
  call FtpDelete 'renamed.bin'
  call FtpDelete 'copy.bin'
  call FtpPing '127.0.0.1', 56
  if i // 5 = 0 then call FtpLogoff
end
call FtpLogoff
call FtpDropFuncs
say 'SESSION DONE'
"""


def process_figures(pid):
    descriptors = len(os.listdir("/proc/%d/fd" % pid))
    with open("/proc/%d/status" % pid) as f:
        rss = int(re.search(r"VmRSS:\s+(\d+) kB", f.read()).group(1))
    return descriptors, rss


def write_script(work, name, text):
    path = os.path.join(work, name)
    with open(path, "w") as f:
        f.write("/* " + name + " */" + text)
    return path


def soak_calls(options, server, library_dir, work):
    script = write_script(work, "soak.rexx", REXX_SOAK)
    login = "127.0.0.1 %d,%s,%s" % (server.port, server.user, server.password)
    env = dict(os.environ, LD_LIBRARY_PATH=library_dir, TMPDIR=work)
    process = subprocess.Popen(["regina", script, "%s,%d,%d,%s" % (login, options.calls, 1000, work)],
                               stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env, text=True)
    rows = []
    failed_count = None
    start = time.time()
    deadline = start + TIME_LIMIT
    for line in process.stdout:
        line = line.rstrip("\n")
        if line.startswith("CHECKPOINT"):
            calls = int(line.split()[1])
            descriptors, rss = process_figures(process.pid)
            rows.append((calls, time.time() - start, descriptors, rss))
            print("%6d calls  %7.1f s  %3d descriptors  %7d KiB resident" % rows[-1], flush=True)
            process.stdin.write("\n")
            process.stdin.flush()
        elif line.startswith("FAILED") or line.startswith("CALLS"):
            print(line, flush=True)
            if line.startswith("CALLS"):
                failed_count = int(line.split()[3])
        if time.time() > deadline:
            process.kill()
            sys.exit("soak: over %d s" % TIME_LIMIT)
    process.wait()
    problems = []
    if process.returncode != 0:
        problems.append("regina exited with %d" % process.returncode)
    if len(rows) != options.calls // 1000:
        problems.append("%d checkpoints, expected %d" % (len(rows), options.calls // 1000))
    elif failed_count != 0:
        problems.append("%s calls failed" % failed_count)
    else:
        first, last = rows[0], rows[-1]
        if last[2] > first[2]:
            problems.append("descriptors grew from %d to %d" % (first[2], last[2]))
        if last[3] - first[3] > RSS_MARGIN_KIB:
            problems.append("resident memory grew from %d to %d KiB" % (first[3], last[3]))
        print("first thousand: %d descriptors, %d KiB; last thousand: %d descriptors, %d KiB; "
              "%.0f calls per second" % (first[2], first[3], last[2], last[3], last[0] / last[1]))
    return problems


def memcheck(options, server, library_dir, work):
    script = write_script(work, "session.rexx", REXX_SESSION)
    login = "127.0.0.1 %d,%s,%s" % (server.port, server.user, server.password)
    log = os.path.join(work, "memcheck.log")
    env = dict(os.environ, LD_LIBRARY_PATH=library_dir, TMPDIR=work)
    done = subprocess.run(["timeout", "900", "valgrind", "--tool=memcheck", "--leak-check=full",
                           "--show-leak-kinds=definite,indirect,possible", "--num-callers=40",
                           "--log-file=" + log, "regina", script,
                           "%s,%d,%s" % (login, options.session_calls, work)],
                          env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    with open(log) as f:
        text = f.read()
    # Blocks of the log: loss records and errors, each up to an empty line.
    blocks = re.split(r"\n==\d+== \n", text)
    ours = [b for b in blocks if "libwendrik" in b and ("are definitely lost" in b or "are indirectly lost" in b
                                                        or "are possibly lost" in b)]
    errors = [b for b in blocks if "libwendrik" in b and re.search(r"Invalid (read|write|free)|uninitialised|"
                                                                  r"Mismatched free|overlap", b)]
    summary = [re.sub(r"^==\d+== ", "", l) for l in text.splitlines()
               if re.search(r"(definitely|indirectly|possibly) lost:|still reachable:|ERROR SUMMARY", l)]
    print("memcheck over a REXX session of %d rounds of every function (%s):" %
          (options.session_calls, "completed" if "SESSION DONE" in done.stdout else "did not complete"))
    for line in summary:
        print("  " + line)
    print("  loss records through the package: %d; memory errors in the package: %d" % (len(ours), len(errors)))
    for block in (ours + errors)[:5]:
        print(block)
    problems = []
    if "SESSION DONE" not in done.stdout:
        problems.append("the REXX session under memcheck did not complete: %s" % done.stderr[-500:])
    if ours or errors:
        problems.append("memcheck: %d loss records and %d errors of the package" % (len(ours), len(errors)))
    return problems


def hostile_memory(options):
    tree = os.path.abspath(options.build)
    done = subprocess.run([sys.executable, os.path.join(ROOT, "tests", "harness", "run_calls.py"),
                           "--host", os.path.join(tree, "bin", "wendrik_host"),
                           "--library", os.path.join(tree, "lib", "libwendrik.so"),
                           os.path.join(ROOT, "wendrik", "tests", "calls", "hostile.calls")],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    peak = re.search(r"peak resident memory: (\d+) KiB", done.stdout)
    print("hostile servers (hostile.calls, optimised test host): %s, peak resident memory %s KiB"
          % ("passed" if done.returncode == 0 else "FAILED", peak.group(1) if peak else "?"))
    return [] if done.returncode == 0 else ["hostile.calls failed:\n" + done.stdout[-3000:]]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--calls", type=int, default=10000)
    parser.add_argument("--session-calls", type=int, default=10)
    options = parser.parse_args()
    library_dir = os.path.join(os.path.abspath(options.build), "lib")
    if not os.path.exists(os.path.join(library_dir, "libwendrik.so")):
        sys.exit("no libwendrik.so in " + library_dir)
    server = peers.Vsftpd(limit_seconds=TIME_LIMIT + 600, logging=False)
    try:
        server.start()
    except peers.PeerUnavailable as reason:
        print("wendrik soak skipped: %s" % reason)
        return 0
    work = tempfile.mkdtemp(prefix="wz-soak-")
    os.chmod(work, 0o755)
    problems = []
    try:
        with open(os.path.join(work, "local.bin"), "wb") as f:
            # No Ctrl-Z: an ASCII upload drops one that ends a piece.
            f.write(os.urandom(48 * 1024).replace(b"\x1a", b"\x1b") + b"line\r\n" * 1000)
        print("wendrik soak: %d calls against vsftpd on loopback" % options.calls, flush=True)
        problems += soak_calls(options, server, library_dir, work)
        problems += memcheck(options, server, library_dir, work)
        problems += hostile_memory(options)
    finally:
        server.stop()
        shutil.rmtree(work, ignore_errors=True)
    for problem in problems:
        print("FAIL: " + problem)
    print("wendrik soak: %s" % ("steady" if not problems else "FAILED"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
