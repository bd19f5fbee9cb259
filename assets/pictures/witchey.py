"""The friendly witch: 3 frames of 204x320, standing with her broom.

Frame 0 normal, frame 1 glancing aside, frame 2 casting with the wand raised;
the wand's tip (the middle of its star) is at frame pixel (67, 46), where the
lightning starts.  Only the wand arm, the eyes and the mouth change, so she
does not jitter.
"""

import spritelib as sl

FW, FH = 204, 320
TIP_CAST = (67.5, 46.5)   # centre of pixel (67, 46)
PUR = sl.pal.WITCH_PURPLE
GRN = sl.pal.WITCH_GREEN
BOOT = "#4b3350"
BOOT_DARK = "#33213a"
STOCKING_LIGHT = "#f3ecd9"
WAND = "#4a3222"


def hat(dr):
    cone = ("M83 99 C92 70 100 42 118 24 C127 15 140 11 149 17 C141 19 134 26 132 36 "
            "C129 60 134 80 142 99 Z")
    band = sl.path(sl.rect_d(70, 83, 80, 15), GRN, stroke=None)
    band_edge = sl.path("M70 83 H150", "none", stroke=sl.GREEN_DARK, sw=1.4)
    hi = sl.path("M98 72 C102 54 108 40 118 30 C110 44 106 58 104 74 Z", sl.PURPLE_LIGHT, stroke=None)
    out = [dr.blob(cone, PUR, shade=sl.PURPLE_DARK, shade_off=(-5, -2), extra=hi + band + band_edge)]
    star = sl.polyline_d(sl.star_points(112, 90.5, 7.5, 3.4, 5))
    out.append(dr.blob(star, sl.pal.GOLD, shade=sl.GOLD_DARK, shade_off=(-1.2, -1.2), line=1.4))
    return "".join(out)


def brim(dr):
    d = sl.ellipse_d(112, 100, 47, 9.5)
    return dr.blob(d, PUR, shade=sl.PURPLE_DARK, shade_off=(-3, -3),
                   extra=sl.path(sl.ellipse_d(100, 97, 24, 3.2), sl.PURPLE_LIGHT, stroke=None))


def hair_back(dr):
    d = sl.smooth_d([(84, 104), (112, 98), (140, 104), (144, 130), (138, 150), (86, 150),
                     (80, 130)], tension=0.8)
    out = [dr.blob(d, sl.HAIR, shade=sl.HAIR_DARK, shade_off=(-3, -3))]
    # two braids with green ribbons
    for x, s in ((84, -1), (140, 1)):
        braid = sl.smooth_d([(x - 6, 128), (x + 6, 128), (x + 7 + 2 * s, 150), (x + 5 + 4 * s, 172),
                             (x - 5 + 4 * s, 172), (x - 7 + 2 * s, 150)], tension=0.6)
        lines = "".join(sl.path("M%s %s q%s 4 %s 0" % (sl.f(x - 6 + s * (y - 128) / 12.0), sl.f(y),
                                                      sl.f(6), sl.f(12)),
                                "none", stroke=sl.HAIR_DARK, sw=1.4) for y in (140, 152, 164))
        out.append(dr.blob(braid, sl.HAIR, shade=sl.HAIR_DARK, shade_off=(-2, -2), extra=lines))
        bx = x + 4 * s
        bow = (sl.polyline_d([(bx, 174), (bx - 9, 168), (bx - 9, 181)]) + " "
               + sl.polyline_d([(bx, 174), (bx + 9, 168), (bx + 9, 181)]))
        out.append(sl.path(bow, GRN, sw=1.6))
        out.append(sl.path(sl.circle_d(bx, 174, 3), sl.GREEN_LIGHT, sw=1.4))
        out.append(sl.path(sl.smooth_d([(bx - 4, 177), (bx + 4, 177), (bx + 6, 186), (bx, 183),
                                        (bx - 6, 186)], tension=0.4), sl.HAIR, sw=1.6))
    return "".join(out)


