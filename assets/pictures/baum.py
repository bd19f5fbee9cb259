"""The play background (800 x 600): a late-summer orchard under one big apple tree.

What the game draws on top, and what therefore stays calm here: apples fall from y = -60 over
the whole width (the top 60 pixels are plain sky, the score box sits at (691, 10)); the horses
stand in the lower band x 10..280 and 520..790, y 384..595; the witch stands at x 314..517,
y 276..595; the lives indicators (128 x 40) lie at (221, 555) and (457, 555).
"""

import random

import palette as P
import pagelib as L

W, H = 800, 600
HORIZON = 330

CROWN = [
    # upper row: tops at y 64 and below
    (70, 168, 84), (185, 150, 84), (305, 144, 80), (420, 148, 82), (540, 146, 80), (655, 152, 82),
    (760, 172, 80),
    # middle
    (120, 205, 70), (240, 195, 72), (360, 200, 74), (480, 195, 72), (600, 200, 72), (715, 205, 70),
    # lower edge, bottoms around y 290
    (40, 232, 60), (150, 246, 54), (268, 226, 58), (372, 246, 52), (480, 230, 60), (590, 248, 52),
    (700, 232, 60), (782, 242, 50),
]

APPLES = [
    (95, 130, 11), (190, 205, 11), (250, 120, 10), (330, 230, 11), (410, 170, 11), (470, 110, 10),
    (545, 215, 11), (620, 150, 11), (700, 240, 10), (735, 130, 10), (140, 262, 10), (420, 265, 10),
    (585, 268, 10), (60, 200, 10), (300, 180, 10), (660, 205, 11),
]


def background():
    out = L.sky(W, H, HORIZON)
    out += L.hills(W, HORIZON - 22, HORIZON + 40, L.HILL_FAR, L.HILL_FAR_SHADE,
                   [(10, 260, 0.4), (6, 140, 1.3)])
    far = [(10, 260, 0.4), (6, 140, 1.3)]
    for x, r in ((40, 11), (330, 9), (470, 12), (560, 9), (790, 12)):
        y = HORIZON - 22 + sum(a * L.math.sin(2 * L.math.pi * x / wl + ph) for a, wl, ph in far) + 4
        out += L.distant_tree(x, y, r)
    out += L.hills(W, HORIZON + 4, HORIZON + 60, L.HILL_NEAR, P.GRASS_LIGHT,
                   [(7, 330, 2.0), (4, 170, 0.2)])
    out += L.fence(-10, W + 10, HORIZON + 6, post_h=30, gap=48)
    return out


def meadow():
    rng = random.Random(7)
    # The meadow rolls down in two bands; the front one carries the horses and the witch.
    out = L.hills(W, HORIZON + 36, H + 10, P.GRASS_LIGHT, L.GRASS_SHADE,
                  [(6, 420, 0.7), (3, 190, 2.1)])
    defs, fill = L.linear_gradient([(0, P.GRASS_LIGHT), (1, "#5fb241")], 0, 0, 0, 1)
    out += defs + '<rect x="0" y="%d" width="%d" height="%d" fill="%s"/>' % (HORIZON + 60, W, H, fill)
    # Soft darker patches give the ground a gentle roll without busy detail.
    out += ('<g fill="%s" opacity="0.35">' % P.GRASS_DARK
            + L.ellipse(140, 520, 150, 26) + L.ellipse(660, 512, 160, 24) + L.ellipse(415, 470, 110, 14)
            + "</g>")
    keep_clear = [(205, 545, 365, 600), (441, 545, 601, 600)]
    out += L.grass_tufts(rng, 34, 10, 790, 380, 590, L.GRASS_SHADE, 1.1, keep_clear)
    out += L.grass_tufts(rng, 24, 0, 800, 356, 385, L.GRASS_SHADE, 0.7)
    for x, y, colour in ((40, 420, L.FLOWER_WHITE), (300, 445, L.FLOWER_YELLOW), (520, 425, L.FLOWER_WHITE),
                         (770, 470, L.FLOWER_YELLOW), (180, 585, L.FLOWER_WHITE), (640, 590, L.FLOWER_WHITE),
                         (390, 400, L.FLOWER_WHITE), (95, 560, L.FLOWER_YELLOW)):
        out += L.flower(x, y, colour, 3.5)
    return out


def tree():
    out = ""
    # Two big branches reach out under the crown; the crown hides their ends.
    branches = ("M250,300 C230,260 190,250 120,262 L118,250 C190,232 230,236 252,262 Z "
                "M272,290 C300,250 380,238 470,246 L472,258 C390,254 320,262 286,300 Z")
    out += L.shaded(L.path(branches), P.BARK, L.BARK_SHADE, offset=(0, -4))
    out += L.tree_trunk(262, 250, 364, 26, seed=1)
    out += L.tree_crown(CROWN, seed=11, apples=APPLES)
    # Two apples have already fallen into the grass beside the trunk.
    out += L.apple(178, 372, 8, leaf=False, angle=-20) + L.apple(350, 370, 7, leaf=True, angle=15)
    return out


def main():
    body = background() + meadow() + tree()
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
