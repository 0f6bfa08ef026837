#!/usr/bin/env python3
"""Runs a call script through the wendrik test host (natively, or under Wine
for the Windows build) and checks its stdout/stderr/server directives.

Directives the runner reads (the test host ignores them):
  peer NAME [SETTING]        start a peer for the script: vsftpd, vsftpd2
                             (a second one, on 127.0.0.2; SETTING: a line of
                             its configuration such as idle_session_timeout=1,
                             or address=::1 for a vsftpd on IPv6's loopback),
                             vsftpd-tls (TLS required; WZ_VSFTPD_CA names
                             the authority of its certificate;
                             certificate=KIND: another kind of certificates.py),
                             scripted, scripted-tls (the scenarios with "tls"
                             settings), icmp (a raw ICMP socket: root),
                             icmp6 (the same of ICMPv6; under Wine the
                             system's ICMPv6 echo service, which
                             wendrik_ping_system_test probes)
  environment NAME VALUE     set a variable for the test host (VALUE may name
                             ${WZ_WORK} and the peers' variables)
  stdout TEXT                an output line expected, in order with the others
  stderr TEXT                the same on standard error
  stdout-count N TEXT        a line expected exactly N times
  stderr-count N TEXT        the same on standard error
  server TEXT                a scripted-server transcript line expected in order
                             (TEXT ending in "...": a line that starts so)
  server-count N TEXT        a transcript line expected exactly N times
  server-none TEXT           no transcript line contains TEXT
  resolve NAME ADDRESS [ADDRESS ...]
                             the test host runs where the name resolves to
                             these addresses (in the resolver's order of
                             them): a hosts file bound over /etc/hosts in a
                             private mount namespace (root; the script is
                             skipped where none can be made)
The scripted servers play the scenarios of SCRIPT.scenarios.json beside
SCRIPT.calls (ftpscript.py). The transcript holds the scripted servers' lines and, as "PEER: COMMAND",
each command line that a vsftpd peer logged ("vsftpd-tls: AUTH TLS").
Expected texts may name ${NAME} variables too. With a TLS peer, ${WZ_CERT_KIND}
names each certificate made (certificates.py: WZ_CERT_AUTHORITY, ...).
The peers' settings reach the script as ${NAME} variables (peers.py); ${WZ_WORK}
is a scratch directory, as a Windows path under Wine; TMPDIR (the temporary
directory of the package on Linux) is ${WZ_WORK}/tmp; ${WZ_UNREADABLE} names
a file whose reading fails (/proc/self/mem: nothing is mapped at its start)."""
import argparse
import os
import re
import shutil
import sys
import tempfile

import peers
import wzharness

SKIPPED = 77


def substitute(text, env):
    """${NAME} replaced by the variable, as the test host does."""
    return re.sub(r"\$\{([^}]*)\}", lambda m: env.get(m.group(1), os.environ.get(m.group(1), "")), text)


def matches(line, text):
    return line == text or (text.endswith("...") and line.startswith(text[:-3]))


def check_transcript(expected, transcript):
    failures = []
    position = 0
    for _, count, text in expected:
        if count is not None:
            seen = sum(1 for line in transcript if matches(line, text))
            if seen != count:
                failures.append("server: %r appears %d times, expected %d" % (text, seen, count))
            continue
        for i in range(position, len(transcript)):
            if matches(transcript[i], text):
                position = i + 1
                break
        else:
            failures.append("server: expected line not found (in order): %r" % text)
    return failures


