#!/usr/bin/env python3
"""FtpPing without the privilege for a raw ICMP socket: the test host runs as
user nobody (set up by root). Where net.ipv4.ping_group_range leaves
nobody's group out, there is no ICMP socket at all and the result is
PINGSOCKET (--path refused); where it lets the group in, the ping goes over
the unprivileged ICMP datagram socket and gives a time (--path datagram).
Where the system's range leaves the group out, the datagram path runs in a
private network namespace of its own (its own loopback and its own range,
the system's setting untouched); where that cannot be made, it is skipped,
saying why. The refused path is skipped where the system lets the group in."""
import argparse
import os
import pwd
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "harness"))
import wzharness  # noqa: E402

SKIPPED = 77
SCRIPT = """rxfuncadd FtpLoadFuncs FtpLoadFuncs
call FtpLoadFuncs 'quiet'
call FtpPing '127.0.0.1', '%s'
"""


def group_allowed(gid):
    with open("/proc/sys/net/ipv4/ping_group_range") as f:
        low, high = (int(n) for n in f.read().split())
    return low <= gid <= high, "%d %d" % (low, high)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--path", choices=["refused", "datagram"], required=True)
    options = parser.parse_args()
    if os.geteuid() != 0:
        print("SKIPPED: running the test host as another user needs root")
        return SKIPPED
    nobody = pwd.getpwnam("nobody")
    allowed, group_range = group_allowed(nobody.pw_gid)
    namespace = []
    if options.path == "refused" and allowed:
        print("SKIPPED: net.ipv4.ping_group_range is '%s': nobody's group %d may open ICMP "
              "datagram sockets here" % (group_range, nobody.pw_gid))
        return SKIPPED
    if options.path == "datagram" and not allowed:
        print("net.ipv4.ping_group_range is '%s': nobody's group %d may not open ICMP datagram "
              "sockets on this system; testing in a private network namespace that allows it"
              % (group_range, nobody.pw_gid))
        namespace = ["unshare", "--net", "sh", "-c",
                     "ip link set lo up && echo '%d %d' > /proc/sys/net/ipv4/ping_group_range && "
                     'exec "$@"' % (nobody.pw_gid, nobody.pw_gid), "namespace"]
        rc, o, e = wzharness.run(namespace + ["true"], 30)
        if rc != 0:
            print("SKIPPED: the datagram path: no private network namespace here (%s)" % e.strip())
            return SKIPPED
    work = tempfile.mkdtemp(prefix="wz-ping-")
    try:
        os.chmod(work, 0o755)
        # Copies that nobody can reach: the build tree may lie in a private folder.
        for program in (options.host, options.library):
            shutil.copy(program, work)
        options.host = os.path.join(work, os.path.basename(options.host))
        options.library = os.path.join(work, os.path.basename(options.library))
        failures = []
        out = err = ""
        for length in ("", "5000"):
            script = os.path.join(work, "ping.calls")
            with open(script, "w") as f:
                f.write(SCRIPT % length)
            os.chmod(script, 0o644)
            command = namespace + ["setpriv", "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
                       "--clear-groups", "--inh-caps=-all"] + [options.host, options.library, script]
            env = {"ASAN_OPTIONS": "detect_leaks=0"}
            preload = os.environ.get("WZ_PRELOAD")
            if preload:
                env["LD_PRELOAD"] = preload
            rc, o, e = wzharness.run(command, 60, env=env)
            out += o
            err += e
            results = [line.split("result ", 1)[1] for line in o.splitlines() if line.startswith("call FtpPing")]
            result = results[0].strip("'") if results else "(no result)"
            if options.path == "refused" and result != "PINGSOCKET":
                failures.append("length %r: %s, expected PINGSOCKET" % (length, result))
            if options.path == "datagram" and not result.isdigit():
                failures.append("length %r: %s, expected a time" % (length, result))
            if rc != 0:
                failures.append("test host exited with %d" % rc)
        return wzharness.report(failures, out, err)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
