#!/usr/bin/env python3
"""Draws the chart tab button images (committed; run again only to change them).

close.png       20 x 20: a grey disc with a white cross, transparent around it.
closeBottom.png 80 x 20: the tab label's light face with a rounded grey border.
Plain Python: shapes are sampled 4 x 4 per pixel for smooth edges.
"""
import math
import struct
import zlib
from pathlib import Path

SS = 4  # samples per pixel along each axis


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    Path(path).write_bytes(png)


def coverage(x, y, inside):
    hits = 0
    for i in range(SS):
        for j in range(SS):
            if inside(x + (i + 0.5) / SS, y + (j + 0.5) / SS):
                hits += 1
    return hits / (SS * SS)


def near_segment(px, py, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)) <= half_width


def close_pixel(x, y):
    disc = coverage(x, y, lambda px, py: math.hypot(px - 10, py - 10) <= 7)
    cross = coverage(
        x, y,
        lambda px, py: math.hypot(px - 10, py - 10) <= 7
        and (near_segment(px, py, 7, 7, 13, 13, 0.9) or near_segment(px, py, 13, 7, 7, 13, 0.9)),
    )
    grey = 0x6E
    value = round(grey + (255 - grey) * (cross / disc)) if disc else 0
    return (value, value, value, round(255 * disc))


def face_pixel(x, y):
    top, bottom = 0xF4, 0xC8
    shade = round(top + (bottom - top) * y / 19)

    def inside(px, py, inset):
        r = 3.0 - inset
        cx = min(max(px, inset + r), 80 - inset - r)
        cy = min(max(py, inset + r), 20 - inset - r)
        return math.hypot(px - cx, py - cy) <= r

    outer = coverage(x, y, lambda px, py: inside(px, py, 0))
    inner = coverage(x, y, lambda px, py: inside(px, py, 1))
    border = 0x7A
    value = round(shade * inner + border * (outer - inner)) / outer if outer else 0
    return (round(value), round(value), round(value), round(255 * outer))


here = Path(__file__).resolve().parent
write_png(here / "close.png", 20, 20, close_pixel)
write_png(here / "closeBottom.png", 80, 20, face_pixel)
