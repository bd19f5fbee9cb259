"""Every text drawn into a picture is set in FreeSans and fits its box, the rect whose id ends in
"-box" in the text's group or the nearest group around it: the ink, measured with the game's
font file (Bold beside it) at the text's size, its halo included, keeps MARGIN pixels to the
box's sides and stays within its height."""

import glob
import os
import re
import unittest
import xml.etree.ElementTree as ET

from PIL import ImageFont

SVG = "{http://www.w3.org/2000/svg}"
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../assets/pictures")
FONT = os.path.realpath(os.path.join(os.environ["ZENTARIS_RUNTIME_DIR"], "fonts", "FreeSans.ttf"))
MARGIN = 2


def texts(element, box=None):
    """Each <text> below the element with its box."""
    box = next((c for c in element if c.get("id", "").endswith("-box")), box)
    for child in element:
        yield from [(child, box)] if child.tag == SVG + "text" else texts(child, box)


class PictureTexts(unittest.TestCase):
    def test_every_text_fits_its_box(self):
        for path in glob.glob(os.path.join(PICTURES, "*.svg")):
            for text, box in texts(ET.parse(path).getroot()):
                words = "".join(text.itertext())
                with self.subTest(os.path.basename(path), text=words):
                    self.assertIsNotNone(box, "no box")
                    self.assert_fits(text, words, box)

    def assert_fits(self, text, words, box):
        p = dict(text.attrib, **dict(re.findall(r"([\w-]+)\s*:\s*([^;]+)", text.get("style", ""))))
        self.assertEqual(p["font-family"].strip("'\""), "FreeSans")
        face = FONT.replace(".ttf", "Bold.ttf") if p.get("font-weight") in ("bold", "700") else FONT
        # A hundred times the size, as this Pillow takes whole sizes only.
        size = float(re.match(r"[\d.]+", p["font-size"]).group())
        font = ImageFont.truetype(face, round(100 * size))
        at = {"middle": 0.5, "end": 1.0}.get(p.get("text-anchor"), 0) * font.getlength(words) / 100
        halo = float(p.get("stroke-width", 0)) / 2
        left, top, right, bottom = (v / 100 for v in font.getbbox(words, anchor="ls"))
        x, y = float(text.get("x")), float(text.get("y"))
        bx, by, bw, bh = (float(box.get(k)) for k in ("x", "y", "width", "height"))
        ink = (x - at + left - halo, y + top - halo, x - at + right + halo, y + bottom + halo)
        self.assertTrue(bx + MARGIN <= ink[0] and ink[2] <= bx + bw - MARGIN and by <= ink[1]
                        and ink[3] <= by + bh, "ink %s outside %s" % (ink, box.get("id")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
