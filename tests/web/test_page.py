#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The browser edition in headless Chromium, network off, against the native core and program.
    test_page.py PAGE CALL_DUMP VELMORA [unittest arguments]    (77: no page built)"""

import base64
import json
import math
import os
import pathlib
import struct
import subprocess
import sys
import tempfile
import unittest

# The reuse check reads the source tree while these tests run: no bytecode beside the scripts.
sys.dont_write_bytecode = True
from chromium import browser  # noqa: E402

from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

PAGE, CALL_DUMP, VELMORA = pathlib.Path(sys.argv[1]).resolve(), sys.argv[2], sys.argv[3]

# Word counts of each drawing command, opcode included (web/command_recorder.h).
SIZES = {1: 2, 2: 2, 3: 2, 4: 2, 5: 5, 6: 6, 7: 4, 8: 1}
FLOATS = {5: 4, 6: 4, 7: 3}  # operands after the opcode that are floats
CIRCLE = 7


def decode_words(data):
    """Calls as tuples (opcode, operands...), floats widened exactly to Python floats."""
    words, calls, i = struct.unpack(f"<{len(data) // 4}I", data), [], 0
    while i < len(words):
        op, n = words[i], FLOATS.get(words[i], 0)
        floats = struct.unpack(f"<{n}f", struct.pack(f"<{n}I", *words[i + 1:i + 1 + n]))
        calls.append((op, *floats, *words[i + 1 + n:i + SIZES[op]]))
        i += SIZES[op]
    return calls


def native_calls(fi, distance, count, *explore):
    """A native run's calls; with `explore` (wavelength, aperture, distance in twips, theory),
    an Explore run's."""
    out = subprocess.run([CALL_DUMP, fi, distance, count, *map(str, explore)], check=True,
                         capture_output=True, text=True).stdout
    return [(int(op), *(float.fromhex(v) if k < FLOATS.get(int(op), 0) else int(v)
                        for k, v in enumerate(rest))) for op, *rest in map(str.split, out.splitlines())]


def plot_axis(calls):
    """The x, in twips, of the scan's dots: where every intensity bar starts."""
    circles = [c for c in calls if c[0] == CIRCLE]
    return circles[-1][1]


