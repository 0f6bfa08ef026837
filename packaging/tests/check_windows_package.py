#!/usr/bin/env python3
"""Checks the Windows zip as a user gets it: makes it with CPack, unpacks it
into the build tree, checks what it holds, then runs both programs from the
unpacked folder under the test run's Wine session: enrolwiz.exe shows its
splash (a UI scenario), and the test host loads the unpacked wendrik.dll and
runs the package frame's call script (FtpLoadFuncs, FtpVersion, ...).

  check_windows_package.py --build TREE --driver UI_DRIVER --host TEST_HOST
"""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
HARNESS = os.path.join(ROOT, "tests", "harness")
CONTENTS = ["enrolwiz.exe", "wendrik.dll", "functions.md", "README-enrolwiz.txt", "README-wendrik.txt"]


def run(command):
    print("$ " + " ".join(command))
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=240)
    out = done.stdout.decode("latin-1")
    print(out.rstrip())
    return done.returncode, out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--driver", required=True)
    parser.add_argument("--host", required=True)
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    work = os.path.join(build, "package-test")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    failures = []

    code, _ = run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", work])
    zips = glob.glob(os.path.join(work, "*.zip"))
    if code != 0 or len(zips) != 1:
        print("FAIL: cpack made %d zips" % len(zips))
        return 1
    with zipfile.ZipFile(zips[0]) as archive:
        names = archive.namelist()
        print("\n".join(names))
        archive.extractall(os.path.join(work, "unpacked"))
    folders = {name.split("/", 1)[0] for name in names}
    if len(folders) != 1:
        failures.append("the zip does not hold one folder: %s" % sorted(folders))
    unpacked = os.path.join(work, "unpacked", sorted(folders)[0])
    for name in CONTENTS:
        if not os.path.isfile(os.path.join(unpacked, name)):
            failures.append("%s is missing from the zip" % name)
    for name in CONTENTS[3:]:
        path = os.path.join(unpacked, name)
        if os.path.isfile(path):
            text = open(path, "rb").read()
            if b"\n" in text.replace(b"\r\n", b""):
                failures.append("%s has lines that do not end in CR LF" % name)

    if not failures:
        # The splash of the unpacked program (the driver starts programs from
        # the folder it is given).
        code, _ = run([sys.executable, os.path.join(HARNESS, "run_ui.py"), options.driver,
                       os.path.join(HERE, "splash_from_zip.scenario"), unpacked,
                       os.path.join(build, "screenshots", "package.zip")])
        if code != 0:
            failures.append("enrolwiz.exe from the zip: the splash scenario failed")
        # The unpacked DLL through the test host.
        code, _ = run([sys.executable, os.path.join(HARNESS, "run_calls.py"), "--host", options.host,
                       "--library", os.path.join(unpacked, "wendrik.dll"),
                       os.path.join(ROOT, "wendrik", "tests", "calls", "frame.calls")])
        if code != 0:
            failures.append("wendrik.dll from the zip: the frame's call script failed")

    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("the zip holds both programs and they run from it")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
