"""The falling apple: 20 frames of 64x64, a gentle rocking swing that loops.

The game writes the task (white bold text, up to about 60x14 px) in the
middle of each frame, so the body fills the box, the middle band stays an
even red and the shine sits in the upper left.
"""

import math

import spritelib as sl

FRAMES = 20
SIZE = 64
CENTRE = (32.0, 35.0)  # the apple rocks around its own middle, so the text band keeps its red
SWING = 6.0            # degrees
LEAF_FLUTTER = 8.0    # degrees, extra

BODY = [(32, 13.5), (41, 8.6), (52, 9.2), (59.6, 17.5), (62.4, 30), (61.4, 42), (56, 53),
        (46, 60.6), (38, 61.2), (32, 59.8), (26, 61.2), (18, 60.6), (8, 53), (2.6, 42),
        (1.6, 30), (4.4, 17.5), (12, 9.2), (23, 8.6)]


def frame(dr, i):
    t = i / float(FRAMES)
    a = SWING * math.sin(2 * math.pi * t)
    leaf_a = LEAF_FLUTTER * math.sin(2 * math.pi * t - 0.9)
    body_d = sl.smooth_d([(32 + (x - 32) * 0.97, y) for x, y in BODY])
    hi_d = ('<ellipse cx="16.5" cy="19.5" rx="7.8" ry="4.4" transform="rotate(-38 16.5 19.5)" '
            'fill="%s"/>' % sl.pal.APPLE_HIGHLIGHT)
    dot = '<ellipse cx="13.2" cy="18.2" rx="2.4" ry="1.6" transform="rotate(-38 13.2 18.2)" fill="#ffd9d2"/>'
    body = dr.blob(body_d, sl.pal.APPLE_RED, shade=sl.APPLE_DARK, shade_off=(-4.5, -4.0),
                   extra=hi_d + dot)
    # the dip where the stem sits
    dip = sl.path("M27.5 13 Q32 16.2 36.5 13", "none", stroke=sl.APPLE_DARK, sw=1.6)
    stem = sl.stroke_shape("M32 14 Q31.6 8 34.4 3.4", sl.STEM, 2.6, line=1.5)
    leaf_d = sl.smooth_d([(33.5, 9.4), (39, 4.8), (47, 3.8), (52.5, 5.4), (46.5, 9.8), (39, 10.9)])
    vein = sl.path("M35.5 9.2 Q43.5 6.6 50 5.6", "none", stroke=sl.APPLE_LEAF_DARK, sw=1.1)
    lf = dr.blob(leaf_d, sl.APPLE_LEAF, shade=sl.APPLE_LEAF_DARK, shade_off=(-1.5, -2.0),
                 extra=vein, line=1.6)
    lf = sl.group(lf, transform="rotate(%s 33.5 9.4)" % sl.f(leaf_a))
    # a small sparkle in the shine that twinkles once per cycle
    s = 0.55 + 0.45 * (0.5 + 0.5 * math.cos(2 * math.pi * t))
    sp = sl.star_points(0, 0, 3.6, 0.9, 4, rot=-90)
    sparkle = sl.path(sl.polyline_d(sp), "#fff6f0", stroke=None,
                      transform="translate(21.5 15.2) scale(%s)" % sl.f(s))
    top = sl.group([stem, lf], transform="translate(0 0.8)")
    apple = sl.group([top, body, dip, sparkle],
                     transform="rotate(%s %s %s)" % (sl.f(a), sl.f(CENTRE[0]), sl.f(CENTRE[1])))
    return apple


def main():
    dr = sl.Drawing()
    frames = [frame(dr, i) for i in range(FRAMES)]
    sl.emit(sl.sheet(SIZE, SIZE, frames, dr))


if __name__ == "__main__":
    main()
