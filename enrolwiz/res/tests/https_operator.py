#!/usr/bin/env python3
"""Writes the operator data of the tests' https wizard: the placeholder data
(operator.txt) with its gateway made an https one, "scheme = https" at the
head of its [server] section and nothing else changed, so that the string
table made from it is the product's own.

  https_operator.py OPERATOR OUTPUT"""
import sys


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.read().split("\n")
    if any(line.strip().startswith("scheme") for line in lines):
        sys.exit("%s: names a scheme already" % sys.argv[1])
    try:
        at = [line.strip() for line in lines].index("[server]")
    except ValueError:
        sys.exit("%s: no [server] section" % sys.argv[1])
    lines.insert(at + 1, "scheme = https")
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