def face(dr, mode):
    out = []
    head = sl.circle_d(112, 123, 25.5)
    out.append(dr.blob(head, sl.SKIN, shade=sl.SKIN_DARK, shade_off=(-3, -3)))
    # fringe under the brim
    fringe = sl.smooth_d([(88, 103), (136, 103), (138, 110), (131, 112), (124, 109), (118, 112.5),
                          (112, 109), (106, 112.5), (100, 109), (93, 112), (86, 110)], tension=0.6)
    out.append(dr.blob(fringe, sl.HAIR, shade=sl.HAIR_DARK, shade_off=(-1.5, -1.5), line=1.6))
    # cheeks
    out.append(sl.path(sl.ellipse_d(96, 134, 5, 3.2), sl.BLUSH, stroke=None))
    out.append(sl.path(sl.ellipse_d(128, 134, 5, 3.2), sl.BLUSH, stroke=None))
    # eyes
    look = {"normal": (0.6, 0.6), "aside": (2.6, -0.4), "cast": (-1.6, -2.4)}[mode]
    for ex in (102.5, 121.5):
        ey = 124.0
        out.append(sl.path(sl.ellipse_d(ex, ey, 4.8, 6.0), sl.WHITE, sw=1.6))
        px, py = ex + look[0], ey + look[1]
        out.append(sl.path(sl.ellipse_d(px, py, 3.5, 4.4), sl.EYE, stroke=None))
        out.append(sl.path(sl.circle_d(px - 1.1, py - 1.6, 1.4), sl.WHITE, stroke=None))
    # nose and mouth
    out.append(sl.path("M111 129 q2 2.5 -0.5 4", "none", sw=1.4))
    if mode == "cast":
        out.append(sl.path(sl.ellipse_d(112, 140, 3.6, 4.2), "#8a2f2a", sw=1.6))
    elif mode == "aside":
        out.append(sl.path("M106 138 q6 4 12 -1", "none", sw=1.7))
    else:
        out.append(sl.path("M105 137 q7 6 14 0", "none", sw=1.7))
    # freckles
    for x, y in ((95, 129), (98, 131), (126, 131), (129, 129)):
        out.append(sl.path(sl.circle_d(x, y, 0.8), sl.SKIN_DARK, stroke=None))
    return "".join(out)


def dress(dr):
    d = sl.smooth_d([(96, 148), (128, 148), (138, 160), (142, 196), (152, 246), (160, 286),
                     (146, 292), (130, 287), (112, 293), (94, 287), (78, 292), (64, 286),
                     (72, 246), (82, 196), (86, 160)], tension=0.7)
    hi = sl.path("M86 206 C84 232 78 256 72 280 L80 282 C86 254 90 230 92 206 Z",
                 sl.PURPLE_LIGHT, stroke=None)
    sash = sl.path(sl.rect_d(60, 194, 100, 12), GRN, stroke=None)
    sash_edge = sl.path("M60 194 H160 M60 206 H160", "none", stroke=sl.GREEN_DARK, sw=1.4)
    hem = sl.path("M64 280 C80 286 96 282 112 287 C128 282 144 286 160 280 L164 300 L60 300 Z",
                  GRN, stroke=None)
    dots = "".join(sl.path(sl.polyline_d(sl.star_points(x, y, 3.6, 1.6, 5)), sl.pal.GOLD,
                           stroke=None) for x, y in ((92, 226), (124, 236), (104, 258),
                                                    (140, 264), (80, 268), (114, 218)))
    out = [dr.blob(d, PUR, shade=sl.PURPLE_DARK, shade_off=(-5, -3),
                   extra=hi + sash + sash_edge + hem + dots)]
    # the bow of the sash
    bow = sl.smooth_d([(120, 200), (130, 192), (134, 199), (130, 206)], tension=0.5)
    bow2 = sl.smooth_d([(120, 200), (131, 210), (126, 218), (121, 208)], tension=0.5)
    out.append(dr.blob(bow, sl.GREEN_LIGHT, shade=GRN, shade_off=(-1.5, -1.5), line=1.6))
    out.append(dr.blob(bow2, sl.GREEN_LIGHT, shade=GRN, shade_off=(-1.5, -1.5), line=1.6))
    out.append(sl.path(sl.circle_d(120, 200, 3.2), GRN, sw=1.6))
    # collar
    for s in (-1, 1):
        col = sl.polyline_d([(112, 152), (112 + s * 18, 146), (112 + s * 16, 160)])
        out.append(dr.blob(col, sl.GREEN_LIGHT, shade=GRN, shade_off=(-1.5, -1.5), line=1.6))
    out.append(sl.path(sl.circle_d(112, 154, 3.0), sl.pal.GOLD, sw=1.4))
    return "".join(out)


