#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The browser edition in headless Chromium with the network off, driven by Selenium.

    test_page.py PAGE CALL_DUMP [unittest arguments, e.g. -k Pace]

PAGE is build-web/velmora.html; CALL_DUMP the native velmora_call_dump, whose calls the
page's core must make too. Exits 77 (skipped) when the page has not been built.
"""

import base64
import math
import pathlib
import struct
import subprocess
import sys
import unittest

from chromium import browser

from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

PAGE = pathlib.Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else None
CALL_DUMP = sys.argv[2] if len(sys.argv) > 2 else None

# Word counts of each drawing command, opcode included (web/command_recorder.h).
SIZES = {1: 2, 2: 2, 3: 2, 4: 2, 5: 5, 6: 6, 7: 4, 8: 1}
FLOATS = {5: 4, 6: 4, 7: 3}  # operands after the opcode that are floats
LINE, COLOURED_LINE, PRESENT = 5, 6, 8


def decode_words(data):
    """Calls as tuples (opcode, operands...), floats widened exactly to Python floats."""
    words = struct.unpack(f"<{len(data) // 4}I", data)
    calls, i = [], 0
    while i < len(words):
        op = words[i]
        operands = list(words[i + 1:i + SIZES[op]])
        for k in range(FLOATS.get(op, 0)):
            operands[k] = struct.unpack("<f", struct.pack("<I", operands[k]))[0]
        calls.append((op, *operands))
        i += SIZES[op]
    return calls


def native_calls(fi, distance, count):
    out = subprocess.run([CALL_DUMP, fi, distance, count], check=True, capture_output=True,
                         text=True).stdout
    calls = []
    for line in out.splitlines():
        op, *rest = line.split()
        op = int(op)
        calls.append((op, *(float.fromhex(v) if k < FLOATS.get(op, 0) else int(v)
                            for k, v in enumerate(rest))))
    return calls


def bars(calls):
    """Each scan step's bar: the last line before the step's present, as (y, x1, x2) twips."""
    found, last = [], None
    for call in calls:
        if call[0] in (LINE, COLOURED_LINE):
            last = call
        elif call[0] == PRESENT and last is not None:
            found.append((last[2], min(last[1], last[3]), max(last[1], last[3])))
            last = None
    return found


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.driver = browser()

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def setUp(self):
        self.driver.get(PAGE.as_uri())
        WebDriverWait(self.driver, 20).until(
            lambda d: d.execute_script("return document.documentElement.dataset.ready"))

    def run_timed(self, click=True, sample_x=None, press=None):
        """Starts a run (a click on Start, or `press` then) and waits for its end event: how
        long it took, how many frames came between, and how many different pictures of one
        canvas column those frames showed."""
        self.driver.execute_script("""
            const [click, sampleX] = arguments;
            const canvas = document.getElementById('picture');
            const context = canvas.getContext('2d');
            const seen = new Set();
            let frames = 0;
            const sample = () => {
                if (sampleX === null) return;
                const column = context.getImageData(sampleX, 0, 1, canvas.height).data;
                let dark = 0;
                for (let i = 0; i < column.length; i += 4) dark += column[i] < 96;
                seen.add(dark);
            };
            window.runEnd = null;
            const frame = () => {
                if (window.runEnd) return;
                frames++;
                sample();
                requestAnimationFrame(frame);
            };
            const t0 = performance.now();
            document.addEventListener('velmora-run-end', (e) => {
                const ms = performance.now() - t0;
                sample();
                window.runEnd = {ms, frames, pictures: seen.size, summary: e.detail.summary};
            }, {once: true});
            requestAnimationFrame(frame);
            if (click) document.getElementById('cmdStart').click();
        """, click, sample_x)
        if press:
            press()
        return WebDriverWait(self.driver, 20, poll_frequency=0.05).until(
            lambda d: d.execute_script("return window.runEnd"))


class Calls(PageTest):
    """The page's core makes the native run's drawing calls, in the same order."""

    def test_calls(self):
        for fi, distance in (("0.6", "350"), ("5", "300"), ("0.03", "400"), ("0.2", "350")):
            with self.subTest(fi=fi, distance=distance):
                traced = self.driver.execute_script(
                    "return velmora.trace(arguments[0], arguments[1], '1')", fi, distance)
                page = decode_words(base64.b64decode(traced["words"]))
                native = native_calls(fi, distance, "1")
                self.assertEqual(len(page), len(native))
                self.assertEqual([c[0] for c in page], [c[0] for c in native])
                differing, largest = 0, 0.0
                for p, n in zip(page, native):
                    n_floats = FLOATS.get(p[0], 0)
                    self.assertEqual(p[1 + n_floats:], n[1 + n_floats:], msg=str(p))
                    for a, b in zip(p[1:1 + n_floats], n[1:1 + n_floats]):
                        if a != b:
                            differing += 1
                            largest = max(largest, abs(a - b))
                floats = sum(FLOATS.get(c[0], 0) for c in native)
                print(f"fi {fi}, distance {distance}: {len(native)} calls, {differing} of "
                      f"{floats} float coordinates differ, by at most {largest:g} twips")
                # A twip is a fifteenth of a pixel: a difference below it cannot show.
                self.assertLess(largest, 1.0)


class Bars(PageTest):
    """After a default run the canvas shows each bar where the native run draws it."""

    def test_bars(self):
        self.run_timed()
        expected = bars(native_calls("0.6", "350", "1"))
        self.assertEqual(len(expected), 221)
        rows = self.driver.execute_script("""
            const canvas = document.getElementById('picture');
            const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            return arguments[0].map(([y, x1]) => {
                const row = Math.floor(y / 15), start = Math.floor(x1 / 15);
                let end = start;  // the last dark pixel of the run that starts at the bar
                while (end + 1 < canvas.width && data[(row * canvas.width + end + 1) * 4] < 96) end++;
                return [data[(row * canvas.width + start) * 4] < 96, end];
            });
        """, [list(b) for b in expected])
        wrong = []
        for (y, x1, x2), (starts_dark, end) in zip(expected, rows):
            # A bar shorter than a pixel may vanish into the axis under it.
            if x2 - x1 >= 15 and (not starts_dark or abs(end - math.floor(x2 / 15)) > 1):
                wrong.append((y, x1, x2, end))
        self.assertEqual(wrong, [], "bars whose pixels end elsewhere than the native bar")


class Pace(PageTest):
    """The speed control's two ends: at once, and about 3.9 s shown step by step."""

    def test_pace(self):
        plot_column = math.floor(max(b[1] for b in bars(native_calls("0.6", "350", "1"))) / 15) + 2
        for key, least_ms, most_ms, most_frames, least_pictures in (
                (Keys.HOME, 0, None, 2, 1), (Keys.END, 3500, 4700, None, 100)):
            with self.subTest(end="left" if key == Keys.HOME else "right"):
                speed = self.driver.find_element("id", "HScroll1")
                speed.send_keys(key)
                run = self.run_timed(sample_x=plot_column)
                print(f"speed {speed.get_attribute('value')}: {run['ms']:.0f} ms, "
                      f"{run['frames']} frames, {run['pictures']} pictures")
                self.assertGreaterEqual(run["ms"], least_ms)
                if most_ms is not None:
                    self.assertLessEqual(run["ms"], most_ms)
                if most_frames is not None:
                    self.assertLessEqual(run["frames"], most_frames)
                self.assertGreaterEqual(run["pictures"], least_pictures)


