#!/usr/bin/env python3
"""Draws the default skin of the progress dialog.

Writes into the given folder (default: defaults/skins of this tree):
  updatebar_Mask.BMP   outline: black inside a rounded rectangle, white outside
  updatebar_n.jpg      the face with the empty bar
  updatebar_o.jpg      the same face with the bar filled
  string_trayicon.ini  the caption drawn on the dialog (section TRAY_STRING, key 3)

The pictures are drawn here with the standard library only (4 x 4 samples a
pixel for smooth edges) and handed to ImageMagick's `convert` for the JPEG
encoding: baseline, quality 98, no chroma subsampling, no metadata, so that
every 8 x 8 block away from the bar is the same in both faces. The bar is
drawn over the whole width of the dialog's face at run time, so the two
faces must differ only inside the bar.

Usage: make_default_skin.py [OUTPUT_FOLDER]
"""

import math
import os
import struct
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 400, 120
CORNER = 16.0          # radius of the dialog's rounded corners
HEADER_BOTTOM = 28.0   # dark title band 0..28, accent line 28..30
ACCENT_BOTTOM = 30.0
BAR = (24.0, 84.0, 376.0, 100.0)  # left, top, right, bottom of the progress bar
SAMPLES = 4
CAPTION = "Updating mouse settings\u2026"


