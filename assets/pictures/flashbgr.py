"""The glow behind the wand tip when the witch casts, 32x32.

The game draws it half transparent, so it is a plain round glow: a warm
yellow rim around a white-hot middle.
"""

import spritelib as sl

GLOW_RIM = "#ffd84a"
GLOW_MID = "#fff08c"
GLOW_CORE = "#fffbe6"


def main():
    dr = sl.Drawing()
    parts = [
        sl.path(sl.circle_d(16, 16, 15.0), GLOW_RIM, stroke=None),
        sl.path(sl.circle_d(16, 16, 11.0), GLOW_MID, stroke=None),
        sl.path(sl.circle_d(16, 16, 6.5), GLOW_CORE, stroke=None),
    ]
    sl.emit(sl.document(32, 32, parts, dr))


if __name__ == "__main__":
    main()
