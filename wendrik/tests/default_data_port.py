#!/usr/bin/env python3
"""The fall-back to the default data port when another connection has left
its TIME_WAIT on a port of the ephemeral range.

After a refused PORT the package listens on its control connection's own
port. A connection of another program that was closed from its side stays
in TIME_WAIT on its port; a new connection to another peer may take that
port again, and then the listener's bind fails ("ftp: bind"), even with
address reuse on, because the old socket had none. The package therefore
reserves its control connection's port with bind() before connecting, which
leaves such ports to others.

Shown deterministically in a private network namespace (root: unshare -n)
whose ephemeral range is four ports. Linux's connect() takes even ports of
the range first and bind() odd ones: plain clients leave both even ports in
TIME_WAIT; connect() would take one of them again for the package's control
connection, bind() takes an odd one, and the other odd one is left for the
listener of the PORT command.

  default_data_port.py --host TEST_HOST --library LIBRARY
The scripted server plays default_data_port.scenarios.json beside this file.
Native only: under Wine the sockets are the Wine server's, which runs
outside the namespace. Exit status 77 (skipped) where no namespace can be
made."""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "harness"))
import peers  # noqa: E402
import wzharness  # noqa: E402

SKIPPED = 77
RANGE = (40000, 40003)
SCRIPT = """rxfuncadd FtpLoadFuncs FtpLoadFuncs
call FtpLoadFuncs 'quiet'
call FtpSetUser '${WZ_SCRIPTED_PORT_REFUSED}', 'amy', 'pw'
call FtpGet '${WZ_WORK}/default.txt', 'hello.txt'
expect result '0'
expect var FTPERRNO '0'
"""


def set_port_range(low, high):
    with open("/proc/sys/net/ipv4/ip_local_port_range", "w") as f:
        f.write("%d %d\n" % (low, high))
    # Without reuse of TIME_WAIT for new connections to the same peer, the
    # second plain client cannot take the first one's port again.
    with open("/proc/sys/net/ipv4/tcp_tw_reuse", "w") as f:
        f.write("0\n")


def leave_time_wait(count):
    """Client connections closed from the clients' side: their ports (chosen
    by connect(), without address reuse) stay in TIME_WAIT. One listener for
    all, so that no client can take an earlier one's port again."""
    ports = []
    with socket.socket() as listener:
        listener.bind(("127.0.0.1", 0))
        listener.listen(count)
        for _ in range(count):
            client = socket.create_connection(listener.getsockname())
            ports.append(client.getsockname()[1])
            accepted, _ = listener.accept()
            client.close()
            accepted.recv(1)
            accepted.close()
    return sorted(ports)


def in_namespace(options):
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    work = tempfile.mkdtemp(prefix="wz-dataport-")
    try:
        # The servers' ports come from the full range, before it narrows.
        with peers.Peers(["scripted"], peers.scenarios_beside(__file__), False) as running:
            set_port_range(*RANGE)
            even = list(range(RANGE[0], RANGE[1] + 1, 2))
            waiting = leave_time_wait(len(even))
            if waiting != even:
                print("SKIPPED: the system gave the clients ports %s, not %s" % (waiting, even))
                return SKIPPED
            print("closed connections wait in TIME_WAIT on ports %s" % waiting)
            script = os.path.join(work, "default_data_port.calls")
            with open(script, "w") as f:
                f.write(SCRIPT)
            env = running.environment()
            env["WZ_WORK"] = work
            rc, out, err = wzharness.run([options.host, options.library, script], 60, env=env)
            transcript = running.get("scripted").transcript()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    failures = [] if rc == 0 else ["test host exited with %d" % rc]
    failures += ["the transfer did not fall back to the default data port"
                 for _ in [0] if not any(line.endswith("RETR hello.txt") for line in transcript)]
    return wzharness.report(failures, out + "\n".join(transcript) + "\n", err)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--library", required=True)
    options = parser.parse_args()
    if os.environ.get("WZ_PRIVATE_NETWORK") == "1":
        return in_namespace(options)
    if os.geteuid() != 0 or not shutil.which("unshare") or not shutil.which("ip"):
        print("SKIPPED: a private network namespace needs root, unshare and ip")
        return SKIPPED
    return subprocess.run(["unshare", "-n", sys.executable] + sys.argv,
                          env=dict(os.environ, WZ_PRIVATE_NETWORK="1"), timeout=120).returncode


if __name__ == "__main__":
    sys.exit(main())