def rounded_box_distance(x, y, box, radius):
    """Signed distance from (x, y) to a rounded rectangle: negative inside."""
    left, top, right, bottom = box
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    qx = abs(x - cx) - ((right - left) / 2.0 - radius)
    qy = abs(y - cy) - ((bottom - top) / 2.0 - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


HEADER_TOP = hex_colour("#33414F")
HEADER_LOW = hex_colour("#222C37")
ACCENT = hex_colour("#2F8FE6")
BODY_TOP = hex_colour("#F7F9FB")
BODY_LOW = hex_colour("#E2E7ED")
EDGE = hex_colour("#1F2933")
GLYPH = hex_colour("#D9E3EC")
DOTS = (hex_colour("#2F8FE6"), hex_colour("#5FA9EC"), hex_colour("#95C6F2"))
TRACK_TOP = hex_colour("#BCC6D1")
TRACK_LOW = hex_colour("#DCE2E9")
TRACK_EDGE = hex_colour("#A3AFBC")
FILL_TOP = hex_colour("#6CC3FF")
FILL_LOW = hex_colour("#1C78DA")
FILL_EDGE = hex_colour("#1763B8")
WHITE = (255.0, 255.0, 255.0)

OUTLINE = (0.0, 0.0, float(WIDTH), float(HEIGHT))


def mouse_glyph(x, y):
    """The outline of a small mouse in the title band: body, button split, wheel."""
    body = rounded_box_distance(x, y, (14.0, 5.0, 28.0, 23.0), 7.0)
    if abs(body) < 0.75:
        return True
    if abs(x - 21.0) < 0.6 and 5.0 < y < 12.5 and body < 0:
        return True
    if rounded_box_distance(x, y, (20.1, 8.0, 21.9, 11.8), 0.9) < 0:
        return True
    return abs(y - 12.5) < 0.6 and body < 0


def face(x, y):
    """The dialog's face without the bar."""
    if y < HEADER_BOTTOM:
        colour = mix(HEADER_TOP, HEADER_LOW, y / HEADER_BOTTOM)
        if mouse_glyph(x, y):
            colour = GLYPH
        for i, dot in enumerate(DOTS):
            if math.hypot(x - (356.0 + 10.0 * i), y - 14.0) < 2.6:
                colour = dot
    elif y < ACCENT_BOTTOM:
        colour = ACCENT
    else:
        colour = mix(BODY_TOP, BODY_LOW, (y - ACCENT_BOTTOM) / (HEIGHT - ACCENT_BOTTOM))
        # A faint light line along the inside of the edge.
        edge = rounded_box_distance(x, y, OUTLINE, CORNER)
        if -3.0 < edge <= -1.75:
            colour = mix(colour, WHITE, 0.55)
    if rounded_box_distance(x, y, OUTLINE, CORNER) > -1.75:
        colour = EDGE
    return colour


def bar(x, y, filled, below):
    """The bar's colour at (x, y), or `below` where the bar does not reach."""
    left, top, right, bottom = BAR
    radius = (bottom - top) / 2.0
    d = rounded_box_distance(x, y, BAR, radius)
    if d > 1.0:
        # A light line under the bar makes it sit in the face.
        if 1.0 < d < 2.0 and y > (top + bottom) / 2.0:
            return mix(below, WHITE, 0.7)
        return below
    t = (y - top) / (bottom - top)
    if d > 0.0:
        return FILL_EDGE if filled else TRACK_EDGE
    if filled:
        colour = mix(FILL_TOP, FILL_LOW, t)
        if t < 0.45:  # gloss on the upper half
            colour = mix(colour, WHITE, 0.22 * (1.0 - t / 0.45))
        return colour
    return mix(TRACK_TOP, TRACK_LOW, min(t * 1.6, 1.0))


def render():
    """Both faces as rows of (r, g, b) bytes."""
    empty = bytearray()
    filled = bytearray()
    step = 1.0 / SAMPLES
    for py in range(HEIGHT):
        for px in range(WIDTH):
            sums = [[0.0, 0.0, 0.0], [0.0, 0.0, 0.0]]
            for sy in range(SAMPLES):
                y = py + (sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) * step
                    base = face(x, y)
                    for i, state in enumerate((False, True)):
                        c = bar(x, y, state, base)
                        sums[i][0] += c[0]
                        sums[i][1] += c[1]
                        sums[i][2] += c[2]
            n = SAMPLES * SAMPLES
            for out, s in ((empty, sums[0]), (filled, sums[1])):
                out.extend(int(round(v / n)) for v in s)
    return empty, filled


def mask_pixels():
    """Black where the pixel's centre lies inside the outline, white outside."""
    out = bytearray()
    for py in range(HEIGHT):
        for px in range(WIDTH):
            inside = rounded_box_distance(px + 0.5, py + 0.5, OUTLINE, CORNER) < 0.0
            out.extend((0, 0, 0) if inside else (255, 255, 255))
    return out


def write_ppm(path, rgb):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
        f.write(rgb)


def write_bmp(path, rgb):
    """A 24-bit bottom-up BMP."""
    row_size = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for py in reversed(range(HEIGHT)):
        row = bytearray()
        for px in range(WIDTH):
            r, g, b = rgb[(py * WIDTH + px) * 3:(py * WIDTH + px) * 3 + 3]
            row.extend((b, g, r))
        row.extend(b"\0" * (row_size - len(row)))
        pixels.extend(row)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_jpeg(ppm, path):
    subprocess.run(["convert", ppm, "-strip", "-interlace", "none", "-sampling-factor", "1x1",
                    "-quality", "98", "jpeg:" + path], check=True)


def write_strings(path):
    """UTF-16 with a byte-order mark, as the system's profile functions read it."""
    text = "[TRAY_STRING]\r\n3=%s\r\n" % CAPTION
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "defaults", "skins")
    os.makedirs(folder, exist_ok=True)
    empty, filled = render()
    with tempfile.TemporaryDirectory() as scratch:
        for name, rgb in (("updatebar_n", empty), ("updatebar_o", filled)):
            ppm = os.path.join(scratch, name + ".ppm")
            write_ppm(ppm, rgb)
            write_jpeg(ppm, os.path.join(folder, name + ".jpg"))
    write_bmp(os.path.join(folder, "updatebar_Mask.BMP"), mask_pixels())
    write_strings(os.path.join(folder, "string_trayicon.ini"))


if __name__ == "__main__":
    main()
