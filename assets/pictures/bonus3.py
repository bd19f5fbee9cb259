"""Point badges: 100, 200, 300, 400, 500 and a hit badge (6 frames of 64x64).

The badges grow from a plain gold coin to a big star burst with ribbons, so
the bigger bonus is seen at a glance; the last frame is the red "Au!" bump
shown when an apple hits a horse.
"""

import math

import spritelib as sl

SIZE = 64
C = 32.0
RIBBON_BLUE = "#3c78c8"
RIBBON_BLUE_DARK = "#2a5a9c"
RIBBON_RED = "#d8433a"
RIBBON_RED_DARK = "#a52b25"
RAY_PALE = "#fff0a8"
RAY_ORANGE = "#f59a2c"
RAY_ORANGE_DARK = "#d47a18"
BUMP_RED = "#e0352c"
BUMP_RED_DARK = "#b0221c"
BUMP_YELLOW = "#ffd23f"


def rays(dr, n, r_out, r_in, colour, dark, rot=-90.0):
    d = sl.polyline_d(sl.star_points(C, C, r_out, r_in, n, rot))
    return dr.blob(d, colour, shade=dark, shade_off=(-2.5, -2.5))


def ribbons(dr, colour, dark):
    left = sl.polyline_d([(21, 44), (30, 48), (24, 62), (20.5, 57), (14.5, 59.5)])
    right = sl.polyline_d([(43, 44), (34, 48), (40, 62), (43.5, 57), (49.5, 59.5)])
    return (dr.blob(left, colour, shade=dark, shade_off=(-2, -2))
            + dr.blob(right, colour, shade=dark, shade_off=(-2, -2)))


def coin(dr, r, label, rim=sl.pal.GOLD, rim_dark=sl.GOLD_DARK, face=sl.GOLD_LIGHT, size=15.0):
    outer = sl.circle_d(C, C, r)
    inner_r = r - 4.2
    hi = sl.path(sl.ellipse_d(C - r * 0.38, C - r * 0.5, r * 0.32, r * 0.16), sl.GOLD_PALE,
                 stroke=None, transform="rotate(-35 %s %s)" % (sl.f(C - r * 0.38), sl.f(C - r * 0.5)))
    parts = [dr.blob(outer, rim, shade=rim_dark, shade_off=(-2.5, -2.5))]
    parts.append(dr.blob(sl.circle_d(C, C, inner_r), face, shade=sl.pal.GOLD, shade_off=(2.0, 2.0),
                         extra=hi, line=1.4))
    parts.append(sl.text(C, C + size * 0.36, label, size, sl.OUTLINE))
    return "".join(parts)


def sparkle(x, y, r):
    return sl.path(sl.polyline_d(sl.star_points(x, y, r, r * 0.34, 4)), sl.GOLD_PALE, sw=1.5)


def badge(dr, level):
    label = "%d" % (100 * level)
    p = []
    if level == 1:
        p.append(coin(dr, 21.5, label))
    elif level == 2:
        p.append(rays(dr, 8, 29, 19, RAY_PALE, sl.GOLD_LIGHT, rot=-90 + 22.5))
        p.append(coin(dr, 21.5, label))
    elif level == 3:
        p.append(ribbons(dr, RIBBON_BLUE, RIBBON_BLUE_DARK))
        p.append(rays(dr, 12, 30.5, 19, RAY_ORANGE, RAY_ORANGE_DARK, rot=-90 + 15))
        p.append(coin(dr, 21.0, label))
    elif level == 4:
        star = sl.polyline_d(sl.star_points(C, C + 2.0, 31.0, 17.5, 5))
        p.append(dr.blob(star, sl.pal.GOLD, shade=sl.GOLD_DARK, shade_off=(-3, -3)))
        p.append(coin(dr, 17.5, label, rim=RAY_ORANGE, rim_dark=RAY_ORANGE_DARK, size=13.5))
    else:
        p.append(ribbons(dr, RIBBON_RED, RIBBON_RED_DARK))
        p.append(rays(dr, 10, 31.5, 18, RAY_ORANGE, RAY_ORANGE_DARK))
        p.append(rays(dr, 10, 27.5, 18, sl.pal.GOLD, sl.GOLD_DARK, rot=-90 + 18))
        p.append(coin(dr, 19.5, label, rim=RIBBON_RED, rim_dark=RIBBON_RED_DARK, size=14.5))
        p.append(sparkle(8.5, 9.5, 7.5))
        p.append(sparkle(56, 52, 6.0))
    return p


def hit(dr):
    pts = []
    n = 11
    for i in range(2 * n):
        a = math.radians(-90 + i * 180.0 / n)
        r = (30.0 if i % 4 == 0 else 27.0) if i % 2 == 0 else 17.0
        pts.append((C + r * math.cos(a), C + 1 + r * math.sin(a) * 0.94))
    bump = dr.blob(sl.polyline_d(pts), BUMP_RED, shade=BUMP_RED_DARK, shade_off=(-3, -3))
    inner = sl.polyline_d(sl.star_points(C, C + 1, 18, 11.5, 9, rot=-70))
    inner = dr.blob(inner, BUMP_YELLOW, shade=sl.pal.GOLD, shade_off=(-2, -2), line=1.4)
    word = sl.text(C + 0.5, C + 7.0, "Au!", 17, sl.WHITE, stroke=sl.OUTLINE, sw=3.2)
    return [bump, inner, word]


def main():
    dr = sl.Drawing()
    frames = [badge(dr, lv) for lv in range(1, 6)] + [hit(dr)]
    sl.emit(sl.sheet(SIZE, SIZE, frames, dr))


if __name__ == "__main__":
    main()
