"""Runs one UI scenario: the UI test driver inside a Wine virtual desktop of
the test run's Wine session, then converts the driver's screenshots to PNG.

Usage: run_ui.py DRIVER SCENARIO PROGRAM_DIRECTORY OUTPUT_DIRECTORY

OUTPUT_DIRECTORY is emptied first; afterwards it holds the driver's
report.txt, the standard output of each program started (programN.out) and NN-what.png.
The test passes when the report ends with PASS."""
import glob
import os
import shutil
import subprocess
import sys

import wzharness

DESKTOP_SIZE = "800x600"


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    driver, scenario, programs, output = sys.argv[1:]
    if os.path.isdir(output):
        shutil.rmtree(output)
    os.makedirs(output)
    name = os.path.splitext(os.path.basename(scenario))[0]
    command = [wzharness.WINE_RUN, "explorer", "/desktop=wz-%s,%s" % (name, DESKTOP_SIZE), driver,
               wzharness.wine_path(scenario), wzharness.wine_path(output), wzharness.wine_path(programs)]
    status, out, err = wzharness.run(command, timeout=180, env={"WZ_WINE_TIMEOUT": "170"})
    for bitmap in sorted(glob.glob(os.path.join(output, "*.bmp"))):
        png = bitmap[:-4] + ".png"
        if subprocess.run(["convert", bitmap, png]).returncode == 0:
            os.remove(bitmap)
    report_path = os.path.join(output, "report.txt")
    report = open(report_path, encoding="latin-1").read() if os.path.exists(report_path) else ""
    sys.stdout.write(report)
    for program_out in sorted(glob.glob(os.path.join(output, "program*.out"))):
        sys.stdout.write("--- %s ---\n" % os.path.basename(program_out) +
                         open(program_out, encoding="latin-1").read())
    print("screenshots: " + output)
    lines = report.strip().splitlines()
    if not lines or lines[-1] != "PASS":
        if err:
            sys.stdout.write("--- standard error ---\n" + err)
        print("FAIL: the scenario did not pass (driver status %d)" % status)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
