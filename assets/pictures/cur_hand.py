"""The pointing-hand mouse pointer, 32x32: a white glove whose index
fingertip is the hot spot (24, 3)."""

import spritelib as sl

HOT = (24, 3)
GLOVE_SHADE = "#d3dbe3"
CUFF = "#e3e9ee"


def main():
    dr = sl.Drawing()
    cx = HOT[0] + 0.5           # the finger's middle runs through the hot spot pixel
    top = HOT[1] + 1.0          # path top; the outline reaches up to HOT[1]
    finger = sl.rect_d(cx - 3.0, top, 6.0, 15.0, 3.0)
    curled = [sl.rect_d(x, 12.8, 4.6, 8.0, 2.3) for x in (8.9, 13.1, 17.3)]
    palm = sl.rect_d(8.6, 16.0, 20.0, 11.0, 4.0)
    thumb = sl.smooth_d([(11.0, 18.0), (6.0, 17.6), (3.6, 19.6), (5.4, 22.2), (11.5, 24.6)])
    cuff = sl.rect_d(10.4, 25.4, 16.4, 5.0, 1.6)
    body = [dr.blob(cuff, CUFF, shade=GLOVE_SHADE, shade_off=(-1.0, -1.0))]
    body.append(dr.blob(palm, sl.WHITE, shade=GLOVE_SHADE, shade_off=(-1.6, -1.6)))
    for c in curled:
        body.append(dr.blob(c, sl.WHITE, shade=GLOVE_SHADE, shade_off=(-1.0, -1.0), line=1.2))
    body.append(dr.blob(finger, sl.WHITE, shade=GLOVE_SHADE, shade_off=(-1.2, -1.2)))
    body.append(dr.blob(thumb, sl.WHITE, shade=GLOVE_SHADE, shade_off=(-1.0, -1.2)))
    sl.emit(sl.document(32, 32, body, dr))


if __name__ == "__main__":
    main()
