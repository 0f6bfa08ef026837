#!/usr/bin/env python3
"""Checks the include rule of wendrik's layers (docs/ARCHITECTURE.md,
"wendrik's layers"): every #include "..." of a file under wendrik/frame,
wendrik/ftp or wendrik/ping names a header of its own folder or one the
table below allows; ftp/ and ping/ include nothing of frame/.

  layers.py WENDRIK_FOLDER"""
import os
import re
import sys

# Folder -> the headers (paths under wendrik/) or folders ("x/") it may include besides its own.
ALLOWED = {
    "frame": ["frame/saa/", "ftp/engine.h", "ftp/status.h", "ping/ping.h"],
    "frame/saa": [],
    "ftp": [],
    "ping": ["ftp/net.h", "ftp/parse.h"],
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer(path):
    """The layer of a file's folder: frame/saa, frame, ftp or ping (a port's
    posix/ or win32/ body belongs to the folder above it)."""
    parts = path.split("/")[:-1]
    while parts and parts[-1] in ("posix", "win32"):
        parts.pop()
    return "/".join(parts)


def main():
    root = sys.argv[1]
    failures = []
    checked = 0
    for top in ("frame", "ftp", "ping"):
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                own = layer(path)
                with open(os.path.join(root, path), encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        checked += 1
                        beside = os.path.normpath(os.path.join(os.path.dirname(path), match.group(1)))
                        target = beside.replace(os.sep, "/")
                        if not os.path.exists(os.path.join(root, target)):
                            target = match.group(1)   # from the package's root
                        if layer(target) == own or any(target == allowed or (allowed.endswith("/") and
                                                       target.startswith(allowed)) for allowed in ALLOWED[own]):
                            continue
                        failures.append("%s:%d: %s includes %s" % (path, number, own, target))
    for failure in failures:
        print("FAIL: " + failure)
    print("%d includes read; %s" % (checked, "FAILED" if failures else "every one within its layer"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
