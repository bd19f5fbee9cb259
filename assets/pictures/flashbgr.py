"""The glow behind the wand tip when the witch casts, 32x32.

The game draws it half transparent, so it is a plain round glow: a warm
yellow rim around a white-hot middle.  The game puts this box at screen
(364, 308) and the wand tip is at screen (381, 322), so the glow is centred
on (17.5, 14.5) here, right over the tip.
"""

import spritelib as sl

GLOW_RIM = "#ffd84a"
GLOW_MID = "#fff08c"
GLOW_CORE = "#fffbe6"
CENTRE = (17.5, 14.5)


def main():
    dr = sl.Drawing()
    cx, cy = CENTRE
    parts = [
        sl.path(sl.circle_d(cx, cy, 14.0), GLOW_RIM, stroke=None),
        sl.path(sl.circle_d(cx, cy, 10.2), GLOW_MID, stroke=None),
        sl.path(sl.circle_d(cx, cy, 6.0), GLOW_CORE, stroke=None),
    ]
    sl.emit(sl.document(32, 32, parts, dr))


if __name__ == "__main__":
    main()
