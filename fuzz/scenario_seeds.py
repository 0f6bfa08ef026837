#!/usr/bin/env python3
"""Seeds of the FTP fuzz targets from the scripted server's scenarios of the
tests (wendrik/tests/**/NAME.scenarios.json, ftpscript.py): every greeting
and reply text as a seed of ftp_reply, every listing and file as a seed of
ftp_listing, as the server sends them (its {...} placeholders left as they
are). The folder OUT/ftp_reply and OUT/ftp_listing are made afresh, then
OUT/scenarios.stamp.

  scenario_seeds.py OUT SCENARIO_FILE..."""
import json
import os
import re
import shutil
import sys


def texts(settings):
    """(kind, label, text) of one scenario's settings, its connections' too."""
    found = []
    for key in ("greeting", "every_reply", "transfer_end"):
        if isinstance(settings.get(key), str):
            found.append(("ftp_reply", key, settings[key]))
    for verb, reply in settings.get("replies", {}).items():
        for i, text in enumerate(reply if isinstance(reply, list) else [reply]):
            if isinstance(text, str):
                found.append(("ftp_reply", "%s%d" % (verb, i + 1), text))
    for command, data in settings.get("listings", {}).items():
        found.append(("ftp_listing", command, data))
    for name, content in settings.get("files", {}).items():
        found.append(("ftp_listing", name, content))
    for number, more in settings.get("connections", {}).items():
        found += [(kind, "connection%s-%s" % (number, label), text) for kind, label, text in texts(more)]
    return found


def main():
    out = sys.argv[1]
    for kind in ("ftp_reply", "ftp_listing"):
        shutil.rmtree(os.path.join(out, kind), ignore_errors=True)
        os.makedirs(os.path.join(out, kind))
    for path in sys.argv[2:]:
        test = os.path.basename(path)[:-len(".scenarios.json")]
        with open(path, encoding="utf-8") as f:
            scenarios = json.load(f)["scenarios"]
        for scenario, settings in scenarios.items():
            for kind, label, text in texts(settings):
                name = re.sub(r"[^A-Za-z0-9_.-]", "_", "%s-%s-%s" % (test, scenario, label))
                with open(os.path.join(out, kind, name), "wb") as f:
                    f.write(text.encode("latin-1"))
    with open(os.path.join(out, "scenarios.stamp"), "w") as f:
        f.write("\n".join(sys.argv[2:]) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