def hosts_namespace(names, work):
    """The command prefix that runs a program where each name resolves to
    its addresses: a copy of /etc/hosts with their lines added, bound over
    it in a private mount namespace (the system's file stays as it is)."""
    if os.geteuid() != 0:
        raise peers.PeerUnavailable("resolve: a private mount namespace needs root")
    hosts = os.path.join(work, "hosts")
    with open("/etc/hosts", encoding="latin-1") as f:
        lines = f.read()
    lines += "".join("%s %s\n" % (address, name) for name, addresses in names for address in addresses)
    with open(hosts, "w", encoding="latin-1") as f:
        f.write(lines)
    os.chmod(hosts, 0o644)
    prefix = ["unshare", "--mount", "sh", "-c", 'mount --bind "$0" /etc/hosts && exec "$@"', hosts]
    rc, _, err = wzharness.run(prefix + ["true"], 30)
    if rc != 0:
        raise peers.PeerUnavailable("resolve: no private mount namespace here (%s)" % err.strip())
    return prefix


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--layout", choices=("ulong", "size_t"),
                        help="the family of interpreter the test host plays (default: its own, size_t)")
    parser.add_argument("--timeout", type=int, default=120)
    parser.add_argument("script")
    options = parser.parse_args()

    expected = []
    server_expected = []
    server_absent = []
    wanted_peers = []
    environment = {}
    names = []
    with open(options.script, encoding="latin-1") as script:
        for line in script:
            words = line.strip().split(" ", 2)
            if words[0] in ("stdout", "stderr") and len(words) >= 2:
                expected.append((words[0], None, wzharness.rexx_string(line)))
            elif words[0] in ("stdout-count", "stderr-count") and len(words) == 3:
                expected.append((words[0][:6], int(words[1]), wzharness.rexx_string(words[2])))
            elif words[0] == "server" and len(words) >= 2:
                server_expected.append(("server", None, wzharness.rexx_string(line)))
            elif words[0] == "server-count" and len(words) == 3:
                server_expected.append(("server", int(words[1]), wzharness.rexx_string(words[2])))
            elif words[0] == "server-none" and len(words) >= 2:
                server_absent.append(wzharness.rexx_string(line))
            elif words[0] == "peer" and len(words) >= 2:
                wanted_peers.append(" ".join(words[1:]))
            elif words[0] == "environment" and len(words) == 3:
                environment[words[1]] = words[2]
            elif words[0] == "resolve" and len(words) == 3:
                names.append((words[1], words[2].split()))

    windows = wzharness.is_windows_program(options.host)
    if windows:
        wzharness.skip_if_wine_unusable()
    work = tempfile.mkdtemp(prefix="wz-calls-")
    try:
        namespace = hosts_namespace(names, work) if names else []
        scenarios = peers.scenarios_beside(options.script)
        with peers.Peers(wanted_peers, scenarios, windows, os.path.dirname(options.host)) as running:
            env = running.environment()
            env["WZ_WORK"] = wzharness.wine_path(work) if windows else work
            env["WZ_UNREADABLE"] = wzharness.wine_path("/proc/self/mem") if windows else "/proc/self/mem"
            os.mkdir(os.path.join(work, "tmp"))
            env["TMPDIR"] = os.path.join(work, "tmp")
            env.update({name: substitute(value, env) for name, value in environment.items()})
            layout = ["--layout=" + options.layout] if options.layout else []
            command = namespace + wzharness.command_for(options.host, layout + [options.library, options.script])
            rc, out, err = wzharness.run(command, options.timeout, env=env)
            expected = [(s, n, substitute(t, env)) for s, n, t in expected]
            server_expected = [(s, n, substitute(t, env)) for s, n, t in server_expected]
            transcript = running.transcript()
    except peers.PeerUnavailable as reason:
        print("SKIPPED: %s" % reason)
        return SKIPPED
    finally:
        shutil.rmtree(work, ignore_errors=True)
    failures = []
    if rc != 0:
        failures.append("test host exited with %d" % rc)
    failures += wzharness.check_expectations(expected, out, err)
    failures += check_transcript(server_expected, transcript)
    failures += ["server: a line holds %r" % text for text in server_absent
                 if any(text in line for line in transcript)]
    if transcript:
        out += "--- scripted server transcript ---\n" + "\n".join(transcript) + "\n"
    return wzharness.report(failures, out, err)


if __name__ == "__main__":
    sys.exit(main())
