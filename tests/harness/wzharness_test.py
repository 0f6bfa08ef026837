"""Checks how wzharness.run treats a program under Wine that Wine could not
start: started once more when Wine's start.exe said so and the program wrote
nothing, never when the program itself ran and failed, and a failure that
stays is returned as it is. A script stands in for wine-run; it counts its
starts in a file and answers from a list of outcomes."""
import os
import shutil
import sys
import tempfile
import unittest

import wzharness

START_FAILED = ("Application could not be started, or no application associated with the specified file.\n"
                "ShellExecuteEx failed: Internal error.\n")

FAKE_WINE_RUN = r'''#!/bin/sh
dir=$(dirname "$0")
n=$(($(cat "$dir/starts" 2>/dev/null || echo 0) + 1))
echo $n >"$dir/starts"
outcome=$(sed -n "${n}p" "$dir/outcomes")
case $outcome in
  not-started) printf '%s' "$START_FAILED" >&2; exit 1 ;;
  failed) echo "checks failed" >&2; exit 1 ;;
  silent-failure) printf '%s' "$START_FAILED" >&2; echo "half-way"; exit 1 ;;
  ran) echo "ran $*"; exit 0 ;;
esac
exit 3
'''


class WineStartRetry(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.fake = os.path.join(self.dir, "wine-run")
        with open(self.fake, "w") as f:
            f.write(FAKE_WINE_RUN)
        os.chmod(self.fake, 0o755)
        self.saved = wzharness.WINE_RUN, os.environ.get("WZ_WINE_DIR")
        wzharness.WINE_RUN = self.fake
        os.environ["WZ_WINE_DIR"] = self.dir  # no session.env: Wine usable
        os.environ["START_FAILED"] = START_FAILED

    def tearDown(self):
        wzharness.WINE_RUN = self.saved[0]
        if self.saved[1] is None:
            os.environ.pop("WZ_WINE_DIR", None)
        else:
            os.environ["WZ_WINE_DIR"] = self.saved[1]
        shutil.rmtree(self.dir)

    def run_with(self, *outcomes):
        with open(os.path.join(self.dir, "outcomes"), "w") as f:
            f.write("".join(o + "\n" for o in outcomes))
        result = wzharness.run([wzharness.WINE_RUN, "driver.exe", "a"], timeout=30)
        with open(os.path.join(self.dir, "starts")) as f:
            return result, int(f.read())

    def test_not_started_then_ran(self):
        (status, out, err), starts = self.run_with("not-started", "ran")
        self.assertEqual((status, out, err, starts), (0, "ran driver.exe a\n", "", 2))

    def test_a_failure_of_the_program_is_not_repeated(self):
        (status, out, err), starts = self.run_with("failed", "ran")
        self.assertEqual((status, err, starts), (1, "checks failed\n", 1))

    def test_a_program_that_wrote_output_is_not_repeated(self):
        (status, out, _), starts = self.run_with("silent-failure", "ran")
        self.assertEqual((status, out, starts), (1, "half-way\n", 1))

    def test_started_once_more_only(self):
        (status, _, err), starts = self.run_with("not-started", "not-started", "ran")
        self.assertEqual((status, starts), (1, 2))
        self.assertIn("Application could not be started", err)

    def test_native_programs_are_never_repeated(self):
        shutil.copy(self.fake, os.path.join(self.dir, "native"))
        with open(os.path.join(self.dir, "outcomes"), "w") as f:
            f.write("not-started\nran\n")
        status, _, _ = wzharness.run([os.path.join(self.dir, "native"), "x"], timeout=30)
        with open(os.path.join(self.dir, "starts")) as f:
            self.assertEqual((status, int(f.read())), (1, 1))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