class Accessibility(PageTest):
    """Chromium's accessibility tree, read through the DevTools protocol, tells the run."""

    def test_tree_after_run(self):
        summary = self.run_timed()["summary"]
        self.assertTrue(summary.startswith("Drawn with frequency middle and distance 350."))
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        by_id = {n["nodeId"]: n for n in nodes}
        value = lambda n, key: n.get(key, {}).get("value", "")

        def text_under(node):
            return value(node, "name") + "".join(
                text_under(by_id[c]) for c in node.get("childIds", []) if c in by_id)

        for role, name, check in (
                ("image", "Diffraction picture", lambda n: value(n, "description")),
                ("status", "", text_under),
                ("slider", "Animation speed", lambda n: value(n, "description"))):
            with self.subTest(role=role):
                found = [n for n in nodes if value(n, "role") == role
                         and (not name or value(n, "name") == name)]
                self.assertEqual(len(found), 1, f"{role} {name!r}")
                expected = ("Moving right slows the run" if role == "slider" else summary)
                self.assertIn(expected, check(found[0]))


class Keyboard(PageTest):
    """Keyboard only: Tab goes the desktop's way to Start, and Return or Space runs."""

    def test_keys(self):
        for key in (Keys.RETURN, Keys.SPACE):
            with self.subTest(key="Return" if key == Keys.RETURN else "Space"):
                self.setUp()
                focused = lambda: self.driver.switch_to.active_element.get_attribute("id")
                self.assertEqual(focused(), "cmdStart")  # where the desktop starts too
                stops = []
                for _ in range(8):  # round the page once, past the document itself
                    self.driver.switch_to.active_element.send_keys(Keys.TAB)
                    if focused() == "cmdStart":
                        break
                    stops.append(focused())
                self.assertEqual([s for s in stops if s], ["cmdKonec", "op06", "opV350", "HScroll1"])
                start = self.driver.switch_to.active_element
                self.assertEqual(start.get_attribute("id"), "cmdStart")
                run = self.run_timed(click=False, press=lambda: start.send_keys(key))
                self.assertIn("Drawn with", run["summary"])


class Offline(PageTest):
    """Opened alone from file://, the page asks the network for nothing."""

    def test_fetches_nothing(self):
        self.driver.get_log("performance")  # what the browser itself did at its start
        self.setUp()
        self.run_timed()
        requests = [e for e in self.driver.get_log("performance")
                    if '"Network.requestWillBeSent"' in e["message"]]
        urls = [json_url(e["message"]) for e in requests]
        # The page itself, and the module's own inline binary read back as a data: URL.
        outside = [u for u in urls if u != PAGE.as_uri() and not u.startswith("data:")]
        self.assertIn(PAGE.as_uri(), urls)
        self.assertEqual(outside, [])
        self.assertEqual(self.driver.execute_script(
            "return performance.getEntriesByType('resource').length"), 0)
        errors = [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])


def json_url(message):
    import json
    return json.loads(message)["message"]["params"]["request"]["url"]


if __name__ == "__main__":
    if PAGE is None or not PAGE.exists():
        print(f"skipped: no page at {PAGE}; build it with ./dev web")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]], verbosity=2)
