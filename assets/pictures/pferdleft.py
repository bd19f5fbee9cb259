"""The left horse, facing right towards the middle: 4 frames of 270x211 after
0, 1, 2 and 3 hits (fresh, one plaster, droopy with plasters, asleep).

The right horse (pferdright.py) is the same drawing mirrored; the shading is
turned with it so the light still comes from the upper left.
"""

import spritelib as sl

FW, FH = 270, 211
GROUND = 205.0
MUZZLE = "#d9a577"
MUZZLE_DARK = "#b98357"
EAR_INNER = "#6e3a1c"
PLASTER_PAD = "#e7ad6d"


class Horse:
    def __init__(self, dr, sx):
        self.dr = dr
        self.sx = sx  # +1: drawn as seen, -1: will be mirrored

    def so(self, k=3.0):
        """Shade offset: the shape moved up and towards the light."""
        return (-k * self.sx, -k)

    def blob(self, d, base, shade, k=3.0, **kw):
        return self.dr.blob(d, base, shade=shade, shade_off=self.so(k), **kw)

    # ----- parts ----------------------------------------------------------
    def part(self, d, base, shade, k=3.0, extra=None):
        return {"d": d, "base": base, "shade": shade, "off": self.so(k), "extra": extra}

    def sock(self, x, far=False):
        top = GROUND - 36.0
        return sl.path(sl.smooth_d([(x - 16, top + 5), (x, top), (x + 16, top + 5),
                                    (x + 16, GROUND + 2), (x - 16, GROUND + 2)], tension=0.6),
                       sl.WHITE_SHADE if far else sl.CREAM, stroke=None)

    def leg_d(self, x_top, x_bot, top, width):
        w2 = width / 2.0
        bot = GROUND - 9.0
        return sl.smooth_d([(x_top - w2 - 2, top), (x_top + w2 + 2, top),
                            (x_bot + w2 - 0.5, bot - 24), (x_bot + w2, bot + 1),
                            (x_bot - w2, bot + 1), (x_bot - w2 + 0.5, bot - 24)], tension=0.5)

    def hoof(self, x, width):
        d = sl.rect_d(x - width / 2.0 - 1.5, GROUND - 10.0, width + 3, 10.0, 3.0)
        return self.blob(d, sl.HOOF, "#2f241d", k=1.5)

    def far_leg(self, x_top, x_bot, top, width, sock=False):
        d = self.leg_d(x_top, x_bot, top, width)
        extra = self.sock(x_bot, far=True) if sock else None
        return self.blob(d, sl.CHESTNUT_DARK, "#64361a", k=2.5, extra=extra) + self.hoof(x_bot, width)

    def body_d(self, dy=0.0):
        pts = [(58, 54), (96, 62), (134, 56), (160, 66), (170, 90), (164, 114), (140, 126),
               (104, 130), (72, 128), (44, 122), (30, 100), (34, 70)]
        return sl.smooth_d([(x, y + dy) for x, y in pts])

    def body_hi(self, dy=0.0):
        return sl.path(sl.smooth_d([(56, 61 + dy), (94, 69 + dy), (132, 63 + dy), (118, 73 + dy),
                                    (92, 76 + dy), (54, 69 + dy)]),
                       sl.CHESTNUT_LIGHT, stroke=None)

    def neck_d(self):
        return sl.smooth_d([(122, 70), (138, 46), (158, 28), (176, 17), (194, 24), (204, 52),
                            (188, 74), (174, 104), (140, 100)], tension=0.8)

    def tail(self, droop=0.0):
        pts = [(38, 66), (22, 68), (12, 82 + droop * 0.3), (8 + droop * 0.1, 110 + droop * 0.5),
               (10, 142 + droop * 0.5), (20, 130 + droop * 0.6), (23, 144 + droop * 0.5),
               (29, 120 + droop * 0.4), (31, 96), (40, 80)]
        return self.blob(sl.smooth_d(pts), sl.MANE, "#3f2211", k=3.0)

    def mane(self):
        pts = [(124, 68), (122, 56), (132, 52), (132, 42), (145, 38), (147, 28), (160, 26),
               (164, 16), (176, 14), (184, 17), (170, 27), (162, 35), (150, 46), (140, 56),
               (134, 66)]
        return self.blob(sl.smooth_d(pts, tension=0.7), sl.MANE, "#3f2211", k=2.0)

    def head(self, mood):
        """mood: fresh, hurt, droopy, asleep."""
        p = []
        ear = sl.smooth_d([(178, 18), (181, 4), (186, 2), (194, 14)], tension=0.6)
        inner = sl.smooth_d([(181, 16), (184, 6), (189, 13)], tension=0.6)
        ear = self.blob(ear, sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=2.0,
                        extra=sl.path(inner, EAR_INNER, stroke=None))
        if mood in ("droopy", "asleep"):
            ear = sl.group(ear, transform="rotate(-62 184 18)")
        elif mood == "hurt":
            ear = sl.group(ear, transform="rotate(-20 184 18)")
        p.append(ear)
        head = sl.smooth_d([(178, 16), (198, 12), (216, 24), (232, 40), (242, 54), (238, 67),
                            (221, 72), (202, 60), (186, 48), (176, 30)], tension=0.9)
        blaze = sl.smooth_d([(196, 14), (206, 16), (214, 30), (230, 46), (233, 54), (226, 52),
                             (208, 32), (198, 22)], tension=0.7)
        muzzle = sl.path(sl.ellipse_d(230, 60, 14.5, 12.0), MUZZLE, stroke=None,
                         transform="rotate(28 230 60)")
        extra = sl.path(blaze, sl.CREAM, stroke=None) + muzzle
        p.append(self.blob(head, sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=3.5, extra=extra))
        # forelock
        p.append(self.blob(sl.smooth_d([(184, 14), (192, 8), (200, 13), (198, 22), (192, 18),
                                        (188, 24)], tension=0.7), sl.MANE, "#3f2211", k=1.5,
                           line=1.6))
        # nostril and mouth
        p.append(sl.path("M235 52 Q238 55 236 58", "none", sw=1.8))
        if mood == "fresh":
            p.append(sl.path("M223 65 Q230 69 237 64", "none", sw=1.8))
        elif mood == "hurt":
            p.append(sl.path("M224 66 Q227 64 230 66 Q233 68 236 65", "none", sw=1.8))
        elif mood == "droopy":
            p.append(sl.path("M224 68 Q230 63 236 67", "none", sw=1.8))
        else:
            p.append(sl.path("M225 66 Q230 68 235 66", "none", sw=1.6))
        # eye
        ex, ey = 202.0, 31.0
        if mood == "asleep":
            p.append(sl.path("M%s %s q5 5 10 0" % (sl.f(ex - 5), sl.f(ey)), "none", sw=2.0))
            p.append(sl.path("M%s %s l-2 2 M%s %s l1 3" % (sl.f(ex - 4), sl.f(ey + 1.6),
                                                           sl.f(ex), sl.f(ey + 2.6)), "none", sw=1.4))
        else:
            p.append(sl.path(sl.ellipse_d(ex, ey, 6.0, 7.5), sl.WHITE, sw=1.8))
            p.append(sl.path(sl.ellipse_d(ex + 1.6, ey + 1.0, 4.0, 5.2), sl.EYE, stroke=None))
            p.append(sl.path(sl.circle_d(ex + 0.2, ey - 1.6, 1.6), sl.WHITE, stroke=None))
            if mood == "droopy":
                lid = sl.smooth_d([(ex - 7, ey - 1), (ex, ey - 3.5), (ex + 7, ey - 1),
                                   (ex + 7, ey - 9), (ex - 7, ey - 9)], tension=0.5)
                p.append(self.dr.blob(sl.ellipse_d(ex, ey, 6.0, 7.5), "none", line=None,
                                      extra=sl.path(lid, sl.pal.HORSE_CHESTNUT, stroke=None)))
                p.append(sl.path("M%s %s Q%s %s %s %s" % (sl.f(ex - 6.5), sl.f(ey - 1),
                                                        sl.f(ex), sl.f(ey - 4), sl.f(ex + 6.5),
                                                        sl.f(ey - 1)), "none", sw=1.8))
            else:
                p.append(sl.path("M%s %s l-3 -2" % (sl.f(ex + 4), sl.f(ey - 7)), "none", sw=1.6))
        # blush
        if mood in ("fresh", "asleep"):
            p.append(sl.path(sl.ellipse_d(214, 50, 5.0, 3.0), sl.BLUSH, stroke=None))
        return "".join(p)

    def plaster(self, x, y, angle=35.0, size=1.0):
        one = sl.rect_d(-12 * size, -4 * size, 24 * size, 8 * size, 3.5 * size)
        pad = sl.rect_d(-4 * size, -3 * size, 8 * size, 6 * size, 1.0)
        a = self.dr.blob(one, sl.PLASTER, None, line=1.6, extra=sl.path(pad, PLASTER_PAD, stroke=None))
        b = a
        return sl.group([sl.group(a, transform="rotate(%s)" % sl.f(angle)),
                         sl.group(b, transform="rotate(%s)" % sl.f(-angle))],
                        transform="translate(%s %s)" % (sl.f(x), sl.f(y)))

    # ----- poses ----------------------------------------------------------
    def standing(self, stage):
        mood = ("fresh", "hurt", "droopy")[stage]
        p = []
        p.append(self.far_leg(84, 86, 112, 15))
        p.append(self.far_leg(126, 128, 112, 15, sock=True))
        p.append(self.tail(droop=24.0 if stage == 2 else 0.0))
        neck_tr = "rotate(9 140 92)" if stage == 2 else None
        neck = self.part(self.neck_d(), sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=4.0)
        neck["transform"] = neck_tr
        parts = [neck]
        parts.append(self.part(self.leg_d(58, 58, 100, 18), sl.pal.HORSE_CHESTNUT,
                               sl.CHESTNUT_DARK, k=2.5, extra=self.sock(58)))
        parts.append(self.part(self.leg_d(148, 148, 104, 17), sl.pal.HORSE_CHESTNUT,
                               sl.CHESTNUT_DARK, k=2.5))
        parts.append(self.part(self.body_d(), sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=5.0,
                               extra=self.body_hi()))
        p.append(sl.merged(self.dr, parts))
        p.append(self.hoof(58, 18))
        p.append(self.hoof(148, 17))
        head = self.head(mood)
        if stage == 2:
            head += self.plaster(191, 21, size=0.8)
            p.append(sl.group([self.mane(), sl.group(head, transform="rotate(26 190 40)")],
                              transform=neck_tr))
        else:
            p.append(self.mane())
            p.append(head)
        if stage >= 1:
            p.append(self.plaster(98, 64))
        return p

    def asleep(self):
        dy = 74.0
        p = []
        tail = sl.smooth_d([(38, 66 + dy), (22, 70 + dy), (10, 92 + dy), (4, 118 + dy),
                            (10, 131 + dy), (22, 126 + dy), (30, 112 + dy), (34, 96 + dy),
                            (40, 84 + dy)])
        p.append(self.blob(tail, sl.MANE, "#3f2211", k=3.0))
        head_tr = "translate(-30 94) rotate(12 150 100)"
        neck = self.part(self.neck_d(), sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=4.0)
        neck["transform"] = head_tr
        # the folded hind leg lies in front of the body, the neck grows out of it
        hind = sl.smooth_d([(56, 180), (90, 176), (112, 190), (110, 204), (60, 204)], tension=0.7)
        p.append(sl.merged(self.dr, [
            neck,
            self.part(self.body_d(dy), sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=5.0,
                      extra=self.body_hi(dy))]))
        p.append(self.blob(hind, sl.pal.HORSE_CHESTNUT, sl.CHESTNUT_DARK, k=3.0))
        p.append(self.blob(sl.rect_d(100, 194, 15, 11, 3), sl.HOOF, "#2f241d", k=1.5))
        p.append(self.blob(sl.rect_d(132, 188, 58, 16, 8), sl.pal.HORSE_CHESTNUT,
                           sl.CHESTNUT_DARK, k=2.5, extra=self.sock(182)))
        p.append(self.blob(sl.rect_d(186, 191, 14, 14, 3), sl.HOOF, "#2f241d", k=1.5))
        p.append(self.plaster(98, 64 + dy))
        p.append(sl.group([self.mane(), self.head("asleep"), self.plaster(191, 21, size=0.8)],
                          transform=head_tr))
        return p

    def frames(self):
        return [self.standing(0), self.standing(1), self.standing(2), self.asleep()]


def zzz(sx):
    """The sleeping letters, never mirrored."""
    out = []
    for (x, y, s) in ((196, 124, 13), (210, 106, 17), (228, 84, 22)):
        if sx < 0:
            x = FW - x
        out.append(sl.text(x, y, "Z", s, sl.ZZZ_BLUE, stroke=sl.OUTLINE, sw=3.0))
    return "".join(out)


def build(sx):
    dr = sl.Drawing()
    horse = Horse(dr, sx)
    frames = []
    for i, fr in enumerate(horse.frames()):
        body = "".join(fr)
        if sx < 0:
            body = sl.group(body, transform="translate(%d 0) scale(-1 1)" % FW)
        if i == 3:
            body += zzz(sx)
        frames.append(body)
    return sl.sheet(FW, FH, frames, dr)


def main():
    sl.emit(build(+1))


if __name__ == "__main__":
    main()
