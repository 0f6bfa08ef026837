#!/usr/bin/env python3
"""Benchmark of the FTP engine on loopback against one vsftpd, in one run:
  - FtpGet and FtpPut of a 1 GiB file from REXX (Regina) against curl doing
    the same transfer;
  - 1,000 cached-session calls (FtpDelete of a missing file, FtpPwd) against
    Python's ftplib doing NOOP plus the same DELE or PWD on one connection;
  - FtpLs of a directory of 20,000 names into a stem, the whole Regina run
    (interpreter start, login, listing, log off) against the whole run of
    curl --list-only on the same directory;
  - FtpGet and FtpPut of the 1 GiB file over TLS (FtpSetSecure) against
    curl --ssl-reqd, on a second vsftpd that requires TLS.
Prints the times and the ratios (wendrik / peer; below 1 is faster).

  ftp_bench.py --build build/release [--size-mib N] [--calls N] [--names N]
               [--cases transfers,calls,listing,tls] [--scratch DIR]
--scratch: where the local copies go (default: the system's temporary
folder); /dev/shm takes this machine's disk out of the download figures.
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
import certificates  # noqa: E402
import peers  # noqa: E402

REXX_TRANSFER = """
parse arg host ',' user ',' password ',' what ',' local ',' remote ',' authority
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
if authority \= '' then call FtpSetSecure 1, authority
call FtpDelete 'warm-up'         /* the session is open before the clock starts */
call time 'R'
if what = 'get' then rc = FtpGet(local, remote, 'binary')
else rc = FtpPut(local, remote, 'binary')
say 'ELAPSED' time('E') rc FTPERRNO
"""

REXX_CALLS = """
parse arg host ',' user ',' password ',' count ',' what
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
call FtpDelete 'missing'
call time 'R'
if what = 'pwd' then do count
  call FtpPwd 'directory'
end
else do count
  call FtpDelete 'missing'
end
say 'ELAPSED' time('E') 0 FTPERRNO
"""

REXX_LISTING = """
parse arg host ',' user ',' password ',' directory
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
call FtpChDir directory
rc = FtpLs('', 'names.')
say 'COUNT' names.0 rc FTPERRNO
call FtpLogoff
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


def rexx_run(script_text, args, library_dir, work):
    script = os.path.join(work, "bench.rexx")
    with open(script, "w") as f:
        f.write("/* bench */" + script_text)
    env = dict(os.environ, LD_LIBRARY_PATH=library_dir)
    return subprocess.run(["timeout", "600", "regina", script] + [",".join(args)], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True)


def rexx(script_text, args, library_dir, work):
    done = rexx_run(script_text, args, library_dir, work)
    for line in done.stdout.decode().splitlines():
        words = line.split()
        if words and words[0] == "ELAPSED" and words[2] == "0":
            return float(words[1])
    raise RuntimeError("REXX run failed: %s %s" % (done.stdout, done.stderr))


