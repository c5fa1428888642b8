#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The page's runs that stop and clicks that do not pile up, and the picture kept through its
menu, in headless Chromium against the native program.
    test_keep_and_stop.py PAGE CALL_DUMP VELMORA [unittest arguments]    (77: no page built)"""

import base64
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import unittest

# The reuse check reads the source tree while these tests run: no bytecode beside the scripts.
sys.dont_write_bytecode = True
from test_page import PAGE, VELMORA, PageTest  # noqa: E402

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

# The speed bar's values for a run of about a second, and of about four.
SECOND, SLOWEST = 8400, 32767


def velmora(*arguments):
    return subprocess.run([VELMORA, *arguments], check=True, capture_output=True).stdout


class Runs(PageTest):
    """During a run Escape stops it, Start is remembered once, and Exit acts at its end."""

    def ends_after(self, press, runs, speed=SECOND):
        """Starts a run, makes `press` during it, waits for `runs` run-end events, and checks
        that no further run has begun: the events' details."""
        self.driver.execute_script("""
            const speed = document.getElementById('HScroll1');
            speed.value = arguments[0];
            speed.dispatchEvent(new Event('change'));
            window.ends = [];
            document.addEventListener('velmora-run-end', (e) => window.ends.push(e.detail));
            document.getElementById('cmdStart').click();""", speed)
        press()
        WebDriverWait(self.driver, 20).until(
            lambda d: d.execute_script("return ends.length") >= runs)
        time.sleep(0.3)  # a run held to the end begins at once
        self.assertIsNone(self.driver.find_element("id", "frmVelmora").get_attribute("aria-busy"))
        return self.driver.execute_script("return ends")

    def clicks(self, *ids):
        """Clicks as the browser's own input, a few milliseconds apart."""
        def click():
            for id in ids:
                x, y = self.driver.execute_script("""
                    const r = document.getElementById(arguments[0]).getBoundingClientRect();
                    return [r.x + r.width / 2, r.y + r.height / 2];""", id)
                for kind in ("mousePressed", "mouseReleased"):
                    self.driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
                        "type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})
        return click

    def test_starts_are_remembered_once(self):
        ends = self.ends_after(self.clicks(*["cmdStart"] * 20), 2, SLOWEST)
        self.assertEqual([e["stopped"] for e in ends], [False, False])

    def test_exit_acts_at_the_end_with_no_run_after(self):
        ends = self.ends_after(self.clicks("cmdStart", "cmdStart", "cmdKonec", "cmdStart"), 1)
        self.assertEqual(len(ends), 1)
        self.assertTrue(self.driver.find_element("id", "ended").is_displayed())
        self.assertEqual(self.driver.execute_script(
            "return document.querySelectorAll('main :is(button, input):enabled').length"), 0)

    def test_escape_stops_and_keeps_what_was_drawn(self):
        ends = self.ends_after(
            lambda: (time.sleep(0.3), self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)),
            1)
        self.assertEqual(len(ends), 1)
        self.assertTrue(ends[0]["stopped"])
        drawn = int(re.search(r"stopped after (\d+) of the 221", ends[0]["summary"])[1])
        self.assertLess(drawn, 200)
        self.assertEqual(self.driver.find_element("id", "picture").accessible_name,
                         "Diffraction picture")
        # The bars stand from the bottom (y 7000 twips) up to the last one drawn, and no higher.
        rows = self.driver.execute_script("""
            const data = document.getElementById('picture').getContext('2d')
                .getImageData(501, 0, 1, 560).data;
            return Array.from({length: 560}, (_, y) => y).filter((y) => data[y * 4] < 96);""")
        top = (7000 - 25 * (drawn - 1)) / 15
        self.assertLessEqual(abs(min(rows) - top), 2, (min(rows), top))
        self.assertGreaterEqual(max(rows), 7000 / 15 - 2)


