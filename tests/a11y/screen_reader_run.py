#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later
"""A keyboard-only run as a screen-reader user makes it, through the real accessibility stack.

Starts Xvfb, a D-Bus session and the AT-SPI registry, then the program (and, with --orca-log,
the Orca screen reader logging what it says). Reads the window through pyatspi, presses keys
through the registry's key synthesis, and checks that the picture's description becomes the
run's summary. Every wait is bounded; any failure ends with a non-zero exit.
"""
import argparse
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

DEADLINE = 90  # seconds for the whole check
SKIP = 77  # CTest's SKIP_RETURN_CODE: the accessibility stack is not installed


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def pump(seconds):
    """Sleeps while delivering AT-SPI events to the listeners."""
    from gi.repository import GLib
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, predicate, timeout=20.0, interval=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        pump(interval)
    fail("timed out waiting for " + what)


class Session:
    def __init__(self):
        self.children = []
        self.home = tempfile.mkdtemp(prefix="velmora-a11y-")

    def spawn(self, args, **kwargs):
        child = subprocess.Popen(args, start_new_session=True, **kwargs)
        self.children.append(child)
        return child

    def close(self):
        for child in reversed(self.children):
            if child.poll() is None:
                try:
                    os.killpg(child.pid, signal.SIGTERM)
                    child.wait(timeout=5)
                except (ProcessLookupError, subprocess.TimeoutExpired):
                    try:
                        os.killpg(child.pid, signal.SIGKILL)
                    except ProcessLookupError:
                        pass
        shutil.rmtree(self.home, ignore_errors=True)

    def start_display(self):
        read, write = os.pipe()
        # -noreset: the server would otherwise reset when its last client leaves, as the AT-SPI
        # launcher does after it has published its bus, and refuse the program meanwhile.
        self.spawn(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        end = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < end:
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
        os.close(read)
        if not number.strip():
            fail("Xvfb did not start")
        display = number.decode().strip()
        # Wait until the display answers before any client needs it.
        end = time.monotonic() + 10
        while True:
            try:
                with socket.socket(socket.AF_UNIX) as probe:
                    probe.connect("/tmp/.X11-unix/X" + display)
                break
            except OSError:
                if time.monotonic() > end:
                    fail("Xvfb :" + display + " does not answer")
                time.sleep(0.05)
        os.environ["DISPLAY"] = ":" + display

    def start_bus(self):
        runtime = os.path.join(self.home, "run")
        os.mkdir(runtime, 0o700)
        os.environ.update(HOME=self.home, XDG_RUNTIME_DIR=runtime, NO_AT_BRIDGE="0",
                          GTK_A11Y="atspi")
        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE)
        address = bus.stdout.readline().decode().strip()
        if not address:
            fail("the D-Bus session did not start")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stderr=subprocess.DEVNULL)


def find(node, predicate, depth=0):
    if node is None or depth > 12:
        return None
    if predicate(node):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), predicate, depth + 1)
        if found is not None:
            return found
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("velmora")
    parser.add_argument("--orca-log", help="also run Orca and write its debug log here")
    args = parser.parse_args()
    missing = [tool for tool in ("Xvfb", "dbus-daemon") if shutil.which(tool) is None]
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        missing.append("at-spi2-core")
    try:
        import gi  # noqa: F401  (pyatspi itself connects on import, so only later)
        if not os.path.isdir(os.path.join(os.path.dirname(gi.__file__), "..", "pyatspi")):
            missing.append("python3-pyatspi")
    except ImportError:
        missing.append("python3-gi")
    if missing:
        print("SKIP: not installed: " + ", ".join(missing))
        sys.exit(SKIP)
    signal.signal(signal.SIGALRM, lambda *_: fail("the whole check took too long"))
    signal.alarm(DEADLINE)

    session = Session()
    try:
        session.start_display()
        session.start_bus()
        import pyatspi  # after the bus exists: it connects on import

        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   LANG="en_US.UTF-8", LC_ALL="en_US.UTF-8")
        if args.orca_log:
            session.spawn(["orca", "--replace", "--debug-file", args.orca_log],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
            time.sleep(3)  # Orca registers its listeners before the program appears
        session.spawn([args.velmora], env=env)
        desktop = pyatspi.Registry.getDesktop(0)

        def app():
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name.lower() == "velmora":
                    return a
            return None

        velmora = wait_for("the program on the accessibility bus", app)
        frame = wait_for("its window", lambda: find(
            velmora, lambda n: n.getRole() == pyatspi.ROLE_FRAME))
        picture = wait_for("the picture", lambda: find(
            frame, lambda n: n.name == "Diffraction picture"))
        if picture.getRole() != pyatspi.ROLE_IMAGE:
            fail("the picture's role is " + picture.getRoleName())
        if not picture.description.startswith("No picture has been drawn yet"):
            fail("before a run the picture says: " + picture.description)
        for hidden in ("nFi", "nRozteč", "nSpomaleni", "Animace", "Rychlá"):
            if find(frame, lambda n, h=hidden: n.name == h) is not None:
                fail(hidden + " can be reached from the window")
        start = find(frame, lambda n: n.name == "Start" and n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
        wait_for("the focus on Start", lambda: start.getState().contains(pyatspi.STATE_FOCUSED))
        # Qt's focus is set before the window has the server's input focus; keys sent before
        # that would be lost.
        wait_for("the window to be active", lambda: frame.getState().contains(pyatspi.STATE_ACTIVE))

        def key(keysym):
            pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
            pump(0.3)

        # What makes a screen reader speak at the end of a run: a notification that shows.
        notices = []

        def on_showing(event):
            if event.source.getRole() == pyatspi.ROLE_NOTIFICATION and event.detail1:
                notices.append(event.source.name)

        pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")

        tab, down, ret = 0xFF09, 0xFF54, 0xFF0D
        # Tab to the frequency group, choose "low", Tab on round to Start, press Return.
        key(tab)
        key(tab)
        low = find(frame, lambda n: n.name == "low")
        key(down)
        wait_for("\"low\" to be chosen", lambda: low.getState().contains(pyatspi.STATE_CHECKED))
        for _ in range(3):
            key(tab)
        wait_for("the focus back on Start",
                 lambda: start.getState().contains(pyatspi.STATE_FOCUSED))
        key(ret)
        summary = wait_for("the summary", lambda: picture.description
                           if picture.description.startswith("Drawn with") else None, timeout=30)
        expected = "Drawn with frequency low and distance 350."
        if not summary.startswith(expected):
            fail("the summary reads: " + summary)
        print("summary: " + summary)
        wait_for("the run's notification", lambda: notices)
        if notices != [summary]:
            fail("notifications shown: %r" % notices)
        # The same words again: the notification shows anew, so they are spoken again.
        key(ret)
        wait_for("the second run's notification", lambda: len(notices) == 2, timeout=30)
        if notices[1] != summary:
            fail("the second run's notification reads: " + notices[1])
        if args.orca_log:
            time.sleep(3)  # let Orca speak before it is stopped
    finally:
        signal.alarm(0)
        session.close()
    print("PASS")


if __name__ == "__main__":
    main()
