#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs a test program on a real X server of its own, as a desktop would show its window.

    on_xvfb.py [--screen WxH] [--window-manager openbox] PROGRAM [ARGUMENTS...]

Starts Xvfb with one screen of that size and, if asked, a window manager, waits until they
answer, runs PROGRAM with the xcb platform, and returns its status (77: no Xvfb here).
"""
import argparse
import os
import shutil
import subprocess
import sys
import time


def wait_until(what, ready, seconds=20):
    end = time.monotonic() + seconds
    while not ready():
        if time.monotonic() > end:
            sys.exit(f"on_xvfb: {what} did not come up")
        time.sleep(0.05)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--screen", default="1920x1080")
    parser.add_argument("--window-manager")
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    if not shutil.which("Xvfb"):
        print("skipped: Xvfb is not installed")
        return 77

    children = []
    try:
        read, write = os.pipe()
        children.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", args.screen + "x24",
             "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stderr=subprocess.DEVNULL))
        os.close(write)
        with os.fdopen(read) as answer:
            number = answer.readline().strip()
        if not number:
            sys.exit("on_xvfb: Xvfb did not start")
        # No session bus: libdbus would try to start one for the display, and leak trying.
        env = dict(os.environ, DISPLAY=":" + number, QT_QPA_PLATFORM="xcb",
                   DBUS_SESSION_BUS_ADDRESS="disabled:")
        env.pop("WAYLAND_DISPLAY", None)

        def answers(*command):
            return subprocess.run(command, env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0

        wait_until("Xvfb", lambda: answers("xprop", "-root", "-len", "0"))
        if args.window_manager:
            children.append(subprocess.Popen([args.window_manager], env=env,
                                             stdout=subprocess.DEVNULL,
                                             stderr=subprocess.DEVNULL))
            # A window manager that has taken the screen names itself on the root window.
            wait_until(args.window_manager,
                       lambda: answers("sh", "-c", "xprop -root _NET_SUPPORTING_WM_CHECK | "
                                                   "grep -q 'window id'"))
        return subprocess.run(args.program, env=env).returncode
    finally:
        for child in reversed(children):
            child.terminate()
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()


if __name__ == "__main__":
    sys.exit(main())