class Keep(PageTest):
    """The menu's five ways to keep the picture, after a run with lower and 400."""

    def setUp(self):
        super().setUp()
        self.folder = tempfile.TemporaryDirectory(prefix="velmora-keep-")
        self.addCleanup(self.folder.cleanup)
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": self.folder.name})
        self.driver.execute_cdp_cmd("Browser.grantPermissions",
                                    {"permissions": ["clipboardReadWrite",
                                                     "clipboardSanitizedWrite"]})
        for option in ("op003", "opV400"):
            self.driver.find_element("id", option).click()
        self.run_timed()

    def choose(self, item):
        """The menu item, from the Save… button with the keyboard."""
        self.driver.find_element("id", "cmdSave").send_keys(Keys.ENTER)
        for _ in range(item):
            self.driver.switch_to.active_element.send_keys(Keys.ARROW_DOWN)
        self.driver.switch_to.active_element.send_keys(Keys.ENTER)

    def saved(self, name):
        path = pathlib.Path(self.folder.name) / name
        WebDriverWait(self.driver, 10).until(lambda d: path.exists())
        return path.read_bytes()

    def test_files(self):
        with tempfile.TemporaryDirectory() as folder:
            svg = pathlib.Path(folder) / "w.svg"
            velmora("--frequency", "lower", "--distance", "400", "-o", str(svg))
            desktop_svg = svg.read_bytes()
        desktop_csv = velmora("--frequency", "lower", "--distance", "400", "--intensities", "-")
        for item, name, expected in ((1, "velmora-lower-400.svg", desktop_svg),
                                     (2, "velmora-lower-400.csv", desktop_csv)):
            with self.subTest(file=name):
                self.choose(item)
                self.assertEqual(self.saved(name), expected)

    def test_png_is_the_canvas_at_its_size(self):
        self.choose(0)
        png = base64.b64encode(self.saved("velmora-lower-400.png")).decode()
        # The plot, where no control or label lies, pixel for pixel as the canvas shows it.
        differing = self.driver.execute_async_script("""
            const [png, done] = arguments;
            const image = new Image();
            image.onload = () => {
                const c = new OffscreenCanvas(765, 560).getContext('2d');
                c.drawImage(image, 0, 0);
                const file = c.getImageData(480, 110, 285, 400).data;
                const shown = document.getElementById('picture').getContext('2d')
                    .getImageData(480, 110, 285, 400).data;
                done([image.width, image.height, file.filter((v, i) => v !== shown[i]).length]);
            };
            image.src = 'data:image/png;base64,' + png;""", png)
        self.assertEqual(differing, [765, 560, 0])

    def test_copy_and_print(self):
        self.choose(3)
        WebDriverWait(self.driver, 10).until(lambda d: d.execute_script(
            "return document.getElementById('announcer').textContent") == "The picture is copied.")
        copied = self.driver.execute_async_script("""
            const done = arguments[0];
            navigator.clipboard.read().then(async ([item]) => {
                const image = await createImageBitmap(await item.getType('image/png'));
                done([image.width, image.height]);
            }, (error) => done(String(error)));""")
        self.assertEqual(copied, [765, 560])
        # The browser's Print, as the menu's: the picture alone on the page, its summary below.
        self.driver.execute_script("dispatchEvent(new Event('beforeprint'))")
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        self.addCleanup(self.driver.execute_cdp_cmd, "Emulation.setEmulatedMedia", {"media": ""})
        printed = self.driver.execute_script("""
            const figure = document.getElementById('printedPicture');
            return [getComputedStyle(document.getElementById('frmVelmora')).display,
                    figure.querySelector('svg desc').textContent,
                    figure.querySelector('figcaption').textContent,
                    document.getElementById('pictureDescription').textContent];""")
        self.assertEqual(printed[0], "none")
        self.assertTrue(printed[3].startswith("Drawn with frequency lower and distance 400."))
        self.assertEqual(printed[1:3], printed[3:] * 2)


class Menu(PageTest):
    """The menu from the keyboard and as the picture's context menu."""

    def state(self):
        return self.driver.execute_script("""
            const menu = document.getElementById('saveMenu');
            return [menu.hidden, document.activeElement.id || document.activeElement.textContent,
                    document.getElementById('cmdSave').getAttribute('aria-expanded')];""")

    def test_keys_and_pointer(self):
        save = self.driver.find_element("id", "cmdSave")
        for key, focused in ((Keys.ENTER, "Save picture as PNG"), (Keys.ARROW_UP, "Print")):
            with self.subTest(opened_by=key):
                save.send_keys(key)
                self.assertEqual(self.state(), [False, focused, "true"])
                self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
                self.assertEqual(self.state(), [True, "cmdSave", "false"])
        with self.subTest(opened_by="context menu"):
            self.driver.execute_script("""document.addEventListener('contextmenu',
                (e) => { window.pointer = [e.clientX, e.clientY]; }, true);""")
            canvas = self.driver.find_element("id", "picture")
            ActionChains(self.driver).move_to_element_with_offset(canvas, 100, 50) \
                .context_click().perform()
            self.assertEqual(self.state()[:2], [False, "Save picture as PNG"])
            at = self.driver.execute_script("""
                const r = document.getElementById('saveMenu').getBoundingClientRect();
                return [[r.left, r.top], window.pointer];""")
            self.assertEqual(at[0], at[1])
            # Before any run there are no intensities to save.
            self.assertEqual(self.driver.execute_script(
                "return document.querySelectorAll('#saveMenu [aria-disabled=\"true\"]')[0]"
                ".textContent"), "Save intensities as CSV")


if __name__ == "__main__":
    if not PAGE.exists():
        print(f"skipped: no page at {PAGE}; build it with ./dev web")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]], verbosity=2)
