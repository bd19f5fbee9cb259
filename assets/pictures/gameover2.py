"""The game-over page (800 x 600, no key).

The game writes the final score, ten white bold 12 pt digits (about 80 x 15 pixels), with its
top-left corner at (346, 460): the dark plate below is made for it.
"""

import math

import palette as P
import pagelib as L

W, H = 800, 600
HORIZON = 330

SCORE_PLATE = (333, 451, 106, 33)

CROWN = [
    (560, 90, 76), (670, 60, 80), (780, 90, 80), (520, 170, 62), (620, 160, 80), (740, 170, 78),
    (560, 240, 52), (660, 248, 58), (760, 245, 54), (480, 230, 38),
]
APPLES = [(560, 110, 12), (640, 200, 12), (700, 110, 12), (760, 200, 11), (600, 260, 11), (520, 190, 11),
          (730, 270, 10)]


def tree():
    out = L.tree_trunk(674, 240, 390, 26, seed=3)
    out += L.tree_crown(CROWN, seed=5, apples=APPLES)
    # Apples that fell during the game lie in the grass.
    for x, y, r, a in ((560, 396, 10, -20), (760, 402, 9, 30), (596, 404, 8, 60)):
        out += L.apple(x, y, r, leaf=False, angle=a)
    return out


def basket(cx, base):
    """A wicker basket full of apples: the harvest of the game."""
    top = base - 70
    out = '<ellipse cx="%d" cy="%d" rx="92" ry="10" fill="%s" opacity="0.45"/>' % (cx, base + 2, P.GRASS_DARK)
    # Handle behind the apples.
    out += ('<path d="M%d,%d C%d,%d %d,%d %d,%d" fill="none" stroke="%s" stroke-width="12" stroke-linecap="round"/>'
            % (cx - 70, top + 4, cx - 66, top - 136, cx + 66, top - 136, cx + 70, top + 4, P.OUTLINE))
    out += ('<path d="M%d,%d C%d,%d %d,%d %d,%d" fill="none" stroke="%s" stroke-width="7" stroke-linecap="round"/>'
            % (cx - 70, top + 4, cx - 66, top - 136, cx + 66, top - 136, cx + 70, top + 4, L.WOOD))
    for x, y, r, a in ((-56, -10, 20, -10), (-20, -16, 21, 8), (18, -16, 21, -5), (54, -10, 19, 14),
                       (-38, -38, 20, 5), (0, -44, 21, -12), (38, -38, 19, 20), (-16, -66, 19, 10),
                       (22, -66, 18, -8)):
        out += L.apple(cx + x, top + y, r, leaf=(y < -60), angle=a)
    body = L.path("M%d,%d L%d,%d Q%d,%d %d,%d L%d,%d Q%d,%d %d,%d Z" % (
        cx - 84, top, cx + 84, top, cx + 78, base - 20, cx + 62, base, cx - 62, base, cx - 78, base - 20,
        cx - 84, top))
    out += L.shaded(body, L.WOOD, L.WOOD_SHADE, L.WOOD_LIGHT, offset=(-8, -4),
                    light_shape=L.rect(cx - 70, top + 8, 26, base - top - 20, 8))
    weave = []
    for i in range(1, 4):
        y = top + i * (base - top) / 4.0
        weave.append("M%d,%.1f Q%d,%.1f %d,%.1f" % (cx - 82 + i * 2, y, cx, y + 6, cx + 82 - i * 2, y))
    for i in range(-3, 4):
        weave.append("M%d,%d L%d,%d" % (cx + i * 22, top + 4, cx + i * 19, base - 4))
    out += ('<path d="%s" fill="none" stroke="%s" stroke-width="2" stroke-linecap="round"/>'
            % (" ".join(weave), L.WOOD_SHADE))
    out += L.shaded(L.rect(cx - 90, top - 8, 180, 16, 8), L.WOOD_LIGHT, L.WOOD, offset=(-2, -3), outline=2.5)
    return out


def key_line(cx, base, key, rest, size):
    """A centred hint: the key in bold, its meaning in regular weight."""
    kw = L.text_width(key, size, True)
    gap = L.text_width(" ", size, False)
    rw = L.text_width(rest, size, False)
    left = cx - (kw + gap + rw) / 2
    return (L.text(left, base, key, size, bold=True, max_width=400)
            + L.text(left + kw + gap, base, rest, size, max_width=400))


def score_panel():
    out = L.panel(150, 414, 500, 178, r=24, drop=6)
    x, y, w, h = SCORE_PLATE
    out += L.text(x - 14, y + h / 2 + 8, "Deine Punkte:", 22, bold=True, anchor="end", max_width=x - 14 - 166)
    out += L.plate(x, y, w, h)
    # A gold star beside the score.
    cx, cy, r = x + w + 30, y + h / 2, 18
    pts = []
    for i in range(10):
        rr = r if i % 2 == 0 else r * 0.45
        a = -math.pi / 2 + i * math.pi / 5
        pts.append("%.1f,%.1f" % (cx + rr * math.cos(a), cy + rr * math.sin(a)))
    star = '<polygon points="%s"/>' % " ".join(pts)
    out += L.shaded(star, P.GOLD, L.GOLD_SHADE, L.GOLD_LIGHT, offset=(-2, -3),
                    light_shape=L.circle(cx - 5, cy - 5, 4), outline=2)
    out += key_line(400, 532, "Return:", "noch ein Spiel", 20)
    out += key_line(400, 564, "F2:", "zur Startseite", 20)
    return out


def main():
    body = L.landscape(W, H, HORIZON, seed=5, tufts=22, keep_clear=[(140, 400, 660, 600)])
    body += tree()
    body += basket(130, 392)
    body += L.banner(265, 130, "Spiel vorbei", 64)
    body += L.text(265, 178, "Gut gespielt!", 24, bold=True, anchor="middle", halo=L.CREAM, halo_width=5,
                   max_width=360)
    body += score_panel()
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
