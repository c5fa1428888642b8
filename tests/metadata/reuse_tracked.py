#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later
"""The licence check of what the repository holds: `reuse lint` over a copy of the files git
tracks, as they are in the working tree, so that a stray file (run.png, orca.log) does not
count. Outside a git checkout (a source package) the tree is all there is, and is checked.
    reuse_tracked.py ROOT"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

root = pathlib.Path(sys.argv[1]).resolve()
listed = subprocess.run(["git", "-C", str(root), "ls-files", "-z"], capture_output=True)
if listed.returncode != 0:
    sys.exit(subprocess.run(["reuse", "--root", str(root), "lint"]).returncode)

with tempfile.TemporaryDirectory(prefix="velmora-reuse-") as copy:
    for name in filter(None, listed.stdout.decode().split("\0")):
        source, target = root / name, pathlib.Path(copy) / name
        if not source.is_symlink() and not source.exists():
            continue  # deleted, not yet committed
        target.parent.mkdir(parents=True, exist_ok=True)
        if source.is_symlink():
            os.symlink(os.readlink(source), target)
        else:
            shutil.copy2(source, target)
    # From inside the copy, so that the files it names read as paths in the repository.
    sys.exit(subprocess.run(["reuse", "--root", ".", "lint"], cwd=copy).returncode)
