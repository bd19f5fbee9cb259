"""The right horse, facing left towards the middle: the left horse mirrored
(4 frames of 270x211 after 0, 1, 2 and 3 hits).  The shading is turned with
it, so the light still comes from the upper left."""

import spritelib as sl


def main():
    sl.emit(sl.horse_sheet(-1))


if __name__ == "__main__":
    main()
