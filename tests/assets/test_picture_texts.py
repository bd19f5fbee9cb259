"""Every text drawn into a picture is set in FreeSans and fits the box it belongs to: the rect
whose id ends in "-box" in its own group or the nearest group around it. Its ink is measured
with the game's font file (the one fonts/FreeSans.ttf in the runtime directory links to, Bold
beside it), at its size and weight, its halo included, and must keep MARGIN pixels to each side
of the box and stay within its height."""

import glob
import os
import re
import unittest
import xml.etree.ElementTree as ET

from PIL import ImageFont

SVG = "{http://www.w3.org/2000/svg}"
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "pictures")
FONT = os.path.realpath(os.path.join(os.environ["ZENTARIS_RUNTIME_DIR"], "fonts", "FreeSans.ttf"))
PROPERTIES = {"font-family", "font-size", "font-weight", "text-anchor", "stroke", "stroke-width"}
MARGIN = 2


def properties(element, inherited):
    found = dict(inherited, **{k: v for k, v in element.attrib.items() if k in PROPERTIES})
    found.update(re.findall(r"([\w-]+)\s*:\s*([^;]+)", element.get("style", "")))
    return found


class PictureTexts(unittest.TestCase):
    def test_every_text_fits_its_box(self):
        for path in sorted(glob.glob(os.path.join(PICTURES, "*.svg"))):
            with self.subTest(picture=os.path.basename(path)):
                self.visit(ET.parse(path).getroot(), {}, None)

    def visit(self, element, inherited, box):
        found = properties(element, inherited)
        boxes = [c for c in element if c.tag == SVG + "rect" and c.get("id", "").endswith("-box")]
        box = boxes[0] if boxes else box
        for child in element:
            if child.tag == SVG + "text":
                self.check(child, properties(child, found), box)
            else:
                self.visit(child, found, box)

    def check(self, text, found, box):
        words = "".join(text.itertext())
        self.assertIsNotNone(box, "%r lies in no group with a box" % words)
        self.assertEqual(found.get("font-family", "").strip("'\""), "FreeSans", words)
        bold = found.get("font-weight") in ("bold", "700")
        size = float(re.match(r"[\d.]+", found["font-size"]).group())
        # Measured at a hundred times the size (this Pillow takes whole sizes only), scaled back.
        font = ImageFont.truetype(FONT.replace(".ttf", "Bold.ttf") if bold else FONT, round(100 * size))
        shift = {"middle": 0.5, "end": 1.0}.get(found.get("text-anchor"), 0.0) * font.getlength(words) / 100
        halo = float(found.get("stroke-width", 0)) / 2 if found.get("stroke", "none") != "none" else 0
        left, top, right, bottom = (v / 100 for v in font.getbbox(words, anchor="ls"))
        x, y = (float(text.get(k, next(text.iter(SVG + "tspan"), text).get(k))) for k in "xy")
        bx, by, bw, bh = (float(box.get(k)) for k in ("x", "y", "width", "height"))
        ink = (x - shift + left - halo, y + top - halo, x - shift + right + halo, y + bottom + halo)
        room = (bx + MARGIN, by, bx + bw - MARGIN, by + bh)
        self.assertTrue(room[0] <= ink[0] and ink[2] <= room[2] and room[1] <= ink[1] and ink[3] <= room[3],
                        "%r: ink %s outside %s" % (words, ["%.1f" % v for v in ink], room))


if __name__ == "__main__":
    unittest.main(verbosity=2)
