#!/usr/bin/env python3
"""Renders one picture of the manifest from its SVG and writes the 24-bit BMP the game loads.

    make_picture.py NAME --manifest assets/pictures/manifest.txt --out FILE.bmp [--rsvg PATH]

The SVG is assets/pictures/NAME.svg, exactly as large as the manifest says. rsvg-convert renders
it; for a keyed picture a pixel covered less than half becomes exact magenta (255, 0, 255) and,
unless the manifest says nooutline, every kept pixel beside one (left, right, above, below)
takes the outline colour, so no pink blend survives at the edge. Kept pixels are opaque in their
own colour; an unkeyed picture is laid on white. No kept pixel may come near magenta: such
pixels are nudged away and reported.
"""

import argparse
import io
import os
import subprocess
import sys
from xml.etree import ElementTree

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import manifest  # noqa: E402

KEY = (255, 0, 255)
OUTLINE = (0x3B, 0x2A, 0x1E)


def render(svg_path, rsvg):
    """The SVG as an RGBA array (not premultiplied), as rsvg-convert draws it."""
    png = subprocess.run([rsvg, "-f", "png", svg_path], check=True, stdout=subprocess.PIPE).stdout
    return np.asarray(Image.open(io.BytesIO(png)).convert("RGBA")).astype(np.int32)


def flatten(rgba, keyed, outlined):
    """The RGB pixels of the BMP and the number of pixels nudged away from the key."""
    rgb, alpha = rgba[..., :3], rgba[..., 3:]
    if keyed:
        key = alpha[..., 0] < 128
        if outlined:
            near = np.zeros_like(key)  # beside a key pixel; outside the picture is no key
            near[1:] |= key[:-1]
            near[:-1] |= key[1:]
            near[:, 1:] |= key[:, :-1]
            near[:, :-1] |= key[:, 1:]
            rgb[near] = OUTLINE
    else:
        key = np.zeros(alpha.shape[:2], bool)
        rgb = (rgb * alpha + 255 * (255 - alpha) + 127) // 255
    r, g, b = rgb[..., 0], rgb[..., 1], rgb[..., 2]
    nudge = ~key & (r >= 200) & (b >= 200) & (g <= 80)
    g[nudge] = 120
    rgb[key] = KEY
    return rgb.astype(np.uint8), int(nudge.sum())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("name")
    parser.add_argument("--manifest", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--rsvg", default="rsvg-convert")
    args = parser.parse_args()
    entry = {e.name: e for e in manifest.read(args.manifest)}.get(args.name)
    if entry is None:
        raise SystemExit("%s is not listed in %s" % (args.name, args.manifest))
    svg = os.path.join(os.path.dirname(os.path.abspath(args.manifest)), args.name + ".svg")
    root = ElementTree.parse(svg).getroot()
    size = [root.get(k, "").removesuffix("px") for k in ("width", "height")]
    if size != [str(entry.width), str(entry.height)]:
        raise SystemExit("%s: the canvas must be %dx%d pixels as the manifest says"
                         % (svg, entry.width, entry.height))
    rgb, nudged = flatten(render(svg, args.rsvg), entry.keyed, entry.outlined)
    if nudged:
        print("%s: %d pixels near the key colour nudged away" % (svg, nudged), file=sys.stderr)
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    Image.fromarray(rgb, "RGB").save(args.out + ".tmp", "BMP")
    os.replace(args.out + ".tmp", args.out)


if __name__ == "__main__":
    main()
