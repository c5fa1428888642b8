#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Draws the Velmora icon: a Cornu spiral with its resultant, as SVG, then the PNG sizes from it.

Run it from anywhere; it writes the hicolor tree next to itself. Rendering needs rsvg-convert
(librsvg2-bin). The PNGs are kept in the repository so the build needs neither Python nor
librsvg.
"""
import math
import os
import subprocess

APP_ID = "org.example.velmora.Velmora"
VIEW = 256
SIZES = (48, 64, 128, 256)
# Mid tones: at least 3:1 against a white panel and against a dark one (#242424) alike.
SPIRAL = "#3d7edb"
RESULTANT = "#2e8b57"


def spiral(steps=600, span=3.1):
    # A chain of equal phasors whose phase grows with the square of the path along the
    # opening: the clothoid, both arms, centred on the origin.
    ds = 2 * span / steps
    x = y = 0.0
    points = []
    for i in range(steps + 1):
        s = -span + i * ds
        points.append((x, y))
        phase = math.pi / 2 * s * s
        x += math.cos(phase) * ds
        y += math.sin(phase) * ds
    cx = (points[0][0] + points[-1][0]) / 2
    cy = (points[0][1] + points[-1][1]) / 2
    return [(px - cx, py - cy) for px, py in points]


def svg():
    points = spiral()
    margin = 22
    scale = (VIEW - 2 * margin) / (2 * max(max(abs(x), abs(y)) for x, y in points))
    # y grows downwards in SVG; flip so the spiral winds as on paper.
    placed = [(VIEW / 2 + x * scale, VIEW / 2 - y * scale) for x, y in points]
    path = "M" + " L".join(f"{x:.1f} {y:.1f}" for x, y in placed)
    # The resultant joins the two eyes of the spiral, at (-1/2, -1/2) and (1/2, 1/2).
    eye = 0.5 * scale
    c = VIEW / 2
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<!--
SPDX-FileCopyrightText: 2026 The Velmora developers

SPDX-License-Identifier: GPL-3.0-or-later
-->
<svg xmlns="http://www.w3.org/2000/svg" width="{VIEW}" height="{VIEW}" viewBox="0 0 {VIEW} {VIEW}">
  <title>Velmora</title>
  <path d="{path}" fill="none" stroke="{SPIRAL}" stroke-width="9" stroke-linecap="round" stroke-linejoin="round"/>
  <line x1="{c - eye:.1f}" y1="{c + eye:.1f}" x2="{c + eye:.1f}" y2="{c - eye:.1f}" stroke="{RESULTANT}" stroke-width="16" stroke-linecap="round"/>
</svg>
"""


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "hicolor")
    scalable = os.path.join(here, "scalable", "apps", APP_ID + ".svg")
    os.makedirs(os.path.dirname(scalable), exist_ok=True)
    with open(scalable, "w", encoding="utf-8") as f:
        f.write(svg())
    for size in SIZES:
        png = os.path.join(here, f"{size}x{size}", "apps", APP_ID + ".png")
        os.makedirs(os.path.dirname(png), exist_ok=True)
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", png, scalable],
                       check=True)


if __name__ == "__main__":
    main()
