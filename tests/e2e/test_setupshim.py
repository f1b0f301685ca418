#!/usr/bin/env python3
"""setupshim under wine: the banner, then whatever tvs.bat in the working folder
prints, and exit code 0 whatever happened."""
import os
import shutil
import subprocess
import tempfile
import unittest

WIN64 = os.environ["ORB_WIN64_BUILD"]
WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
SETUPSHIM = os.path.join(WIN64, "setupshim.exe")
BANNER = "Installing Tarvos...\r\n" + "=" * 30 + "\r\n"


class Setupshim(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="orb-setupshim-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def run_shim(self):
        done = subprocess.run([WINE, SETUPSHIM, "ignored", "arguments"], cwd=self.dir, capture_output=True,
                              timeout=120)
        return done.returncode, done.stdout.decode("utf-8", "replace")

    def test_banner_then_the_batch_file_and_exit_0_whatever_it_returns(self):
        with open(os.path.join(self.dir, "tvs.bat"), "w", newline="") as f:
            f.write("@echo batch ran\r\n@exit /b 3\r\n")
        code, out = self.run_shim()
        self.assertEqual(code, 0)
        self.assertTrue(out.startswith(BANNER), out)
        self.assertIn("batch ran", out[len(BANNER):])

    def test_without_the_batch_file_it_still_exits_0(self):
        code, out = self.run_shim()
        self.assertEqual(code, 0)
        self.assertTrue(out.startswith(BANNER), out)
        self.assertNotIn("batch ran", out)


if __name__ == "__main__":
    unittest.main()
