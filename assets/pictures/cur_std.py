"""The arrow mouse pointer, 32x32, its tip at the hot spot (9, 6)."""

import spritelib as sl

HOT = (9, 6)
ARROW_SHADE = "#cfd8e0"


def main():
    dr = sl.Drawing()
    # the path's corner sits one outline half-width inside the hot spot pixel,
    # so the outline's rounded corner covers exactly pixel (9, 6)
    x0, y0 = HOT[0] + 1.0, HOT[1] + 1.0
    pts = [(0, 0), (0, 20.5), (4.6, 16.2), (8.4, 24.2), (12.2, 22.6), (8.6, 14.8), (15, 14.8)]
    d = sl.polyline_d([(x0 + x, y0 + y) for x, y in pts])
    arrow = dr.blob(d, sl.WHITE, shade=ARROW_SHADE, shade_off=(-1.6, -1.6))
    sl.emit(sl.document(32, 32, arrow, dr))


if __name__ == "__main__":
    main()
