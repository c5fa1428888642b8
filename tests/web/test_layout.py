#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The page at window sizes, device ratios and zoom levels, in headless Chromium.
    test_layout.py PAGE CALL_DUMP VELMORA [unittest arguments]    (77: no page built)"""

import base64
import sys
import unittest

sys.dont_write_bytecode = True
from test_page import PAGE, PageTest  # noqa: E402

from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

# Width, height, device pixel ratio, and whether a phone's.
SIZES = {"765x560": (765, 560, 1), "1024x768": (1024, 768, 1), "1280x720": (1280, 720, 1),
         "1366x768": (1366, 768, 1), "1440x900": (1440, 900, 1), "1920x1080": (1920, 1080, 1),
         "1280x800 at 1.25": (1280, 800, 1.25), "phone 390x844 at 3": (390, 844, 3, True)}

# Of the canvas's drawn pixels (not its grey) under element `id`, how many a screenshot (a
# base64 PNG) shows as drawn, and how many otherwise.
DRAWN_SHOWN = """
    const [png, id, done] = arguments, ratio = devicePixelRatio, image = new Image();
    const box = (id) => document.getElementById(id).getBoundingClientRect();
    const [x, y, w, h] = ['x', 'y', 'width', 'height'].map((k) => Math.round(box(id)[k] * ratio));
    const own = document.getElementById('picture').getContext('2d').getImageData(x - Math.round(
        box('picture').x * ratio), y - Math.round(box('picture').y * ratio), w, h).data;
    image.onload = () => {
        const c = new OffscreenCanvas(w, h).getContext('2d');
        c.drawImage(image, -x, -y);
        const shown = c.getImageData(0, 0, w, h).data, counts = [0, 0];
        for (let i = 0; i < own.length; i += 4)
            counts[+[0, 1, 2].some((k) => own[i + k] !== shown[i + k])] += own[i + 2] !== 0xc0;
        done(counts);
    };
    image.src = 'data:image/png;base64,' + png;"""


class Layout(PageTest):
    def setUp(self):
        pass  # each test opens the page at its own size

    def emulate(self, width, height, ratio=1, phone=False):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": phone})

    def open(self, *size):
        self.emulate(*size)
        PageTest.setUp(self)

    def run_with(self, *captions):
        self.driver.execute_script("""for (const caption of arguments) [...document
            .querySelectorAll('label.option')].find((l) => l.textContent === caption)
            .control.click();""", *captions)
        return self.run_timed()

    def drawn_shown(self, id):
        shot = base64.b64encode(self.driver.get_screenshot_as_png()).decode()
        return self.driver.execute_async_script(DRAWN_SHOWN, shot, id)

    def zoom(self, level):
        """The browser's own zoom, as Ctrl++ sets it, from its settings page in another tab."""
        page = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        self.driver.get("chrome://settings/")
        self.driver.execute_async_script(
            "chrome.settingsPrivate.setDefaultZoom(arguments[0], arguments[1])", level)
        self.driver.close()
        self.driver.switch_to.window(page)
        WebDriverWait(self.driver, 5).until(
            lambda d: d.execute_script("return devicePixelRatio") == level)

    def test_rerun(self):
        """After another run the screen is a fresh page's, and the canvas shows unscaled."""
        for name, size in SIZES.items():
            with self.subTest(size=name):
                self.open(*size)
                self.run_with("higher", "300")
                self.run_with("lower", "400")
                after = self.driver.get_screenshot_as_png()
                self.open(*size)
                self.run_with("lower", "400")
                self.assertTrue(after == self.driver.get_screenshot_as_png(), "ghosts")
                self.driver.execute_script("""for (const e of document.querySelectorAll(
                    '#frmVelmora > :not(#picture)')) e.style.visibility = 'hidden';""")
                self.assertEqual(self.drawn_shown("picture")[1], 0, "resampled")

    def test_zoom(self):
        """The form fills a large window, and 200 % zoom, after or before the page opens,
        still makes Start twice as large on screen."""
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        self.driver.set_window_size(1920, 1080)
        # The form with Explore's collapsed panel below it.
        start = """const r = document.getElementById('frmVelmora').getBoundingClientRect();
            const bottom = document.getElementById('explore').getBoundingClientRect().bottom;
            return [document.getElementById('cmdStart').offsetHeight * devicePixelRatio,
                    bottom <= innerHeight && r.right <= innerWidth
                    && (bottom > innerHeight - 1 || r.width > innerWidth - 1)];"""
        PageTest.setUp(self)
        at100, fitted = self.driver.execute_script(start)
        self.zoom(2)
        zoomed = self.driver.execute_script(start)[0]
        PageTest.setUp(self)
        opened = self.driver.execute_script(start)[0]
        self.zoom(1)
        print(f"Start: {at100} device px, zoomed {zoomed}, opened zoomed {opened}")
        self.assertEqual([fitted, round(zoomed / at100, 1), round(opened / at100, 1)],
                         [True, 2, 2])

    def test_narrow(self):
        """Narrower than the form nothing scrolls sideways and each option is a target of at
        least 24 × 24 CSS px; a phone's first screen holds Start, Exit and the picture, also
        after it is turned upright, and taps act as clicks do."""
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
        for name, size, turned in (("1280 at 400 %", (320, 256, 4), None),
                                   ("phone turned", (844, 390, 3, True), (390, 844, 3, True))):
            with self.subTest(name):
                self.open(*size)
                if turned:
                    self.emulate(*turned)
                    self.driver.execute_async_script("requestAnimationFrame(arguments[0])")
                wide, small, picture, below = self.driver.execute_script("""
                    const page = document.documentElement, box = (id) => document
                        .getElementById(id).getBoundingClientRect();
                    const small = [...document.querySelectorAll('label.option')].filter((l) =>
                        l.checkVisibility()).map((l) => l.getBoundingClientRect())
                        .filter((b) => b.width < 24 || b.height < 24);
                    return [page.scrollWidth > page.clientWidth, small.length, box('picture')
                        .width, Math.max(...['cmdStart', 'cmdKonec', 'picture'].map((id) =>
                        box(id).bottom)) - innerHeight];""")
                self.assertEqual((wide, small), (False, 0))
        self.assertGreaterEqual(picture, 340)
        self.assertLessEqual(below, 0)
        run = self.run_timed(click=False, press=lambda: [self.tap(e) for e in (
            "op003", "opV400", "cmdStart")])
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        self.assertIn("frequency lower and distance 400", run["summary"])

    def tap(self, id):
        x, y = self.driver.execute_script("""const e = document.getElementById(arguments[0]);
            e.scrollIntoView({block: 'center'});
            const r = (e.type === 'radio' ? e.parentElement : e).getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];""", id)
        for kind, points in (("touchStart", [{"x": x, "y": y}]), ("touchEnd", [])):
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                        {"type": kind, "touchPoints": points})

    def test_labels(self):
        """Labels are letters over the picture: under the prompt the screen shows the run's
        rays. The title is the one h1, and with a reader's text spacing it and the prompt stay
        whole: the edges of each of their lines on screen, under nothing else."""
        for name in ("765x560", "phone 390x844 at 3"):
            with self.subTest(size=name):
                self.open(*SIZES[name])
                self.run_timed()
                if name == "765x560":
                    self.assertGreater(self.drawn_shown("LabStart")[0], 400)
                    self.assertEqual(self.driver.execute_script(
                        "return [...document.querySelectorAll('h1')].map((h) => h.textContent)"),
                        ["Aperture diffraction"])
                self.assertEqual(self.driver.execute_script("""
                    const style = document.createElement('style');
                    style.textContent = `* { line-height: 1.5 !important; letter-spacing:
                        0.12em !important; word-spacing: 0.16em !important; }
                        p { margin-bottom: 2em !important; }`;
                    document.head.append(style);
                    return ['labNeurcitost', 'LabStart'].flatMap((id) => {
                        const e = document.getElementById(id), range = new Range();
                        range.selectNodeContents(e);
                        return [...range.getClientRects()].flatMap((r) => {
                            const x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
                            return [[r.left + 1, y], [r.right - 1, y], [x, r.top + 2],
                                    [x, r.bottom - 2]];
                        }).filter(([x, y]) => !e.contains(document.elementFromPoint(x, y)))
                            .map(([x, y]) => `${id} at ${x}, ${y}`);
                    });"""), [])


if __name__ == "__main__":
    if not PAGE.exists():
        print(f"skipped: no page at {PAGE}; build it with ./dev web")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]], verbosity=2)
