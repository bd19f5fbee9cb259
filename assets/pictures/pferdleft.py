"""The left horse, facing right towards the middle: 4 frames of 270x211 after
0, 1, 2 and 3 hits (fresh, one plaster, droopy with plasters, asleep).

The drawing lives in spritelib (Horse) because pferdright.py mirrors it.
"""

import spritelib as sl


def main():
    sl.emit(sl.horse_sheet(+1))


if __name__ == "__main__":
    main()
