#!/usr/bin/env python3
"""Benchmark of the FTP engine on loopback against one vsftpd, in one run:
  - FtpGet and FtpPut of a 1 GiB file from REXX (Regina) against curl doing
    the same transfer;
  - 1,000 cached-session calls (FtpDelete of a missing file) against Python's
    ftplib doing NOOP plus the same DELE on one connection.
Prints the times and the ratios (wendrik / peer; below 1 is faster).

  ftp_bench.py --build build/release [--size-mib N] [--calls N]
"""
import argparse
import ftplib
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "harness"))
import peers  # noqa: E402

REXX_TRANSFER = """
parse arg host ',' user ',' password ',' what ',' local ',' remote
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
call FtpDelete 'warm-up'         /* the session is open before the clock starts */
call time 'R'
if what = 'get' then rc = FtpGet(local, remote, 'binary')
else rc = FtpPut(local, remote, 'binary')
say 'ELAPSED' time('E') rc FTPERRNO
"""

REXX_CALLS = """
parse arg host ',' user ',' password ',' count
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
call FtpDelete 'missing'
call time 'R'
do count
  call FtpDelete 'missing'
end
say 'ELAPSED' time('E') 0 FTPERRNO
"""


def make_file(path, mib):
    block = os.urandom(1 << 20)
    with open(path, "wb") as f:
        for _ in range(mib):
            f.write(block)


def same(a, b):
    if os.path.getsize(a) != os.path.getsize(b):
        return False
    with open(a, "rb") as fa, open(b, "rb") as fb:
        while True:
            x, y = fa.read(1 << 22), fb.read(1 << 22)
            if x != y:
                return False
            if not x:
                return True


def rexx(script_text, args, library_dir, work):
    script = os.path.join(work, "bench.rexx")
    with open(script, "w") as f:
        f.write("/* bench */" + script_text)
    env = dict(os.environ, LD_LIBRARY_PATH=library_dir)
    done = subprocess.run(["timeout", "600", "regina", script] + [",".join(args)], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True)
    for line in done.stdout.decode().splitlines():
        words = line.split()
        if words and words[0] == "ELAPSED" and words[2] == "0":
            return float(words[1])
    raise RuntimeError("REXX run failed: %s %s" % (done.stdout, done.stderr))


def timed(command):
    start = time.perf_counter()
    subprocess.run(["timeout", "600"] + command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def best(runs, function):
    return min(function() for _ in range(runs))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--calls", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=2)
    options = parser.parse_args()
    library_dir = os.path.join(os.path.abspath(options.build), "lib")
    if not os.path.exists(os.path.join(library_dir, "libwendrik.so")):
        sys.exit("no libwendrik.so in " + library_dir)
    server = peers.Vsftpd(limit_seconds=1800, logging=False)
    try:
        server.start()
    except peers.PeerUnavailable as reason:
        print("ftp_bench skipped: %s" % reason)
        return 0
    work = tempfile.mkdtemp(prefix="wz-bench-")
    try:
        host = "127.0.0.1 %d" % server.port
        url = "ftp://%s:%s@127.0.0.1:%d/" % (server.user, server.password, server.port)
        login = [host, server.user, server.password]
        big = os.path.join(server.root, "big.bin")
        make_file(big, options.size_mib)
        shutil.chown(big, server.user, server.user)
        local = os.path.join(work, "local.bin")
        shutil.copyfile(big, local)
        print("FTP engine benchmark: %d MiB file, %d calls, best of %d runs" %
              (options.size_mib, options.calls, options.runs))

        def rexx_get():
            return rexx(REXX_TRANSFER, login + ["get", os.path.join(work, "got.bin"), "big.bin"],
                        library_dir, work)

        def curl_get():
            return timed(["curl", "-s", "-o", os.path.join(work, "curl.bin"), url + "big.bin"])

        def rexx_put():
            return rexx(REXX_TRANSFER, login + ["put", local, "put.bin"], library_dir, work)

        def curl_put():
            return timed(["curl", "-s", "-T", local, url + "curlput.bin"])

        get_time, curl_get_time = best(options.runs, rexx_get), best(options.runs, curl_get)
        assert same(big, os.path.join(work, "got.bin")), "FtpGet copy differs"
        os.unlink(os.path.join(work, "got.bin"))
        os.unlink(os.path.join(work, "curl.bin"))
        put_time, curl_put_time = best(options.runs, rexx_put), best(options.runs, curl_put)
        assert same(local, os.path.join(server.root, "put.bin")), "FtpPut copy differs"

        def rexx_calls():
            return rexx(REXX_CALLS, login + [str(options.calls)], library_dir, work)

        def ftplib_calls():
            ftp = ftplib.FTP()
            ftp.connect("127.0.0.1", server.port)
            ftp.login(server.user, server.password)
            try:
                ftp.delete("missing")
            except ftplib.error_perm:
                pass
            start = time.perf_counter()
            for _ in range(options.calls):
                ftp.voidcmd("NOOP")
                try:
                    ftp.delete("missing")
                except ftplib.error_perm:
                    pass
            elapsed = time.perf_counter() - start
            ftp.quit()
            return elapsed

        # Short runs on a shared machine: more of them.
        calls_time, ftplib_time = best(options.runs + 3, rexx_calls), best(options.runs + 3, ftplib_calls)

        rows = [
            ("FtpGet %d MiB vs curl" % options.size_mib, get_time, curl_get_time, 1.1),
            ("FtpPut %d MiB vs curl -T" % options.size_mib, put_time, curl_put_time, 1.1),
            ("%d FtpDelete calls vs ftplib NOOP+DELE" % options.calls, calls_time, ftplib_time, 2.0),
        ]
        for what, ours, theirs, target in rows:
            print("%-44s %8.3f s vs %8.3f s  ratio %.2f (target %.1f)" %
                  (what, ours, theirs, ours / theirs, target))
    finally:
        shutil.rmtree(work, ignore_errors=True)
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
