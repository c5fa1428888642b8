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


class Runs(PageTest):
    """During a run Escape stops it, Start is remembered once, and Exit acts at its end."""

    def click(self, *ids):
        self.driver.execute_script(
            "for (const id of arguments[0]) document.getElementById(id).click()", ids)

    def escape(self):
        time.sleep(0.3)
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)

    def test_input_during_a_run(self):
        # The speed bar at 8400 runs for about a second, at its right end for about four.
        for name, speed, press, runs in (
                ("twenty clicks on Start: one run more", 32767,
                 lambda: self.click(*["cmdStart"] * 20), 2),
                ("Exit: the end, with no run after it", 8400,
                 lambda: self.click("cmdStart", "cmdKonec", "cmdStart"), 1),
                ("Escape: the run stops", 8400, self.escape, 1)):
            with self.subTest(name):
                self.setUp()
                self.driver.execute_script("""
                    const speed = document.getElementById('HScroll1');
                    speed.value = arguments[0];
                    speed.dispatchEvent(new Event('change'));
                    window.ends = [];
                    document.addEventListener('velmora-run-end', (e) => ends.push(e.detail));
                    document.getElementById('cmdStart').click();""", speed)
                press()
                WebDriverWait(self.driver, 20).until(
                    lambda d: d.execute_script("return ends.length") >= runs)
                time.sleep(0.3)  # a run held to the end begins at once
                self.assertIsNone(
                    self.driver.find_element("id", "frmVelmora").get_attribute("aria-busy"))
                ends = self.driver.execute_script("return ends")
                self.assertEqual([e["stopped"] for e in ends], [name.startswith("Escape")] * runs)
                self.assertEqual(self.driver.find_element("id", "ended").is_displayed(),
                                 name.startswith("Exit"))
        # The bars stand from the bottom (y 7000 twips) up to the last one drawn, and no higher.
        drawn = int(re.search(r"stopped after (\d+) of the 221", ends[0]["summary"])[1])
        rows = self.driver.execute_script("""
            const data = document.getElementById('picture').getContext('2d')
                .getImageData(501, 0, 1, 560).data;
            return Array.from({length: 560}, (_, y) => y).filter((y) => data[y * 4] < 96);""")
        self.assertLessEqual(abs(min(rows) - (7000 - 25 * (drawn - 1)) / 15), 2)
        self.assertGreaterEqual(max(rows), 7000 / 15 - 2)


class Keep(PageTest):
    """The menu's five ways to keep the picture, after a run with lower and 400."""

    def choose(self, item):
        """The menu item, from the Save… button with the keyboard."""
        self.driver.find_element("id", "cmdSave").send_keys(Keys.ENTER)
        for _ in range(item):
            self.driver.switch_to.active_element.send_keys(Keys.ARROW_DOWN)
        self.driver.switch_to.active_element.send_keys(Keys.ENTER)

    def test_kept(self):
        folder = tempfile.TemporaryDirectory(prefix="velmora-keep-")
        self.addCleanup(folder.cleanup)
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": folder.name})
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        for option in ("op003", "opV400"):
            self.driver.find_element("id", option).click()
        self.run_timed()
        presets = ["--frequency", "lower", "--distance", "400"]
        desktop = pathlib.Path(folder.name) / "desktop.svg"
        subprocess.run([VELMORA, *presets, "-o", str(desktop)], check=True)
        csv = subprocess.run([VELMORA, *presets, "--intensities", "-"], check=True,
                             capture_output=True).stdout
        saved = {}
        for item, name in enumerate(("png", "svg", "csv")):
            self.choose(item)
            path = pathlib.Path(folder.name) / f"velmora-lower-400.{name}"
            WebDriverWait(self.driver, 10).until(lambda d: path.exists())
            saved[name] = path.read_bytes()
        self.assertEqual(saved["svg"], desktop.read_bytes())
        self.assertEqual(saved["csv"], csv)
        self.choose(3)
        WebDriverWait(self.driver, 10).until(lambda d: d.execute_script(
            "return document.getElementById('announcer').textContent") == "The picture is copied.")
        # The PNG, and what was copied: their size, and the plot, where no control or label
        # lies, pixel for pixel as the canvas shows it.
        pictures = self.driver.execute_async_script("""
            const [png, done] = arguments;
            (async () => {
            const compare = async (blob) => {
                const image = await createImageBitmap(blob);
                const c = new OffscreenCanvas(765, 560).getContext('2d');
                c.drawImage(image, 0, 0);
                const kept = c.getImageData(480, 110, 285, 400).data;
                const shown = document.getElementById('picture').getContext('2d')
                    .getImageData(480, 110, 285, 400).data;
                return [image.width, image.height, kept.filter((v, i) => v !== shown[i]).length];
            };
            const file = await (await fetch('data:image/png;base64,' + png)).blob();
            const [copied] = await navigator.clipboard.read();
            done([await compare(file), await compare(await copied.getType('image/png'))]);
            })();
        """, base64.b64encode(saved["png"]).decode())
        self.assertEqual(pictures, [[765, 560, 0]] * 2)
        # The browser's Print, as the menu's: the picture alone on the page, its summary below.
        self.driver.execute_script("dispatchEvent(new Event('beforeprint'))")
        self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        self.addCleanup(self.driver.execute_cdp_cmd, "Emulation.setEmulatedMedia", {"media": ""})
        printed = self.driver.execute_script("""
            const figure = document.getElementById('printedPicture');
            return [getComputedStyle(document.getElementById('frmVelmora')).display,
                    figure.querySelector('svg desc').textContent,
                    figure.querySelector('figcaption').textContent];""")
        summary = self.driver.find_element("id", "pictureDescription").get_attribute("textContent")
        self.assertTrue(summary.startswith("Drawn with frequency lower and distance 400."))
        self.assertEqual(printed, ["none", summary, summary])

    def test_menu(self):
        state = lambda: self.driver.execute_script("""return [
            document.getElementById('saveMenu').hidden,
            document.activeElement.id || document.activeElement.textContent,
            document.getElementById('cmdSave').getAttribute('aria-expanded')];""")
        save = self.driver.find_element("id", "cmdSave")
        save.send_keys(Keys.ARROW_UP)
        self.assertEqual(state(), [False, "Print", "true"])
        self.driver.switch_to.active_element.send_keys(Keys.ESCAPE)
        self.assertEqual(state(), [True, "cmdSave", "false"])
        # The picture's own menu opens where the pointer is; before a run, without CSV.
        self.driver.execute_script("""document.addEventListener('contextmenu',
            (e) => { window.pointer = [e.clientX, e.clientY]; }, true);""")
        ActionChains(self.driver).move_to_element_with_offset(
            self.driver.find_element("id", "picture"), 100, 50).context_click().perform()
        self.assertEqual(state()[:2], [False, "Save picture as PNG"])
        self.assertEqual(*self.driver.execute_script("""
            const r = document.getElementById('saveMenu').getBoundingClientRect();
            return [[r.left, r.top], pointer];"""))
        self.assertEqual(self.driver.execute_script(
            "return document.querySelector('#saveMenu [aria-disabled=\"true\"]').textContent"),
            "Save intensities as CSV")


if __name__ == "__main__":
    if not PAGE.exists():
        print(f"skipped: no page at {PAGE}; build it with ./dev web")
        sys.exit(77)
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]], verbosity=2)
