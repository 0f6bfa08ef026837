#!/usr/bin/env python3
"""The string-table generator refuses faulty data with "FILE:LINE: reason":
each case in faults/ names the file it changes, the change, and the message
expected; the real files must pass and give the expected outputs."""
import os
import shutil
import subprocess
import sys
import tempfile


def run(generator, strings, operator, out):
    done = subprocess.run([sys.executable, generator, strings, operator, out],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    return done.returncode, done.stderr.decode("utf-8", "replace")


def read_case(path):
    """A case file: 'file: strings|operator', 'find: TEXT', 'replace: TEXT'
    (\\n for line ends), 'expect: MESSAGE PART' (the line number as {line})."""
    case = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            key, value = line.rstrip("\n").split(": ", 1)
            case[key] = value.replace("\\n", "\n")
    return case


def main():
    generator, strings, operator, cases = sys.argv[1:5]
    failures = []
    work = tempfile.mkdtemp(prefix="make_tables_")
    try:
        status, err = run(generator, strings, operator, os.path.join(work, "good"))
        if status != 0:
            failures.append("the real files fail: " + err)
        else:
            with open(os.path.join(work, "good", "string_table.rc"), encoding="ascii") as f:
                rc = f.read()
            if "  564, \"VLM Product Registration\"\n" not in rc or "\\337" not in rc:
                failures.append("string_table.rc lacks expected entries")
        for name in sorted(os.listdir(cases)):
            case = read_case(os.path.join(cases, name))
            sources = {"strings": strings, "operator": operator}
            target = sources[case["file"]]
            with open(target, encoding="utf-8") as f:
                text = f.read()
            if case["find"] not in text:
                failures.append("%s: text to change not found" % name)
                continue
            changed = text.replace(case["find"], case["replace"], 1)
            line = text[:text.index(case["find"])].count("\n") + 1
            copy = os.path.join(work, os.path.basename(target))
            with open(copy, "w", encoding="utf-8") as f:
                f.write(changed)
            sources[case["file"]] = copy
            status, err = run(generator, sources["strings"], sources["operator"], os.path.join(work, name))
            expected = case["expect"].replace("{file}", copy).replace("{line}", str(line))
            if status == 0:
                failures.append("%s: accepted" % name)
            elif expected not in err:
                failures.append("%s: message %r lacks %r" % (name, err.strip(), expected))
            else:
                print("%s: refused: %s" % (name, err.strip()))
    finally:
        shutil.rmtree(work)
    for failure in failures:
        print("FAIL: " + failure)
    print("%d passed, %d failed" % (len(os.listdir(cases)) + 1 - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
