#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later
"""./dev as a newcomer meets it, in a copy of the checkout with stand-ins for CMake, dpkg, sudo,
apt-get and the program, so nothing is built or installed.
    test_dev.py DEV [unittest arguments]"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

# Where each stands: shell script. This sudo clears the environment as the real one does.
STAND_INS = {
    "bin/cmake": 'echo "[1/1] Linking CXX executable app/velmora"',
    "bin/dpkg-query": '[ -n "$MISSING" ] || echo "install ok installed"',
    "bin/id": '[ "$1" = -u ] && echo 1000 || exec /usr/bin/id "$@"',
    "bin/sudo": 'exec env -i PATH="$PATH" "$@"',
    "bin/apt-get": 'echo "apt-get $1 with DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}"',
    "velmora/build/app/velmora": 'echo "velmora in $PWD: $*"; exit 3',
}


class Dev(unittest.TestCase):
    def test_commands(self):
        work = pathlib.Path(self.enterContext(tempfile.TemporaryDirectory()))
        (work / "sheets").mkdir()
        for where, script in STAND_INS.items():
            (work / where).parent.mkdir(parents=True, exist_ok=True)
            (work / where).write_text("#!/bin/sh\n" + script + "\n")
            (work / where).chmod(0o755)
        shutil.copy(sys.argv[1], work / "velmora/dev")
        sheets = work / "sheets"
        # name: arguments, variables, status, standard output, what standard error holds
        rows = {
            "unknown command": (["foo"], {}, 2, "", "./dev: unknown command 'foo'\n"),
            "run: in the caller's folder, only the program on standard output": (
                ["run", "-o", "rel.png"], {}, 3, f"velmora in {sheets}: -o rel.png\n",
                "Linking CXX executable"),
            "run: packages installed through sudo, without questions": (
                ["run"], {"MISSING": "1"}, 3, f"velmora in {sheets}: \n",
                "apt-get install with DEBIAN_FRONTEND=noninteractive"),
        }
        for name, (arguments, variables, status, out, err) in rows.items():
            with self.subTest(name):
                env = dict(os.environ, PATH=f"{work / 'bin'}:/usr/bin:/bin", **variables)
                run = subprocess.run(["../velmora/dev", *arguments], cwd=sheets, env=env,
                                     capture_output=True, text=True)
                self.assertEqual((run.returncode, run.stdout), (status, out), run.stderr)
                self.assertIn(err, run.stderr)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)
