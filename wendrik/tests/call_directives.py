#!/usr/bin/env python3
"""Checks that the call-script directives are documented as the test host's
table has them (wendrik_host --directives): each one, with its arguments,
in the host's header comment, and the runner's ones in run_calls.py's
docstring; the paragraph on call scripts in docs/ARCHITECTURE.md names
both sets. A directive added, renamed or dropped in one place and not in
the others fails the test.

  call_directives.py --host TEST_HOST --root SOURCE_TREE"""
import argparse
import os
import re
import subprocess
import sys


def table(host):
    """The host's table: (host directives, runner directives), each a set of
    "VERB ARGUMENTS" texts."""
    output = subprocess.run([host, "--directives"], capture_output=True, text=True, check=True).stdout
    rows = [line.split("\t", 1) for line in output.splitlines() if line]
    return ({text for kind, text in rows if kind == "host"},
            {text for kind, text in rows if kind == "runner"})


def host_comment(path):
    """The directives the host's header comment lists: the lines of
    "carries out these" ("//   DIRECTIVE  what it does"), and the
    comma-separated runner's list after "leaves these to the test runner"."""
    with open(path, encoding="utf-8") as f:
        comment = [line[2:] for line in f if line.startswith("//")]
    text = "\n".join(comment)
    host_part = text.split("host carries out these:", 1)[1].split("and leaves these to the test runner", 1)[0]
    runner_part = text.split("and leaves these to the test runner", 1)[1].split("):", 1)[1]
    runner_part = runner_part.split("ARG, TEXT and FILE", 1)[0]
    host = {re.split(r"\s{2,}", line.strip())[0] for line in host_part.splitlines()
            if re.match(r"^   \S", line)}
    runner = {item.strip() for item in runner_part.replace("\n", " ").split(",") if item.strip()}
    return host, runner


def runner_docstring(path):
    """The directives run_calls.py's docstring lists under "Directives the
    runner reads": lines indented by two, "DIRECTIVE  what it does"."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    section = text.split("Directives the runner reads", 1)[1].split("\n", 1)[1]
    found = set()
    for line in section.splitlines():
        if not line.startswith("  "):
            break
        if not line.startswith("   "):
            found.add(re.split(r"\s{2,}", line.strip())[0])
    return found


def architecture(path):
    """The directives of the "Call scripts" paragraph of ARCHITECTURE.md, in
    backquotes: the host's before "the runner checks", the runner's after."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    paragraph = " ".join(text.split("- **Call scripts**", 1)[1].split("\n- **", 1)[0].split())
    host_part, runner_part = paragraph.split("the runner checks", 1)
    host_part = host_part.split("the test host carries out", 1)[1]
    runner_part = runner_part.split(" on the host's output", 1)[0]
    return set(re.findall(r"`([^`]+)`", host_part)), set(re.findall(r"`([^`]+)`", runner_part))


def compare(what, documented, wanted, failures):
    for text in sorted(wanted - documented):
        failures.append("%s does not name %r" % (what, text))
    for text in sorted(documented - wanted):
        failures.append("%s names %r, which the host's table has not" % (what, text))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--root", required=True)
    options = parser.parse_args()
    host, runner = table(options.host)
    failures = []
    if not host or not runner:
        failures.append("the host's table is empty")
    documents = [
        ("the host's header", host_comment, ("wendrik", "tests", "host", "wendrik_host.cpp")),
        ("run_calls.py's docstring", lambda path: (None, runner_docstring(path)),
         ("tests", "harness", "run_calls.py")),
        ("ARCHITECTURE.md", architecture, ("docs", "ARCHITECTURE.md")),
    ]
    for what, read, path in documents:
        try:
            documented_host, documented_runner = read(os.path.join(options.root, *path))
        except (IndexError, ValueError):
            failures.append("%s: its list of directives is not where it should be" % what)
            continue
        if documented_host is not None:
            compare(what + " (the host's)", documented_host, host, failures)
        compare(what + " (the runner's)", documented_runner, runner, failures)
    for failure in failures:
        print("FAIL: " + failure)
    print("%d host and %d runner directives; %s" % (len(host), len(runner),
                                                    "FAILED" if failures else "documented alike"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
