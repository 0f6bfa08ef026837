#!/usr/bin/env python3
"""Runs a REXX test script under Regina with the built package on the library
path. The script reports failed checks on lines starting with FAIL and exits
non-zero. Comment lines name expected output and the peers to start:
  /* stdout: TEXT */            a line expected, in order with the others
  /* stdout-count N: TEXT */    a line that appears exactly N times
  /* peer: NAME [SETTING] */    a peer (peers.py) whose settings the script
                                reads from the environment
  /* environment: NAME VALUE */ a variable for the interpreter (test settings)
(and the same for stderr). The scripted server plays the scenarios of
SCRIPT.scenarios.json beside SCRIPT.rexx. WZ_WORK names a scratch directory,
TMPDIR (the package's temporary directory) is WZ_WORK/tmp. External routines
(the file helpers the scripts share) are found in the script's own folder.
Expected lines may name the peers' variables as ${NAME}, and {any} stands
for any text."""
import argparse
import os
import re
import shutil
import sys
import tempfile

import peers
import wzharness

EXPECT = re.compile(r"^\s*/\*\s*(stdout|stderr)(?:-count (\d+))?: (.*?)\s*\*/\s*$")
PEER = re.compile(r"^\s*/\*\s*peer: (\S.*?)\s*\*/\s*$")
ENVIRONMENT = re.compile(r"^\s*/\*\s*environment: (\S+) (.*?)\s*\*/\s*$")
SKIPPED = 77


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--library-dir", required=True)
    parser.add_argument("--timeout", type=int, default=120)
    parser.add_argument("script")
    options = parser.parse_args()

    expected = []
    wanted_peers = []
    settings = {}
    with open(options.script, encoding="latin-1") as script:
        for line in script:
            match = EXPECT.match(line)
            if match:
                count = int(match.group(2)) if match.group(2) else None
                expected.append((match.group(1), count, match.group(3)))
            match = PEER.match(line)
            if match:
                wanted_peers.append(match.group(1))
            match = ENVIRONMENT.match(line)
            if match:
                settings[match.group(1)] = match.group(2)

    env = dict(settings, LD_LIBRARY_PATH=options.library_dir,
               REGINA_MACROS=os.path.dirname(os.path.abspath(options.script)))
    preload = os.environ.get("WZ_PRELOAD")
    if preload:
        env["LD_PRELOAD"] = preload
    # In memory where there is such a file system: a script may make many
    # files (a directory of 20,000 names), which a disk makes slow here.
    shm = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    work = tempfile.mkdtemp(prefix="wz-rexx-", dir=shm)
    os.chmod(work, 0o755)   # a peer's user may read what the script puts there
    env["WZ_WORK"] = work
    os.mkdir(os.path.join(work, "tmp"))
    env["TMPDIR"] = os.path.join(work, "tmp")
    try:
        scenarios = peers.scenarios_beside(options.script)
        with peers.Peers(wanted_peers, scenarios) as running:
            env.update(running.environment())
            expected = [(s, n, re.sub(r"\$\{([^}]*)\}", lambda m: env.get(m.group(1), ""), t))
                        for s, n, t in expected]
            rc, out, err = wzharness.run(["regina", options.script], options.timeout, env=env)
    except peers.PeerUnavailable as reason:
        print("SKIPPED: %s" % reason)
        return SKIPPED
    finally:
        shutil.rmtree(work, ignore_errors=True)
    failures = []
    if rc != 0:
        failures.append("regina exited with %d" % rc)
    failures += ["script reported: " + l for l in out.splitlines() if l.startswith("FAIL")]
    failures += wzharness.check_expectations(expected, out, err)
    return wzharness.report(failures, out, err)


if __name__ == "__main__":
    sys.exit(main())