def legs(dr):
    out = []
    for x, s in ((101, -1), (123, 1)):
        leg = sl.rect_d(x - 6, 284, 12, 22, 2)
        stripes = "".join(sl.path(sl.rect_d(x - 7, y, 14, 3.5), GRN, stroke=None)
                          for y in (288, 295))
        out.append(dr.blob(leg, STOCKING_LIGHT, shade=sl.WHITE_SHADE, shade_off=(-1, -1),
                           extra=stripes, line=1.6))
        toe = x + s * 19
        boot = sl.smooth_d([(x - 8 * s, 302), (x + 6 * s, 300), (toe, 309), (toe + s * 3, 303),
                            (toe + s * 1, 316), (x - 8 * s, 316)], tension=0.4)
        out.append(dr.blob(boot, BOOT, shade=BOOT_DARK, shade_off=(-1.5, -1.5)))
    return "".join(out)


def broom(dr):
    out = []
    stick = "M155 126 L157 282"
    out.append(sl.stroke_shape(stick, sl.pal.BARK, 5.0))
    straw = sl.smooth_d([(148, 270), (164, 270), (172, 296), (178, 316), (132, 316), (138, 296)],
                        tension=0.4)
    lines = "".join(sl.path("M%s 278 L%s 314" % (sl.f(156 + k * 4), sl.f(156 + k * 8)), "none",
                            stroke=sl.BROOM_STRAW_DARK, sw=1.3) for k in (-2, -1, 0, 1, 2))
    out.append(dr.blob(straw, sl.BROOM_STRAW, shade=sl.BROOM_STRAW_DARK, shade_off=(-2.5, -2),
                       extra=lines))
    out.append(dr.blob(sl.rect_d(146, 268, 20, 8, 2), GRN, shade=sl.GREEN_DARK,
                       shade_off=(-1, -1), line=1.6))
    return "".join(out)


def arm(shoulder, ctrl, wrist, hand_shift=0.0):
    """A sleeve from the shoulder to the wrist, a green cuff and the hand."""
    dx, dy = wrist[0] - ctrl[0], wrist[1] - ctrl[1]
    n = (dx * dx + dy * dy) ** 0.5
    dx, dy = dx / n, dy / n
    out = [sl.stroke_shape("M%s %s Q%s %s %s %s" % (sl.f(shoulder[0]), sl.f(shoulder[1]),
                                                  sl.f(ctrl[0]), sl.f(ctrl[1]),
                                                  sl.f(wrist[0]), sl.f(wrist[1])), PUR, 15.0)]
    c0 = (wrist[0] - 5 * dx, wrist[1] - 5 * dy)
    out.append(sl.stroke_shape("M%s %s L%s %s" % (sl.f(c0[0]), sl.f(c0[1]), sl.f(wrist[0]),
                                                  sl.f(wrist[1])), sl.GREEN_LIGHT, 16.0, line=1.6))
    hx, hy = wrist[0] + (7 + hand_shift) * dx, wrist[1] + (7 + hand_shift) * dy
    out.append(sl.path(sl.circle_d(hx, hy, 6.2), sl.SKIN, sw=1.8))
    return "".join(out)


def wand(dr, hand, tip):
    out = [sl.stroke_shape("M%s %s L%s %s" % (sl.f(hand[0]), sl.f(hand[1]), sl.f(tip[0]),
                                              sl.f(tip[1])), WAND, 3.2, line=1.4)]
    star = sl.polyline_d(sl.star_points(tip[0], tip[1], 8.0, 3.6, 5))
    out.append(dr.blob(star, sl.pal.GOLD, shade=sl.GOLD_DARK, shade_off=(-1.2, -1.2), line=1.6))
    return "".join(out)


def frame(dr, mode):
    out = []
    casting = mode == "cast"
    out.append(hair_back(dr))
    out.append(broom(dr))
    out.append(legs(dr))
    out.append(dress(dr))
    # the broom arm (the witch's left, on the viewer's right)
    out.append(arm((130, 158), (146, 176), (152, 198), hand_shift=-1.0))
    out.append(face(dr, mode))
    out.append(hat(dr))
    out.append(brim(dr))
    if casting:
        out.append(wand(dr, (66.5, 112), TIP_CAST))
        out.append(arm((94, 158), (70, 150), (67, 116)))
    else:
        out.append(wand(dr, (82, 214), (52.0, 188.0)))
        out.append(arm((94, 158), (82, 184), (82, 204)))
    return out


def main():
    dr = sl.Drawing()
    frames = [frame(dr, m) for m in ("normal", "aside", "cast")]
    sl.emit(sl.sheet(FW, FH, frames, dr))


if __name__ == "__main__":
    main()
