#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's runs as a platform screen reader hears them: Chromium on Xvfb with its
accessibility forced on, read through AT-SPI (what Orca reads), not through DevTools.
    screen_reader_page.py PAGE    (77: the page or the accessibility stack is missing)

The picture's description must become each run's summary, and the status must announce every
run, the same run again too."""
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import tempfile

# The reuse check reads the source tree while these tests run: no bytecode beside the scripts.
sys.dont_write_bytecode = True
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "a11y"))
from screen_reader_run import SKIP, Session, fail, find, wait_for  # noqa: E402


def main():
    page = pathlib.Path(sys.argv[1]).resolve()
    missing = [tool for tool in ("Xvfb", "dbus-daemon", "chromium") if not shutil.which(tool)]
    for path, package in (("/usr/libexec/at-spi-bus-launcher", "at-spi2-core"),
                          ("/usr/lib/python3/dist-packages/pyatspi", "python3-pyatspi")):
        if not os.path.exists(path):
            missing.append(package)
    if not page.exists():
        missing.append(f"the page {page} (./dev web builds it)")
    if missing:
        print("SKIP: missing: " + ", ".join(missing))
        sys.exit(SKIP)

    signal.signal(signal.SIGALRM, lambda *_: fail("the whole check took too long"))
    signal.alarm(100)
    session = Session()
    try:
        session.start_display()
        session.start_bus()
        import pyatspi  # after the bus exists: it connects on import

        profile = tempfile.mkdtemp(dir=session.home)
        # Chromium offers its tree to AT-SPI only where it is told accessibility is wanted.
        env = dict(os.environ, ACCESSIBILITY_ENABLED="1")
        session.spawn(["chromium", "--force-renderer-accessibility", "--no-sandbox",
                       "--no-first-run", "--disable-gpu", "--disable-background-networking",
                       "--proxy-server=http://127.0.0.1:9", "--user-data-dir=" + profile,
                       "--window-size=900,700", page.as_uri()],
                      env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        desktop = pyatspi.Registry.getDesktop(0)

        def browser():
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and "chromium" in (a.name or "").lower():
                    return a
            return None

        app = wait_for("Chromium on the accessibility bus", browser, timeout=40)
        picture = wait_for("the picture", lambda: find(
            app, lambda n: n.name == "Diffraction picture"), timeout=40)
        if picture.getRole() != pyatspi.ROLE_IMAGE:
            fail("the picture's role is " + picture.getRoleName())
        start = wait_for("Start", lambda: find(
            app, lambda n: n.name == "Start" and n.getRole() == pyatspi.ROLE_PUSH_BUTTON))
        wait_for("the description before a run",
                 lambda: picture.description.startswith("No picture has been drawn yet"))

        # What a screen reader speaks from a live region: the text it is given.
        spoken = []

        def on_insert(event):
            if event.source.getRole() == pyatspi.ROLE_STATUS_BAR and event.any_data:
                spoken.append(event.any_data)

        pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
        expected = "Drawn with frequency middle and distance 350."
        for run in (1, 2):  # the same presets twice: the same words, announced again
            start.queryAction().doAction(0)
            wait_for(f"run {run}'s announcement", lambda: len(spoken) == run, timeout=30)
            if not spoken[-1].startswith(expected):
                fail(f"run {run} announced: {spoken[-1]}")
            summary = wait_for(f"run {run}'s description", lambda: picture.description
                               if picture.description.startswith(expected) else None)
            if summary != spoken[-1]:
                fail(f"the description {summary!r} is not what was announced {spoken[-1]!r}")
        print("summary: " + summary)
    finally:
        signal.alarm(0)
        session.close()
    print("PASS")


if __name__ == "__main__":
    main()
