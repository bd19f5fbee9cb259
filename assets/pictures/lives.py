"""The lives display: three hearts, 4 frames of 128x40 (frame n = after n hits).

Full hearts are apple red; a lost heart stays as a pale empty heart so the
three places are always seen.
"""

import spritelib as sl

FW, FH = 128, 40
CENTRES = (22.0, 64.0, 106.0)
HEART_W, HEART_H = 37.0, 33.0


def heart(dr, cx, full):
    d = sl.heart_d(cx, 20.5, HEART_W, HEART_H)
    if full:
        hi = sl.path(sl.ellipse_d(cx - 9.5, 13.0, 5.2, 3.4), sl.pal.APPLE_HIGHLIGHT, stroke=None,
                     transform="rotate(-35 %s 13)" % sl.f(cx - 9.5))
        dot = sl.path(sl.circle_d(cx - 11.5, 11.6, 1.6), "#ffd9d2", stroke=None)
        return dr.blob(d, sl.pal.APPLE_RED, shade=sl.APPLE_DARK, shade_off=(-3.5, -3.5),
                       hi_d=None, extra=hi + dot)
    return dr.blob(d, sl.HEART_EMPTY, shade=sl.HEART_EMPTY_DARK, shade_off=(2.5, 2.5))


def main():
    dr = sl.Drawing()
    frames = []
    for hits in range(4):
        alive = 3 - hits
        frames.append([heart(dr, cx, k < alive) for k, cx in enumerate(CENTRES)])
    sl.emit(sl.sheet(FW, FH, frames, dr))


if __name__ == "__main__":
    main()
