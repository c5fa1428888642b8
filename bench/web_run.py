#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""An instant run in the browser edition, core and canvas together, from the click on Start to
the page's velmora-run-end event, against the native Start action into its image canvas; and the
first run after loading the page against a later one.

    web_run.py PAGE NATIVE_BENCH [RUNS]

NATIVE_BENCH is build/bench/velmora_bench; its canvas benchmark gives the native figure.
"""

import json
import pathlib
import statistics
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
sys.dont_write_bytecode = True  # nothing written into the source tree
from chromium import browser  # noqa: E402

from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402


def page_runs(driver, page, runs):
    """Loads the page afresh and times `runs` instant runs, the first one first."""
    driver.get(page.as_uri())
    WebDriverWait(driver, 20).until(
        lambda d: d.execute_script("return document.documentElement.dataset.ready"))
    times = []
    for _ in range(runs):
        # The browser may rasterise the canvas only when it next paints; reading a pixel
        # back makes it do so at once, for the second figure.
        times.append(driver.execute_async_script("""
            const done = arguments[0];
            const context = document.getElementById('picture').getContext('2d');
            let t0;
            document.getElementById('cmdStart').addEventListener('click',
                () => { t0 = performance.now(); }, {once: true, capture: true});
            document.addEventListener('velmora-run-end', () => {
                const end = performance.now() - t0;
                context.getImageData(0, 0, 1, 1);
                done([end, performance.now() - t0]);
            }, {once: true});
            // After two frames the last run's picture is painted and out of the way.
            requestAnimationFrame(() => requestAnimationFrame(() =>
                document.getElementById('cmdStart').click()));
        """))
    return times


def native_ms(bench):
    out = subprocess.run([bench, "--benchmark_filter=BM_StartActionCanvas$",
                          "--benchmark_min_time=2", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    result = json.loads(out)["benchmarks"][0]
    return result["real_time"] * {"ms": 1, "us": 1e-3, "ns": 1e-6}[result["time_unit"]]


def main():
    page, bench = pathlib.Path(sys.argv[1]).resolve(), sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 21
    driver = browser()
    try:
        # The first run after loading, on a page loaded five times; then later runs.
        first = statistics.median(page_runs(driver, page, 1)[0][0] for _ in range(5))
        times = page_runs(driver, page, runs + 3)[3:]  # the first few warm the engine's tiers
    finally:
        driver.quit()
    web = statistics.median(t[0] for t in times)
    painted = statistics.median(t[1] for t in times)
    native = native_ms(bench)
    print(f"page {page.name} ({page.stat().st_size / 1e6:.2f} MB)")
    print(f"instant run in Chromium, click to velmora-run-end: median {web:.1f} ms, "
          f"fastest {min(t[0] for t in times):.1f} ms over {runs} runs")
    print(f"  and until its pixels are rasterised: median {painted:.1f} ms")
    print(f"the first run after loading: median {first:.1f} ms, {first / web:.2f}x a later one "
          f"(target at most 2x)")
    print(f"native Start action into the image canvas: {native:.1f} ms")
    print(f"page / native: {web / native:.2f}x, rasterised {painted / native:.2f}x "
          f"(target at most 2x, aim 1.5x)")


if __name__ == "__main__":
    main()