def native_picture():
    """The desktop window after one default run, as a PNG, drawn without a display."""
    with tempfile.TemporaryDirectory() as folder:
        picture = pathlib.Path(folder) / "window.png"
        subprocess.run([VELMORA, "--output", str(picture)], check=True, capture_output=True)
        return picture.read_bytes()


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.driver = browser()
        cls.addClassCleanup(cls.driver.quit)

    def setUp(self):
        self.driver.get(PAGE.as_uri())
        WebDriverWait(self.driver, 20).until(
            lambda d: d.execute_script("return document.documentElement.dataset.ready"))

    def run_timed(self, click=True, sample_x=None, press=None):
        """Starts a run (a click on Start, or `press`) and waits for its end event: how long it
        took, how many frames came between, how many different pictures of one canvas column
        they showed."""
        self.driver.execute_script("""
            const [click, x] = arguments, seen = new Set(), t0 = performance.now();
            const context = document.getElementById('picture').getContext('2d');
            let frames = 0;
            const sample = () => x !== null && seen.add(context.getImageData(x, 0, 1, 560).data
                .filter((v, i) => i % 4 === 0 && v < 96).length);  // dark pixels in the column
            window.runEnd = null;
            const frame = () => window.runEnd || (frames++, sample(), requestAnimationFrame(frame));
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


# Explore's values in twips, as the page's run takes them, with the theory curve or without.
NM = 2 * math.pi / (550 * 0.05)
EXPLORE_RUNS = {"600 nm, 5 µm, 10 µm, theory": (600 * NM, 5000 * NM, 10000 * NM, 1),
                "5 nm, widest, nearest": (5 * NM, 17500 * NM, 1200 * NM, 0)}


class Calls(PageTest):
    """The page's core makes the native run's drawing calls, in the same order."""

    def test_calls(self):
        runs = [(fi, distance, ()) for fi, distance in
                (("0.6", "350"), ("5", "300"), ("0.03", "400"), ("0.2", "350"))]
        runs += [("0.6", "350", explore) for explore in EXPLORE_RUNS.values()]
        for fi, distance, explore in runs:
            with self.subTest(fi=fi, distance=distance, explore=explore):
                traced = self.driver.execute_script(
                    "return velmora.trace(arguments[0], arguments[1], '1', arguments[2])", fi,
                    distance, {"values": explore[:3], "theory": bool(explore[3])} if explore else None)
                page = decode_words(base64.b64decode(traced["words"]))
                native = native_calls(fi, distance, "1", *explore)
                self.assertEqual([c[0] for c in page], [c[0] for c in native])
                pairs = [(a, b) for p, n in zip(page, native) for a, b in zip(p[1:], n[1:])
                         if isinstance(b, float)]
                self.assertEqual([c[1 + FLOATS.get(c[0], 0):] for c in page],
                                 [c[1 + FLOATS.get(c[0], 0):] for c in native])
                differing = sum(a != b for a, b in pairs)
                largest = max(abs(a - b) for a, b in pairs)
                print(f"fi {fi}, distance {distance}: {len(native)} calls, {differing} of "
                      f"{len(pairs)} float coordinates differ, by at most {largest:g} twips")
                # Both sides' sines and cosines are within an ulp: no float may tell them apart.
                self.assertEqual(differing, 0)


class Bars(PageTest):
    """After a default run the page's canvas has the bars where the desktop's picture has them."""

    def test_bars(self):
        self.run_timed()
        axis = math.floor(plot_axis(native_calls("0.6", "350", "1")) / 15)
        # Along every pixel row of the plot, where the dark run that starts at the axis ends,
        # in the desktop's picture and in the page's canvas.
        ends = self.driver.execute_async_script("""
            const [png, axis, done] = arguments;
            const ends = (data, width, height) => Array.from({length: height}, (_, y) => {
                const dark = (x) => data[(y * width + x) * 4] < 96;
                let x = axis - 1;
                while (x + 1 < width && (dark(x + 1) || dark(x + 2))) x++;
                return x;
            });
            const canvas = document.getElementById('picture');
            const page = canvas.getContext('2d').getImageData(0, 0, 765, 560).data;
            const image = new Image();
            image.onload = () => {
                const native = new OffscreenCanvas(765, 560).getContext('2d');
                native.drawImage(image, 0, 0);
                done([ends(native.getImageData(0, 0, 765, 560).data, 765, 560),
                      ends(page, 765, 560)]);
            };
            image.src = 'data:image/png;base64,' + png;
        """, base64.b64encode(native_picture()).decode(), axis)
        native, page = ends
        bar_rows = [y for y, end in enumerate(native) if end > axis + 2]
        self.assertGreater(len(bar_rows), 150)  # the run drew a pattern at all
        wrong = [(y, native[y], page[y]) for y in range(560) if abs(native[y] - page[y]) > 1]
        print(f"{len(bar_rows)} rows with bars; {len(wrong)} rows end more than a pixel apart")
        self.assertEqual(wrong, [])


class Pace(PageTest):
    """The speed control's two ends: a run at once, and one of about 3.9 s shown as it goes."""

    def speed_run(self, key):
        self.driver.find_element("id", "HScroll1").send_keys(key)
        column = math.floor(plot_axis(native_calls("0.6", "350", "1")) / 15) + 3
        run = self.run_timed(sample_x=column)
        run["text"] = self.driver.find_element("id", "HScroll1").get_attribute("aria-valuetext")
        print(f"{run['text']}: {run['ms']:.0f} ms, {run['frames']} frames, "
              f"{run['pictures']} pictures of the plot")
        return run

    def test_left_end_at_once(self):
        run = self.speed_run(Keys.HOME)
        self.assertEqual(run["text"], "instant")
        self.assertLessEqual(run["frames"], 2)

    def test_right_end_paced(self):
        run = self.speed_run(Keys.END)
        self.assertEqual(run["text"], "about 3.9 s")
        self.assertTrue(3500 <= run["ms"] <= 4700, run["ms"])
        self.assertGreaterEqual(run["pictures"], 100)  # 221 steps over about 235 frames


    def test_wording_at_500(self):
        """The desktop says the same there: both read the core's rule."""
        text = self.driver.execute_script("""
            const speed = document.getElementById('HScroll1');
            speed.value = 500;
            speed.dispatchEvent(new Event('input'));
            return speed.getAttribute('aria-valuetext');""")
        self.assertEqual(text, "about 0.1 s")


class Layout(PageTest):
    """Built from the core's table, the controls stand where the desktop's do, a pixel to 15
    twips, and only those shown at start show."""

    # In twips from the form's corner, as the description gives them; None: hidden.
    PLACES = {"cmdStart": (8400, 0, 975, 495), "HScroll1": (3480, 480, 2415, 255),
              "labNeurcitost": (3480, 120, 2775, 375), "frmVzdalenost": (120, 1800, 1815, 1215),
              "opV350": (120 + 600, 1800 + 600, 855, 255), "op003": (120 + 600, 120 + 1200, 735, 255),
              "labClona": None, "frmAnimace": None}

    def test_places(self):
        boxes = self.driver.execute_script("""
            const form = document.getElementById('frmVelmora').getBoundingClientRect();
            return arguments[0].map((id) => {
                const e = document.getElementById(id);
                const r = (e.type === 'radio' ? e.parentElement : e).getBoundingClientRect();
                return e.checkVisibility() ? [r.left - form.left, r.top - form.top, r.width,
                                              r.height] : null;
            });""", list(self.PLACES))
        for (name, twips), box in zip(self.PLACES.items(), boxes):
            with self.subTest(control=name):
                self.assertEqual(box, twips and [round(t / 15) for t in twips])


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
                self.assertEqual([s for s in stops if s],
                                 ["cmdKonec", "cmdSave", "op06", "opV350", "HScroll1"])
                self.assertEqual(focused(), "cmdStart")
                start = self.driver.switch_to.active_element
                run = self.run_timed(click=False, press=lambda: start.send_keys(key))
                self.assertIn("Drawn with", run["summary"])


class Explore(PageTest):
    """The panel below the form: collapsed at first, its sliders named and saying lengths with
    their units, its runs named in the summary, and the presets back once it is closed."""

    def sliders(self):
        """Each slider's accessible name, from Chromium's tree, with its value text."""
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
        value = lambda n, key: n.get(key, {}).get("value", "")
        names = [value(n, "name") for n in nodes if value(n, "role") == "slider"]
        texts = self.driver.execute_script("""
            return [0, 1, 2].map((i) => document.getElementById(`exploreSlider${i}`)
                                            .getAttribute('aria-valuetext'));""")
        return dict(zip(names[1:], texts)) if names[0] == "Animation speed" else {}

    def test_panel(self):
        details = self.driver.find_element("id", "exploreDetails")
        self.assertIsNone(details.get_attribute("open"))
        self.assertFalse(self.driver.execute_script(
            "return document.getElementById('exploreSlider0').checkVisibility()"))
        self.driver.find_element("css selector", "#exploreDetails summary").click()
        self.assertEqual(self.sliders(), {"Wavelength": "550 nm", "Aperture width": "8.754 µm",
                                          "Detector distance": "8.754 µm"})
        # Typed text needs its unit; what is wrong is said, and the value stays.
        field = self.driver.find_element("id", "exploreText0")
        for typed, shown, alert in (("550", "550", True), ("0.6um", "600 nm", False)):
            field.clear()
            field.send_keys(typed, Keys.ENTER)
            self.assertEqual(field.get_attribute("value"), shown)
            message = self.driver.find_element("id", "exploreMessage")
            self.assertEqual(message.is_displayed(), alert)
            self.assertEqual(self.sliders()["Wavelength"], "550 nm" if alert else "600 nm")
        self.assertEqual(message.get_attribute("role"), "alert")
        aperture = self.driver.find_element("id", "exploreSlider1")
        aperture.send_keys(Keys.HOME)
        self.assertEqual(self.sliders()["Aperture width"], "1.000 µm")
        self.assertEqual(self.driver.find_element("id", "exploreText1").get_attribute("value"),
                         "1.000 µm")
        self.driver.find_element("id", "exploreTheory").click()
        summary = self.run_timed()["summary"]
        self.assertTrue(summary.startswith("Drawn with wavelength 600 nm, aperture width "
                                           "1.000 µm and detector distance 8.754 µm."), summary)
        # A preset chosen while it is open moves its value there.
        self.driver.find_element("id", "op003").click()
        self.assertEqual(self.sliders()["Wavelength"], "18.3 µm")
        self.driver.find_element("css selector", "#exploreDetails summary").click()
        summary = self.run_timed()["summary"]
        self.assertTrue(summary.startswith("Drawn with frequency lower and distance 350."),
                        summary)


class Unsupported(PageTest):
    """A browser without WebAssembly SIMD, which refuses any module with a SIMD instruction,
    gets a message that says what it needs, and no control that could act."""

    def setUp(self):
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
            const validate = WebAssembly.validate;
            WebAssembly.validate = (bytes) => !new Uint8Array(bytes).includes(0xfd)
                && validate(bytes);
            for (const name of ['compile', 'instantiate'])
                WebAssembly[name] = () => Promise.reject(new WebAssembly.CompileError('SIMD'));
        """})
        self.driver.get(PAGE.as_uri())

    def test_message(self):
        message = self.driver.find_element("id", "unsupported")
        self.assertTrue(message.is_displayed())
        self.assertIn("WebAssembly SIMD", message.text)
        self.assertEqual(message.get_attribute("role"), "alert")
        # The controls come from the core, which such a browser cannot load: none can act.
        self.assertEqual(self.driver.execute_script(
            "return document.querySelectorAll('main :is(button, input):enabled').length"), 0)
        self.assertIsNone(self.driver.execute_script(
            "return document.documentElement.dataset.ready"))
        errors = [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])


class Picture(PageTest):
    """The README's picture of the page is what the page shows after a default run. With
    VELMORA_REDRAW=1 (./dev picture) it is taken again instead."""

    COMMITTED = pathlib.Path(__file__).resolve().parents[2] / "docs" / "velmora-web.png"

    def setUp(self):
        # The viewport alone, the desktop's window and Explore's bar below it, whatever the
        # browser's frame.
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 765, "height": 600, "deviceScaleFactor": 1, "mobile": False})
        super().setUp()

    def test_picture(self):
        self.run_timed()
        shot = self.driver.get_screenshot_as_png()
        if os.environ.get("VELMORA_REDRAW") == "1":
            self.COMMITTED.write_bytes(shot)
            return
        # Pixels that differ clearly, or -1 when the sizes do.
        differing = self.driver.execute_async_script("""
            const done = arguments[2];
            const pixels = (png) => new Promise((resolve) => {
                const image = new Image();
                image.onload = () => {
                    const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
                    c.drawImage(image, 0, 0);
                    resolve(c.getImageData(0, 0, image.width, image.height));
                };
                image.src = 'data:image/png;base64,' + png;
            });
            Promise.all([pixels(arguments[0]), pixels(arguments[1])]).then(([a, b]) => {
                if (a.width !== b.width || a.height !== b.height) return done(-1);
                let n = 0;
                for (let i = 0; i < a.data.length; i += 4)
                    n += [0, 1, 2].some((c) => Math.abs(a.data[i + c] - b.data[i + c]) > 64);
                done(n);
            });
        """, *(base64.b64encode(png).decode() for png in (shot, self.COMMITTED.read_bytes())))
        self.assertTrue(0 <= differing <= 8, f"{differing} pixels of {self.COMMITTED.name} differ "
                        "from what the page shows: ./dev picture takes it again")


class Offline(PageTest):
    """Opened alone from file://, the page asks the network for nothing."""

    def test_fetches_nothing(self):
        self.driver.get_log("performance")  # what the browser itself did at its start
        self.setUp()
        self.run_timed()
        urls = [json.loads(e["message"])["message"]["params"]["request"]["url"]
                for e in self.driver.get_log("performance")
                if '"Network.requestWillBeSent"' in e["message"]]
        # The page itself, and the module's own inline binary read back as a data: URL.
        outside = [u for u in urls if u != PAGE.as_uri() and not u.startswith("data:")]
        self.assertIn(PAGE.as_uri(), urls)
        self.assertEqual(outside, [])
        self.assertEqual(self.driver.execute_script(
            "return performance.getEntriesByType('resource').length"), 0)
        errors = [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])


if __name__ == "__main__":
    if not PAGE.exists():
        print(f"skipped: no page at {PAGE}; build it with ./dev web")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]], verbosity=2)
