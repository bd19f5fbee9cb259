"""The right horse, facing left towards the middle: the left horse mirrored
(4 frames of 270x211 after 0, 1, 2 and 3 hits)."""

import spritelib as sl
import pferdleft


def main():
    sl.emit(pferdleft.build(-1))


if __name__ == "__main__":
    main()
