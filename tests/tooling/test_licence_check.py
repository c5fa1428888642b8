#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later
"""The licence check judges what git tracks: a stray file in the checkout passes, a tracked file
without licence information fails.
    test_licence_check.py CHECK LICENCE [unittest arguments]"""

import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECK, LICENCE = sys.argv[1:3]
# Split, so that the licence check of this repository does not take it for this file's own.
HEADER = "# SPDX-" "FileCopyrightText: 2026 The Velmora developers\n# SPDX-" \
         "License-Identifier: GPL-3.0-or-later\n"


class LicenceCheck(unittest.TestCase):
    def test_checkouts(self):
        # name: whether git tracks the file without licence information, the check's status
        for name, tracked, status in (("stray file", False, 0), ("tracked file", True, 1)):
            with self.subTest(name), tempfile.TemporaryDirectory() as checkout:
                root = pathlib.Path(checkout)
                (root / "LICENSES").mkdir()
                for path, text in (("LICENSES/" + pathlib.Path(LICENCE).name,
                                    pathlib.Path(LICENCE).read_text()),
                                   ("run.py", HEADER), ("orca.log", "no header\n")):
                    (root / path).write_text(text)
                subprocess.run(["git", "init", "-q", checkout], check=True)
                subprocess.run(["git", "-C", checkout, "add", "LICENSES", "run.py",
                                *(["orca.log"] if tracked else [])], check=True)
                run = subprocess.run([sys.executable, CHECK, checkout], capture_output=True)
                self.assertEqual(run.returncode, status, run.stdout)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]], verbosity=2)
