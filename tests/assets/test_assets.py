"""The built pictures and sounds in the runtime directory, and the texts of the pictures'
drawings, run in assets/: each picture is the sheet its manifest line describes, each sound
plays unconverted, audibly and below full scale, the music loops without a click, and each text
fits its box."""

import os
import unittest
import wave
from xml.etree import ElementTree

import numpy as np
from PIL import Image, ImageFont

from tools import manifest  # the reader the build draws the pictures with

PICTURES = manifest.read("pictures/manifest.txt")
BUILT = os.environ["ZENTARIS_RUNTIME_DIR"]
# The font the runtime directory links to: the game's face, FreeSans. Its bold face lies beside
# it; a text in another family is measured in that, when it lies there too.
FONT = os.path.realpath(BUILT + "/fonts/FreeSans.ttf")


def sound(name):
    """The samples of the sound, the channels in turn."""
    return np.frombuffer(wave.open(f"{BUILT}/Sound/{name}.wav").readframes(-1), "<i2").astype(int)


class AssetFiles(unittest.TestCase):
    def test_every_picture_is_the_sheet_its_manifest_line_describes(self):
        for name, width, height, keyed, outlined, (w, h), _ in PICTURES:
            rgb = np.asarray(Image.open(f"{BUILT}/ImgData/{name}.bmp")) @ [65536, 256, 1]
            key = rgb == 0xFF00FF
            self.assertEqual((*rgb.shape, key.any()), (height, width, keyed), name)
            # No pink fringe: beside the key (3) no kept pixel but in the dark outline (0), none
            # in another colour (1), across or down.
            v = 2 * key + (rgb != 0x3B2A1E)
            self.assertFalse(outlined and any(4 in u[1:] + u[:-1] for u in (v, v.T)), name)
            # Every frame (w x h, in rows) shows something: a tenth of it at least, as a stray
            # dot is none.
            self.assertLess(key.reshape(-1, h, width // w, w).mean((1, 3)).max(), 0.9, name)

    def test_every_sound_plays_unconverted_audibly_below_full_scale(self):
        for name in "boing", "success", "fail", "sound":
            self.assertEqual(wave.open(f"{BUILT}/Sound/{name}.wav").getparams()[:3], (2, 2, 44100),
                             f"{name}: channels, bytes a sample, rate")
            self.assertTrue(1600 < abs(sound(name)).max() < 32440, name)

    def test_music_loops_without_a_click(self):
        # Each step from two samples (a frame) to the next; rolled, the seam from the last frame
        # to the first comes first. It is an ordinary step, no steeper than half of the others.
        pcm = sound("sound")
        steps = abs(pcm - np.roll(pcm, 2))
        self.assertLessEqual(max(steps[:2]), np.median(steps[2:]), "a click at the seam")

    def test_every_text_fits_its_box(self):
        for e in PICTURES:
            # A text's box is the last rect whose id ends in "-box" before it: each is drawn
            # first in the text's group or the group around it.
            box = None
            for element in ElementTree.parse(f"pictures/{e.name}.svg").iter():
                if str(element.get("id")).endswith("-box"):
                    box = element
                if element.tag.endswith("}text"):
                    x, y, size, stroke = (float(element.get(k, 0))
                                          for k in ("x", "y", "font-size", "stroke-width"))
                    bx, by, bw, bh = map(float, map(box.get, ("x", "y", "width", "height")))
                    # The ink as the game's font draws it, the halo half the stroke wide around
                    # it, measured a hundred times as large, as this Pillow takes whole sizes only.
                    face = element.get("font-family") + (
                        "Bold." if element.get("font-weight") == "bold" else ".")
                    font = ImageFont.truetype(FONT.replace("FreeSans.", face), round(100 * size))
                    ink = font.getbbox("".join(element.itertext()), stroke_width=round(50 * stroke),
                                       anchor={"start": "ls", "middle": "ms", "end": "rs"}[
                                           element.get("text-anchor")])
                    left, top, right, bottom = np.divide(ink, 100) + [x, y, x, y]
                    # Two pixels at least from the box's sides, within its height.
                    self.assertTrue(bx + 2 <= left < right <= bx + bw - 2 and
                                    by <= top < bottom <= by + bh,
                                    f"{e.name}: a text leaves {box.get('id')}")
