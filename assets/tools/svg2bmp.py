#!/usr/bin/env python3
"""Rasterizes an SVG with rsvg-convert and writes the Windows BMP the game loads.

The BMP is 24 bits per pixel, bottom-up, without alpha. For a keyed picture the transparent
part becomes exact magenta (255, 0, 255) with a hard edge: a pixel covered less than half is
key, every kept pixel that touches key (left, right, above, below) takes the outline colour so
no pink blend survives at the edge, and kept pixels are drawn opaque in their own colour.
No pixel that is not key may come near magenta; such pixels are nudged away.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngdecode  # noqa: E402

KEY = (255, 0, 255)
OUTLINE = (0x3B, 0x2A, 0x1E)
# Non-key pixels may not come this close to the key colour.
NEAR_R, NEAR_B, NEAR_G = 200, 200, 80


def svg_size(svg_text):
    match = re.search(r"<svg\b[^>]*>", svg_text, re.S)
    if not match:
        raise SystemExit("no <svg> element")
    tag = match.group(0)
    w = re.search(r'\bwidth="([0-9.]+)(px)?"', tag)
    h = re.search(r'\bheight="([0-9.]+)(px)?"', tag)
    if not w or not h:
        raise SystemExit("the <svg> element needs width and height in pixels")
    return float(w.group(1)), float(h.group(1))


def rasterize(svg_path, rsvg="rsvg-convert"):
    """Returns width, height and the RGBA bytes (not premultiplied) of the rendered SVG."""
    fd, png_path = tempfile.mkstemp(suffix=".png")
    os.close(fd)
    try:
        subprocess.run([rsvg, "-f", "png", "-o", png_path, svg_path], check=True)
        return pngdecode.read_png_rgba(png_path)
    finally:
        os.unlink(png_path)


def is_near_key(r, g, b):
    return r >= NEAR_R and b >= NEAR_B and g <= NEAR_G


def flatten(width, height, rgba, keyed, outline=True):
    """Returns (RGB bytes top-down, number of nudged pixels)."""
    n = width * height
    rgb = bytearray(n * 3)
    rgb[0::3] = rgba[0::4]
    rgb[1::3] = rgba[1::4]
    rgb[2::3] = rgba[2::4]
    alpha = rgba[3::4]
    if keyed:
        key = alpha.translate(bytes(1 if a < 128 else 0 for a in range(256)))
        for i in range(n):
            if key[i]:
                rgb[3 * i:3 * i + 3] = b"\xff\x00\xff"
        if outline:
            for y in range(height):
                row = y * width
                for x in range(width):
                    i = row + x
                    if key[i]:
                        continue
                    if ((x > 0 and key[i - 1]) or (x < width - 1 and key[i + 1])
                            or (y > 0 and key[i - width]) or (y < height - 1 and key[i + width])):
                        rgb[3 * i:3 * i + 3] = bytes(OUTLINE)
    else:
        key = bytes(n)
        if alpha.count(255) != n:
            # Composite over white; the page SVGs are meant to be opaque anyway.
            for i in range(n):
                a = alpha[i]
                if a != 255:
                    for c in range(3):
                        v = rgb[3 * i + c]
                        rgb[3 * i + c] = (v * a + 255 * (255 - a) + 127) // 255
    nudged = 0
    # Only pixels with both red and blue high can be near the key; look at those alone.
    for i in range(n):
        if key[i]:
            continue
        r, g, b = rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]
        if is_near_key(r, g, b):
            rgb[3 * i + 1] = NEAR_G + 40
            nudged += 1
    return rgb, nudged


def bmp_bytes(width, height, rgb):
    """A BITMAPINFOHEADER BMP, 24 bpp, bottom-up, rows padded to four bytes."""
    row_size = (width * 3 + 3) & ~3
    pad = b"\x00" * (row_size - width * 3)
    rows = []
    for y in range(height - 1, -1, -1):
        line = bytearray(rgb[y * width * 3:(y + 1) * width * 3])
        r = line[0::3]
        line[0::3] = line[2::3]
        line[2::3] = r
        rows.append(bytes(line) + pad)
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def convert(svg_path, bmp_path, width, height, keyed, outline=True, rsvg="rsvg-convert"):
    with open(svg_path, encoding="utf-8") as f:
        sw, sh = svg_size(f.read())
    if (sw, sh) != (width, height):
        raise SystemExit("%s: the SVG is %gx%g, the manifest says %dx%d" % (svg_path, sw, sh, width, height))
    w, h, rgba = rasterize(svg_path, rsvg)
    if (w, h) != (width, height):
        raise SystemExit("%s: rendered %dx%d, expected %dx%d" % (svg_path, w, h, width, height))
    rgb, nudged = flatten(w, h, rgba, keyed, outline)
    if nudged:
        print("%s: %d pixels near the key colour nudged away" % (bmp_path, nudged), file=sys.stderr)
    tmp = bmp_path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(bmp_bytes(w, h, rgb))
    os.replace(tmp, bmp_path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("svg")
    parser.add_argument("bmp")
    parser.add_argument("--width", type=int, required=True)
    parser.add_argument("--height", type=int, required=True)
    parser.add_argument("--keyed", action="store_true")
    parser.add_argument("--no-outline", action="store_true")
    parser.add_argument("--rsvg", default="rsvg-convert")
    args = parser.parse_args()
    convert(args.svg, args.bmp, args.width, args.height, args.keyed, not args.no_outline, args.rsvg)


if __name__ == "__main__":
    main()