def timed(command, check_output=None):
    start = time.perf_counter()
    done = subprocess.run(["timeout", "600"] + command, check=True, stdout=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if check_output:
        check_output(done.stdout)
    return elapsed


def make_names(directory, count):
    """A directory of count empty files, kept in memory where the system has
    such a file system (creating them on a disk can take longer than the
    benchmark)."""
    shm = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    place = tempfile.mkdtemp(prefix="wz-bench-names-", dir=shm)
    os.chmod(place, 0o755)
    for i in range(1, count + 1):
        os.close(os.open(os.path.join(place, "name%05d.txt" % i), os.O_CREAT | os.O_WRONLY, 0o644))
    os.symlink(place, directory)
    return place


def best(runs, function):
    return min(function() for _ in range(runs))


def transfers(server, options, library_dir, work, authority):
    """FtpGet and FtpPut of the big file against curl on one server; over
    TLS (the server's authority given) FtpSetSecure against curl --ssl-reqd."""
    big = os.path.join(server.root, "big.bin")
    make_file(big, options.size_mib)
    shutil.chown(big, server.user, server.user)
    local = os.path.join(work, "local.bin")
    shutil.copyfile(big, local)
    login = ["127.0.0.1 %d" % server.port, server.user, server.password]
    url = "ftp://%s:%s@127.0.0.1:%d/" % (server.user, server.password, server.port)
    curl = ["curl", "-s"] + (["--ssl-reqd", "--cacert", authority] if authority else [])

    def rexx_get():
        return rexx(REXX_TRANSFER, login + ["get", os.path.join(work, "got.bin"), "big.bin", authority],
                    library_dir, work)

    def curl_get():
        return timed(curl + ["-o", os.path.join(work, "curl.bin"), url + "big.bin"])

    def rexx_put():
        return rexx(REXX_TRANSFER, login + ["put", local, "put.bin", authority], library_dir, work)

    def curl_put():
        return timed(curl + ["-T", local, url + "curlput.bin"])

    get_time, curl_get_time = best(options.runs, rexx_get), best(options.runs, curl_get)
    assert same(big, os.path.join(work, "got.bin")), "FtpGet copy differs"
    assert same(big, os.path.join(work, "curl.bin")), "curl's copy differs"
    os.unlink(os.path.join(work, "got.bin"))
    os.unlink(os.path.join(work, "curl.bin"))
    put_time, curl_put_time = best(options.runs, rexx_put), best(options.runs, curl_put)
    assert same(local, os.path.join(server.root, "put.bin")), "FtpPut copy differs"
    for name in ("big.bin", "put.bin", "curlput.bin"):
        os.unlink(os.path.join(server.root, name))
    os.unlink(local)
    over = " over TLS" if authority else ""
    tls = " --ssl-reqd" if authority else ""
    return [("FtpGet %d MiB%s vs curl%s" % (options.size_mib, over, tls), get_time, curl_get_time, 1.1),
            ("FtpPut %d MiB%s vs curl%s -T" % (options.size_mib, over, tls), put_time, curl_put_time, 1.1)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--calls", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=2)
    parser.add_argument("--names", type=int, default=20000)
    parser.add_argument("--cases", default="transfers,calls,listing,tls")
    parser.add_argument("--scratch")
    options = parser.parse_args()
    cases = options.cases.split(",")
    library_dir = os.path.join(os.path.abspath(options.build), "lib")
    if not os.path.exists(os.path.join(library_dir, "libwendrik.so")):
        sys.exit("no libwendrik.so in " + library_dir)
    server = peers.Vsftpd(limit_seconds=1800, logging=False)
    try:
        server.start()
    except peers.PeerUnavailable as reason:
        print("ftp_bench skipped: %s" % reason)
        return 0
    work = tempfile.mkdtemp(prefix="wz-bench-", dir=options.scratch)
    names_place = None
    try:
        host = "127.0.0.1 %d" % server.port
        url = "ftp://%s:%s@127.0.0.1:%d/" % (server.user, server.password, server.port)
        login = [host, server.user, server.password]
        rows = []
        print("FTP engine benchmark: %d MiB file, %d calls, %d names, best of %d runs" %
              (options.size_mib, options.calls, options.names, options.runs))
        if "transfers" in cases:
            rows += transfers(server, options, library_dir, work, "")

        if "tls" in cases:
            folder = os.path.join(work, "certificates")
            os.mkdir(folder)
            secure = peers.Vsftpd(limit_seconds=1800, logging=False, prefix="WZ_VSFTPD2",
                                  tls=certificates.Certificates(folder))
            secure.start()
            try:
                rows += transfers(secure, options, library_dir, work, secure.authority)
            finally:
                secure.stop()

        if "calls" in cases:
            def rexx_calls(what):
                return rexx(REXX_CALLS, login + [str(options.calls), what], library_dir, work)

            def ftplib_calls(what):
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
                    if what == "pwd":
                        ftp.pwd()
                        continue
                    try:
                        ftp.delete("missing")
                    except ftplib.error_perm:
                        pass
                elapsed = time.perf_counter() - start
                ftp.quit()
                return elapsed

            # Short runs on a shared machine: more of them.
            for what, label in (("delete", "FtpDelete calls vs ftplib NOOP+DELE"),
                                ("pwd", "FtpPwd calls vs ftplib NOOP+PWD")):
                ours = best(options.runs + 3, lambda: rexx_calls(what))
                theirs = best(options.runs + 3, lambda: ftplib_calls(what))
                rows.append(("%d %s" % (options.calls, label), ours, theirs, 2.0))

        if "listing" in cases:
            names_place = make_names(os.path.join(server.root, "many"), options.names)

            def count_rexx():
                done = rexx_run(REXX_LISTING, login + ["many"], library_dir, work)
                words = done.stdout.decode().split()
                assert words[:3] == ["COUNT", str(options.names), "0"], "FtpLs: %s" % done.stdout

            def rexx_listing():
                start = time.perf_counter()
                count_rexx()
                return time.perf_counter() - start

            def check_curl(output):
                assert output.count(b"\n") == options.names, "curl listed %d" % output.count(b"\n")

            def curl_listing():
                return timed(["curl", "-s", "--list-only", url + "many/"], check_curl)

            ours = best(options.runs + 3, rexx_listing)
            theirs = best(options.runs + 3, curl_listing)
            rows.append(("FtpLs of %d names (whole run) vs curl --list-only" % options.names,
                         ours, theirs, 3.0))

        for what, ours, theirs, target in rows:
            print("%-52s %8.3f s vs %8.3f s  ratio %.2f (target %.1f)" %
                  (what, ours, theirs, ours / theirs, target))
    finally:
        shutil.rmtree(work, ignore_errors=True)
        if names_place:
            shutil.rmtree(names_place, ignore_errors=True)
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
