# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Debian's Chromium, headless, through chromium-driver, with no way out to the network."""

import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service


def browser():
    # The page as large as the desktop's window, with Explore's bar below the form, under
    # what headless Chromium keeps of the window for itself.
    profile = tempfile.TemporaryDirectory(prefix="velmora-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-dev-shm-usage", "--force-device-scale-factor=1",
                 "--window-size=765,760", "--proxy-server=http://127.0.0.1:9",
                 "--host-resolver-rules=MAP * ~NOTFOUND", "--lang=en-US",
                 "--user-data-dir=" + profile.name):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.profile = profile  # removed with the driver
    driver.set_script_timeout(30)
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": True, "latency": 0, "downloadThroughput": 0, "uploadThroughput": 0})
    # A page in front, as a user has it: some headless Chromiums (150) leave the page without
    # focus, and then the focused Start shows no ring.
    driver.execute_cdp_cmd("Emulation.setFocusEmulationEnabled", {"enabled": True})
    return driver
