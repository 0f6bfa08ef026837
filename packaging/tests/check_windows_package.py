#!/usr/bin/env python3
"""Checks the Windows zip as a user gets it: makes it with CPack (the x86
tree's, which takes the x64 tree's DLL too), unpacks it, checks what it holds
and the machine type and exports of each binary, then runs this build's
programs from the unpacked folder under the test run's Wine session: the x86
build shows the splash of enrolwiz.exe (a UI scenario) and runs the package
frame's call script against x86\\wendrik.dll; the x64 build runs the call
script against x64\\wendrik.dll, in both interpreter layouts its test host
plays.

  check_windows_package.py --zip-tree TREE --work DIR --machine x86|x64
                           --driver UI_DRIVER --host TEST_HOST --screenshots DIR
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
sys.path.insert(0, HARNESS)
sys.path.insert(0, os.path.join(ROOT, "tests", "win32"))
import check_binaries  # noqa: E402
import wzharness  # noqa: E402

CONTENTS = ["enrolwiz.exe", "x86/wendrik.dll", "x64/wendrik.dll", "functions.md",
            "README-enrolwiz.txt", "README-wendrik.txt"]
READMES = ["README-enrolwiz.txt", "README-wendrik.txt"]
EXPORTS = ["FTPFUNCTIONGATEWAY", "FTPLOADFUNCS"]


def run(command):
    print("$ " + " ".join(command))
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=240)
    out = done.stdout.decode("latin-1")
    print(out.rstrip())
    return done.returncode, out


def check_binary(unpacked, name, machine, kind):
    """The machine type and subsystem file(1) reads, and a DLL's exports."""
    exe_kind, dll_kind, objdump = check_binaries.BUILDS[machine]
    wanted = exe_kind if kind == "exe" else dll_kind
    path = os.path.join(unpacked, name)
    described = check_binaries.output("file", "-b", path).strip()
    print("%s: %s" % (name, described))
    failures = [] if described.startswith(wanted) else ["%s is %r, expected %r" % (path, described, wanted)]
    if kind == "dll":
        _, exports = check_binaries.pe_info(objdump, path)
        if sorted(exports) != EXPORTS:
            failures.append("%s exports %s, expected %s" % (path, exports, EXPORTS))
    return failures


def unpack(zip_tree, work):
    """Makes the zip and unpacks it: the unpacked folder, or None and the failures."""
    code, _ = run(["cpack", "--config", os.path.join(zip_tree, "CPackConfig.cmake"), "-B", work])
    zips = glob.glob(os.path.join(work, "*.zip"))
    if code != 0 or len(zips) != 1:
        return None, ["cpack made %d zips" % len(zips)]
    with zipfile.ZipFile(zips[0]) as archive:
        names = archive.namelist()
        print("\n".join(names))
        archive.extractall(os.path.join(work, "unpacked"))
    folders = {name.split("/", 1)[0] for name in names}
    if len(folders) != 1:
        return None, ["the zip does not hold one folder: %s" % sorted(folders)]
    unpacked = os.path.join(work, "unpacked", sorted(folders)[0])
    failures = ["%s is missing from the zip" % name for name in CONTENTS
                if not os.path.isfile(os.path.join(unpacked, name))]
    for name in READMES:
        path = os.path.join(unpacked, name)
        if os.path.isfile(path) and b"\n" in open(path, "rb").read().replace(b"\r\n", b""):
            failures.append("%s has lines that do not end in CR LF" % name)
    return unpacked, failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--zip-tree", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--machine", required=True, choices=["x86", "x64"])
    parser.add_argument("--driver", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--screenshots", required=True)
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    unpacked, failures = unpack(os.path.abspath(options.zip_tree), work)
    if unpacked and not failures:
        failures += check_binary(unpacked, "enrolwiz.exe", "x86", "exe")
        for machine in ("x86", "x64"):
            failures += check_binary(unpacked, machine + "/wendrik.dll", machine, "dll")
    if failures:
        for failure in failures:
            print("FAIL: " + failure)
        return 1

    # What follows runs programs under this build's Wine.
    wzharness.skip_if_wine_unusable()
    if options.machine == "x86":
        # The splash of the unpacked program (the driver starts programs from
        # the folder it is given).
        code, _ = run([sys.executable, os.path.join(HARNESS, "run_ui.py"), options.driver,
                       os.path.join(HERE, "splash_from_zip.scenario"), unpacked, options.screenshots])
        if code != 0:
            failures.append("enrolwiz.exe from the zip: the splash scenario failed")
    # The unpacked DLL of this build through the test host: on x64 as each
    # kind of 64-bit interpreter lays out its strings and pool blocks.
    library = os.path.join(unpacked, options.machine, "wendrik.dll")
    for layout in (["size_t", "ulong"] if options.machine == "x64" else [None]):
        code, _ = run([sys.executable, os.path.join(HARNESS, "run_calls.py"), "--host", options.host,
                       "--library", library] + (["--layout", layout] if layout else []) +
                      [os.path.join(ROOT, "wendrik", "tests", "calls", "frame.calls")])
        if code != 0:
            failures.append("%s\\wendrik.dll from the zip: the frame's call script failed%s"
                            % (options.machine, " (%s layout)" % layout if layout else ""))

    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("the zip holds both builds, and the %s programs run from it" % options.machine)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
