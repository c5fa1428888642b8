#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Draws velmora.png: a Cornu spiral with its green resultant, anti-aliased, standard library only.

Run it from anywhere; it writes next to itself. The PNG is kept in the repository so the
build needs no Python.
"""
import math
import os
import struct
import zlib

SIZE = 64


def spiral(steps=900, span=4.2):
    # A chain of equal phasors whose phase grows with the square of the distance: the
    # clothoid, centred on the origin, both arms.
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


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke(pixels, segments, colour, width):
    half = width / 2
    for a, b in segments:
        x0 = int(max(0, min(a[0], b[0]) - half - 1))
        x1 = int(min(SIZE - 1, max(a[0], b[0]) + half + 1))
        y0 = int(max(0, min(a[1], b[1]) - half - 1))
        y1 = int(min(SIZE - 1, max(a[1], b[1]) + half + 1))
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                coverage = max(0.0, min(1.0, half + 0.5 - segment_distance(x + 0.5, y + 0.5, a, b)))
                if coverage > pixels[y][x][3] / 255:
                    pixels[y][x] = (*colour, int(round(coverage * 255)))


def write_png(path, pixels):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main():
    points = spiral()
    scale = (SIZE - 8) / (2 * max(max(abs(x), abs(y)) for x, y in points))
    # y grows downwards on screen; flip so the spiral winds as on paper.
    placed = [(SIZE / 2 + x * scale, SIZE / 2 - y * scale) for x, y in points]
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    stroke(pixels, list(zip(placed, placed[1:])), (24, 40, 120), 2.4)
    # The resultant joins the two eyes of the spiral.
    eyes = [(SIZE / 2 - 0.5 * scale, SIZE / 2 + 0.5 * scale), (SIZE / 2 + 0.5 * scale, SIZE / 2 - 0.5 * scale)]
    stroke(pixels, [tuple(eyes)], (0, 170, 0), 3.0)
    write_png(os.path.join(os.path.dirname(os.path.abspath(__file__)), "velmora.png"), pixels)


if __name__ == "__main__":
    main()
