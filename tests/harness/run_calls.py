#!/usr/bin/env python3
"""Runs a call script through the wendrik test host (natively, or under Wine
for the Windows build) and checks its stdout/stderr directives."""
import argparse
import sys

import wzharness


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--timeout", type=int, default=120)
    parser.add_argument("script")
    options = parser.parse_args()

    # stdout TEXT, stderr TEXT: lines expected in order;
    # stdout-count N TEXT: a line that appears exactly N times.
    expected = []
    with open(options.script, encoding="latin-1") as script:
        for line in script:
            words = line.strip().split(" ", 2)
            if words[0] in ("stdout", "stderr") and len(words) >= 2:
                expected.append((words[0], None, wzharness.rexx_string(line)))
            elif words[0] in ("stdout-count", "stderr-count") and len(words) == 3:
                expected.append((words[0][:6], int(words[1]), wzharness.rexx_string(words[2])))

    command = wzharness.command_for(options.host, [options.library, options.script])
    rc, out, err = wzharness.run(command, options.timeout)
    failures = []
    if rc != 0:
        failures.append("test host exited with %d" % rc)
    failures += wzharness.check_expectations(expected, out, err)
    return wzharness.report(failures, out, err)


if __name__ == "__main__":
    sys.exit(main())
