"""Small helpers for the sprite generators: SVG shapes in one flat-vector style.

Every generator prints one SVG document.  Shapes get a dark warm outline;
shading is done the flat way: a base colour, one darker shade (the shape
shifted towards the upper left cut out of it) and at most one highlight.
Standard library only.
"""

import math
import sys

import palette as pal

OUTLINE = pal.OUTLINE
LINE = 2.0  # outline width in pixels at game size

# Shades that go with the palette anchors (darker shade / highlight).
APPLE_DARK = "#9a1b22"
APPLE_LEAF = "#4f9a3a"
APPLE_LEAF_DARK = "#347126"
STEM = "#6b4526"
GOLD_DARK = "#c8921a"
GOLD_LIGHT = "#ffe487"
GOLD_PALE = "#fff4c4"
SILVER = "#d7dde3"
SILVER_DARK = "#9fa9b4"
BRONZE = "#d98a3c"
BRONZE_DARK = "#a9622a"
LEAF_GREEN = pal.GRASS_LIGHT
CHESTNUT_DARK = "#7b4320"
CHESTNUT_LIGHT = "#c07a43"
MANE = "#5a3119"
MANE_LIGHT = "#7c4826"
WHITE_SHADE = "#dccdb9"
HOOF = "#4a3a30"
PLASTER = "#f2c58e"
PLASTER_DARK = "#d59f62"
PURPLE_DARK = "#4d2878"
PURPLE_LIGHT = "#8a5cc4"
GREEN_DARK = "#2c6b3a"
GREEN_LIGHT = "#5fb36d"
SKIN = "#f7d2ae"
SKIN_DARK = "#e2aa82"
CHEEK = "#f09a82"
HAIR = "#d9702a"
HAIR_DARK = "#a94f1a"
BROOM_STRAW = "#e8b850"
BROOM_STRAW_DARK = "#b8862e"
BLUSH = "#ec8f7c"
EYE = "#2b1d14"
WHITE = "#ffffff"
CREAM = pal.HORSE_WHITE
HEART_EMPTY = "#e9dfd3"
HEART_EMPTY_DARK = "#c9bba9"
ZZZ_BLUE = "#3c78c8"


def f(v):
    """Format a number for SVG with at most two decimals."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class Drawing:
    """Collects <defs> (clip paths, gradients) with unique ids."""

    def __init__(self):
        self.defs = []
        self.counter = 0

    def uid(self, prefix="d"):
        self.counter += 1
        return "%s%d" % (prefix, self.counter)

    def clip(self, d, transform=None):
        cid = self.uid("c")
        tr = ' transform="%s"' % transform if transform else ""
        self.defs.append('<clipPath id="%s"><path d="%s"%s/></clipPath>' % (cid, d, tr))
        return cid

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
        gid = self.uid("g")
        fx = cx if fx is None else fx
        fy = cy if fy is None else fy
        s = "".join('<stop offset="%s" stop-color="%s"/>' % (f(o), c) for o, c in stops)
        self.defs.append(
            '<radialGradient id="%s" cx="%s" cy="%s" r="%s" fx="%s" fy="%s">%s</radialGradient>'
            % (gid, f(cx), f(cy), f(r), f(fx), f(fy), s))
        return gid

    # ----- shapes -------------------------------------------------------
    def blob(self, d, base, shade=None, hi=None, shade_off=(-3.0, -3.0), hi_d=None,
             extra=None, line=LINE, transform=None):
        """A filled shape with flat shading and an outline.

        shade: colour of the lower-right crescent (the shape moved by
        shade_off, in base colour, covers the rest).  hi_d: path of a
        highlight (clipped to the shape).  extra: more markup drawn inside
        the shape (clipped) before the outline.
        """
        out = []
        inner = []
        if shade:
            inner.append(path(d, shade, stroke=None))
            inner.append(path(d, base, stroke=None,
                              transform="translate(%s,%s)" % (f(shade_off[0]), f(shade_off[1]))))
        else:
            inner.append(path(d, base, stroke=None))
        if hi and hi_d:
            inner.append(path(hi_d, hi, stroke=None))
        if extra:
            inner.append(extra)
        if len(inner) > 1:
            cid = self.clip(d)
            out.append('<g clip-path="url(#%s)">%s</g>' % (cid, "".join(inner)))
        else:
            out.append(inner[0])
        if line:
            out.append(path(d, "none", sw=line))
        body = "".join(out)
        if transform:
            body = '<g transform="%s">%s</g>' % (transform, body)
        return body


def path(d, fill, stroke=OUTLINE, sw=LINE, transform=None, extra=""):
    a = ['<path d="%s" fill="%s"' % (d, fill)]
    if stroke:
        a.append(' stroke="%s" stroke-width="%s" stroke-linejoin="round" stroke-linecap="round"'
                 % (stroke, f(sw)))
    if transform:
        a.append(' transform="%s"' % transform)
    if extra:
        a.append(" " + extra)
    a.append("/>")
    return "".join(a)


def line(points, stroke=OUTLINE, sw=LINE, closed=False):
    d = polyline_d(points, closed)
    return path(d, "none", stroke=stroke, sw=sw)


def group(body, transform=None, extra=""):
    if isinstance(body, (list, tuple)):
        body = "".join(body)
    attrs = ""
    if transform:
        attrs += ' transform="%s"' % transform
    if extra:
        attrs += " " + extra
    return "<g%s>%s</g>" % (attrs, body)


def text(x, y, s, size, fill, anchor="middle", stroke=None, sw=0.0, extra=""):
    st = ""
    if stroke:
        st = (' stroke="%s" stroke-width="%s" stroke-linejoin="round" paint-order="stroke"'
              % (stroke, f(sw)))
    s = s.replace("&", "&amp;").replace("<", "&lt;")
    return ('<text x="%s" y="%s" font-family="%s" font-weight="bold" font-size="%s" '
            'fill="%s" text-anchor="%s"%s %s>%s</text>'
            % (f(x), f(y), pal.FONT, f(size), fill, anchor, st, extra, s))


# ----- path builders ------------------------------------------------------
def ellipse_d(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return ("M%s %sA%s %s 0 1 0 %s %sA%s %s 0 1 0 %s %sZ"
            % (f(cx - rx), f(cy), f(rx), f(ry), f(cx + rx), f(cy), f(rx), f(ry),
               f(cx - rx), f(cy)))


def circle_d(cx, cy, r):
    return ellipse_d(cx, cy, r, r)


def polyline_d(points, closed=True):
    d = "M" + " L".join("%s %s" % (f(x), f(y)) for x, y in points)
    return d + ("Z" if closed else "")


def rect_d(x, y, w, h, r=0.0):
    if r <= 0:
        return polyline_d([(x, y), (x + w, y), (x + w, y + h), (x, y + h)])
    r = min(r, w / 2.0, h / 2.0)
    return ("M%s %sH%sA%s %s 0 0 1 %s %sV%sA%s %s 0 0 1 %s %sH%sA%s %s 0 0 1 %s %sV%sA%s %s 0 0 1 %s %sZ"
            % (f(x + r), f(y), f(x + w - r), f(r), f(r), f(x + w), f(y + r),
               f(y + h - r), f(r), f(r), f(x + w - r), f(y + h),
               f(x + r), f(r), f(r), f(x), f(y + h - r),
               f(y + r), f(r), f(r), f(x + r), f(y)))


def smooth_d(points, closed=True, tension=1.0):
    """A smooth curve through the points (Catmull-Rom turned into cubic Beziers)."""
    n = len(points)
    if n < 2:
        return ""
    pts = list(points)
    d = ["M%s %s" % (f(pts[0][0]), f(pts[0][1]))]
    count = n if closed else n - 1
    for i in range(count):
        p0 = pts[(i - 1) % n] if (closed or i > 0) else pts[i]
        p1 = pts[i]
        p2 = pts[(i + 1) % n]
        p3 = pts[(i + 2) % n] if (closed or i + 2 < n) else p2
        t = tension / 6.0
        c1 = (p1[0] + (p2[0] - p0[0]) * t, p1[1] + (p2[1] - p0[1]) * t)
        c2 = (p2[0] - (p3[0] - p1[0]) * t, p2[1] - (p3[1] - p1[1]) * t)
        d.append("C%s %s %s %s %s %s" % (f(c1[0]), f(c1[1]), f(c2[0]), f(c2[1]),
                                          f(p2[0]), f(p2[1])))
    if closed:
        d.append("Z")
    return "".join(d)


def star_points(cx, cy, r_out, r_in, n, rot=-90.0):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180.0 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def rotate_pt(p, angle_deg, c=(0.0, 0.0)):
    a = math.radians(angle_deg)
    x, y = p[0] - c[0], p[1] - c[1]
    return (c[0] + x * math.cos(a) - y * math.sin(a), c[1] + x * math.sin(a) + y * math.cos(a))


def heart_d(cx, cy, w, h):
    """A heart centred at (cx, cy), w wide, h tall (point at the bottom)."""
    x0, y0 = cx - w / 2.0, cy - h / 2.0
    def p(u, v):
        return "%s %s" % (f(x0 + u * w), f(y0 + v * h))
    return ("M%s C%s %s %s C%s %s %s C%s %s %s C%s %s %s Z"
            % (p(0.5, 0.26),
               p(0.42, 0.02), p(0.0, -0.02), p(0.02, 0.34),
               p(0.04, 0.62), p(0.36, 0.82), p(0.5, 1.0),
               p(0.64, 0.82), p(0.96, 0.62), p(0.98, 0.34),
               p(1.0, -0.02), p(0.58, 0.02), p(0.5, 0.26)))


# ----- documents ----------------------------------------------------------
def document(width, height, body, drawing=None):
    defs = ""
    if drawing is not None and drawing.defs:
        defs = "<defs>%s</defs>" % "".join(drawing.defs)
    if isinstance(body, (list, tuple)):
        body = "".join(body)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d">%s%s</svg>\n' % (width, height, width, height, defs, body))


def sheet(frame_w, frame_h, frames, drawing):
    """Frames side by side in one row; each frame clipped to its own box."""
    cid = drawing.uid("frame")
    drawing.defs.append('<clipPath id="%s"><rect x="0" y="0" width="%d" height="%d"/></clipPath>'
                        % (cid, frame_w, frame_h))
    parts = []
    for i, fr in enumerate(frames):
        if isinstance(fr, (list, tuple)):
            fr = "".join(fr)
        parts.append('<g transform="translate(%d,0)"><g clip-path="url(#%s)">%s</g></g>'
                     % (i * frame_w, cid, fr))
    return document(frame_w * len(frames), frame_h, parts, drawing)


def emit(svg):
    sys.stdout.write(svg)


def stroke_shape(d, colour, width, line=LINE):
    """A thick line (like a stem or a stick) with the outline around it."""
    return (path(d, "none", stroke=OUTLINE, sw=width + 2 * line)
            + path(d, "none", stroke=colour, sw=width))


def merged(dr, parts, line=LINE):
    """Shapes that grow into each other (a body with its neck and legs):
    one outline around them all, no seams inside.  parts: dicts with d, base,
    and optionally shade, off, extra; the fills are drawn in the given order."""
    out = [path(p["d"], OUTLINE, stroke=OUTLINE, sw=2 * line, transform=p.get("transform"))
           for p in parts]
    for p in parts:
        out.append(dr.blob(p["d"], p["base"], shade=p.get("shade"),
                           shade_off=p.get("off", (-3.0, -3.0)), extra=p.get("extra"), line=None,
                           transform=p.get("transform")))
    return "".join(out)


# ----- the horses (the right one is the left one mirrored) -----------------------
HORSE_W, HORSE_H = 270, 211
HORSE_GROUND = 205.0
HORSE_MUZZLE = "#d9a577"
HORSE_MUZZLE_DARK = "#b98357"
HORSE_EAR_INNER = "#6e3a1c"
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
        top = HORSE_GROUND - 36.0
        return path(smooth_d([(x - 16, top + 5), (x, top), (x + 16, top + 5),
                                    (x + 16, HORSE_GROUND + 2), (x - 16, HORSE_GROUND + 2)], tension=0.6),
                       WHITE_SHADE if far else CREAM, stroke=None)

    def leg_d(self, x_top, x_bot, top, width):
        w2 = width / 2.0
        bot = HORSE_GROUND - 9.0
        return smooth_d([(x_top - w2 - 2, top), (x_top + w2 + 2, top),
                            (x_bot + w2 - 0.5, bot - 24), (x_bot + w2, bot + 1),
                            (x_bot - w2, bot + 1), (x_bot - w2 + 0.5, bot - 24)], tension=0.5)

    def hoof(self, x, width):
        d = rect_d(x - width / 2.0 - 1.5, HORSE_GROUND - 10.0, width + 3, 10.0, 3.0)
        return self.blob(d, HOOF, "#2f241d", k=1.5)

    def far_leg(self, x_top, x_bot, top, width, sock=False):
        d = self.leg_d(x_top, x_bot, top, width)
        extra = self.sock(x_bot, far=True) if sock else None
        return self.blob(d, CHESTNUT_DARK, "#64361a", k=2.5, extra=extra) + self.hoof(x_bot, width)

    def body_d(self, dy=0.0):
        pts = [(58, 54), (96, 62), (134, 56), (160, 66), (170, 90), (164, 114), (140, 126),
               (104, 130), (72, 128), (44, 122), (30, 100), (34, 70)]
        return smooth_d([(x, y + dy) for x, y in pts])

    def body_hi(self, dy=0.0):
        return path(smooth_d([(56, 61 + dy), (94, 69 + dy), (132, 63 + dy), (118, 73 + dy),
                                    (92, 76 + dy), (54, 69 + dy)]),
                       CHESTNUT_LIGHT, stroke=None)

    def neck_d(self):
        return smooth_d([(122, 70), (138, 46), (158, 28), (176, 17), (194, 24), (204, 52),
                            (188, 74), (174, 104), (140, 100)], tension=0.8)

    def tail(self, droop=0.0):
        pts = [(38, 66), (22, 68), (12, 82 + droop * 0.3), (8 + droop * 0.1, 110 + droop * 0.5),
               (10, 142 + droop * 0.5), (20, 130 + droop * 0.6), (23, 144 + droop * 0.5),
               (29, 120 + droop * 0.4), (31, 96), (40, 80)]
        return self.blob(smooth_d(pts), MANE, "#3f2211", k=3.0)

    def mane(self):
        pts = [(124, 68), (122, 56), (132, 52), (132, 42), (145, 38), (147, 28), (160, 26),
               (164, 16), (176, 14), (184, 17), (170, 27), (162, 35), (150, 46), (140, 56),
               (134, 66)]
        return self.blob(smooth_d(pts, tension=0.7), MANE, "#3f2211", k=2.0)

    def head(self, mood):
        """mood: fresh, hurt, droopy, asleep."""
        p = []
        ear_d = smooth_d([(178, 18), (181, 4), (186, 2), (194, 14)], tension=0.6)
        inner = smooth_d([(181, 16), (184, 6), (189, 13)], tension=0.6)
        ear = self.blob(ear_d, pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=2.0,
                        extra=path(inner, HORSE_EAR_INNER, stroke=None))
        far_ear = group(self.blob(ear_d, CHESTNUT_DARK, "#64361a", k=2.0),
                        transform="translate(-7 3) rotate(-16 184 18)")
        droop = {"droopy": -62, "asleep": -62, "hurt": -20}.get(mood)
        if droop:
            ear = group(ear, transform="rotate(%d 184 18)" % droop)
            far_ear = group(far_ear, transform="rotate(%d 184 18)" % (droop + 6))
        p.append(far_ear)
        p.append(ear)
        head = smooth_d([(178, 16), (198, 12), (216, 24), (232, 40), (242, 54), (238, 67),
                            (221, 72), (202, 60), (186, 48), (176, 30)], tension=0.9)
        blaze = smooth_d([(196, 14), (206, 16), (214, 30), (230, 46), (233, 54), (226, 52),
                             (208, 32), (198, 22)], tension=0.7)
        muzzle = path(ellipse_d(230, 60, 14.5, 12.0), HORSE_MUZZLE, stroke=None,
                         transform="rotate(28 230 60)")
        extra = path(blaze, CREAM, stroke=None) + muzzle
        p.append(self.blob(head, pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=3.5, extra=extra))
        # forelock
        p.append(self.blob(smooth_d([(184, 14), (192, 8), (200, 13), (198, 22), (192, 18),
                                        (188, 24)], tension=0.7), MANE, "#3f2211", k=1.5,
                           line=1.6))
        # nostril and mouth
        p.append(path("M235 52 Q238 55 236 58", "none", sw=1.8))
        if mood == "fresh":
            p.append(path("M223 65 Q230 69 237 64", "none", sw=1.8))
        elif mood == "hurt":
            p.append(path("M224 66 Q227 64 230 66 Q233 68 236 65", "none", sw=1.8))
        elif mood == "droopy":
            p.append(path("M224 68 Q230 63 236 67", "none", sw=1.8))
        else:
            p.append(path("M225 66 Q230 68 235 66", "none", sw=1.6))
        # eye
        ex, ey = 202.0, 31.0
        if mood == "asleep":
            p.append(path("M%s %s q5 5 10 0" % (f(ex - 5), f(ey)), "none", sw=2.0))
            p.append(path("M%s %s l-2 2 M%s %s l1 3" % (f(ex - 4), f(ey + 1.6),
                                                           f(ex), f(ey + 2.6)), "none", sw=1.4))
        else:
            p.append(path(ellipse_d(ex, ey, 6.0, 7.5), WHITE, sw=1.8))
            p.append(path(ellipse_d(ex + 1.6, ey + 1.0, 4.0, 5.2), EYE, stroke=None))
            p.append(path(circle_d(ex + 0.2, ey - 1.6, 1.6), WHITE, stroke=None))
            if mood == "droopy":
                lid = smooth_d([(ex - 7, ey - 1), (ex, ey - 3.5), (ex + 7, ey - 1),
                                   (ex + 7, ey - 9), (ex - 7, ey - 9)], tension=0.5)
                p.append(self.dr.blob(ellipse_d(ex, ey, 6.0, 7.5), "none", line=None,
                                      extra=path(lid, pal.HORSE_CHESTNUT, stroke=None)))
                p.append(path("M%s %s Q%s %s %s %s" % (f(ex - 6.5), f(ey - 1),
                                                        f(ex), f(ey - 4), f(ex + 6.5),
                                                        f(ey - 1)), "none", sw=1.8))
            else:
                p.append(path("M%s %s l-3 -2" % (f(ex + 4), f(ey - 7)), "none", sw=1.6))
        # blush
        if mood in ("fresh", "asleep"):
            p.append(path(ellipse_d(214, 50, 5.0, 3.0), BLUSH, stroke=None))
        return "".join(p)

    def plaster(self, x, y, angle=35.0, size=1.0):
        one = rect_d(-12 * size, -4 * size, 24 * size, 8 * size, 3.5 * size)
        pad = rect_d(-4 * size, -3 * size, 8 * size, 6 * size, 1.0)
        a = self.dr.blob(one, PLASTER, None, line=1.6, extra=path(pad, PLASTER_PAD, stroke=None))
        b = a
        return group([group(a, transform="rotate(%s)" % f(angle)),
                         group(b, transform="rotate(%s)" % f(-angle))],
                        transform="translate(%s %s)" % (f(x), f(y)))

    # ----- poses ----------------------------------------------------------
    def standing(self, stage):
        mood = ("fresh", "hurt", "droopy")[stage]
        p = []
        p.append(self.far_leg(84, 86, 112, 15))
        p.append(self.far_leg(126, 128, 112, 15, sock=True))
        p.append(self.tail(droop=24.0 if stage == 2 else 0.0))
        neck_tr = "rotate(9 140 92)" if stage == 2 else None
        neck = self.part(self.neck_d(), pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=4.0)
        neck["transform"] = neck_tr
        parts = [neck]
        parts.append(self.part(self.leg_d(58, 58, 100, 18), pal.HORSE_CHESTNUT,
                               CHESTNUT_DARK, k=2.5, extra=self.sock(58)))
        parts.append(self.part(self.leg_d(148, 148, 104, 17), pal.HORSE_CHESTNUT,
                               CHESTNUT_DARK, k=2.5))
        parts.append(self.part(self.body_d(), pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=5.0,
                               extra=self.body_hi()))
        # the haunch over the hind leg
        parts.append(self.part(smooth_d([(38, 86), (62, 80), (80, 98), (76, 126), (62, 134),
                                         (46, 126), (34, 106)], tension=0.9),
                               pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=3.0))
        p.append(merged(self.dr, parts))
        p.append(self.hoof(58, 18))
        p.append(self.hoof(148, 17))
        head = self.head(mood)
        if stage == 2:
            head += self.plaster(191, 21, size=0.8)
            p.append(group([self.mane(), group(head, transform="rotate(26 190 40)")],
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
        tail = smooth_d([(38, 66 + dy), (22, 70 + dy), (10, 92 + dy), (4, 118 + dy),
                            (10, 131 + dy), (22, 126 + dy), (30, 112 + dy), (34, 96 + dy),
                            (40, 84 + dy)])
        p.append(self.blob(tail, MANE, "#3f2211", k=3.0))
        head_tr = "translate(-30 94) rotate(12 150 100)"
        neck = self.part(self.neck_d(), pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=4.0)
        neck["transform"] = head_tr
        # the folded hind leg lies in front of the body, the neck grows out of it
        hind = smooth_d([(56, 180), (90, 176), (112, 190), (110, 204), (60, 204)], tension=0.7)
        p.append(merged(self.dr, [
            neck,
            self.part(self.body_d(dy), pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=5.0,
                      extra=self.body_hi(dy))]))
        p.append(self.blob(hind, pal.HORSE_CHESTNUT, CHESTNUT_DARK, k=3.0))
        p.append(self.blob(rect_d(100, 194, 15, 11, 3), HOOF, "#2f241d", k=1.5))
        p.append(self.blob(rect_d(132, 188, 58, 16, 8), pal.HORSE_CHESTNUT,
                           CHESTNUT_DARK, k=2.5, extra=self.sock(182)))
        p.append(self.blob(rect_d(186, 191, 14, 14, 3), HOOF, "#2f241d", k=1.5))
        p.append(self.plaster(98, 64 + dy))
        p.append(group([self.mane(), self.head("asleep"), self.plaster(191, 21, size=0.8)],
                          transform=head_tr))
        return p

    def frames(self):
        return [self.standing(0), self.standing(1), self.standing(2), self.asleep()]


def horse_zzz(sx):
    """The sleeping letters, never mirrored."""
    out = []
    for (x, y, s) in ((196, 124, 13), (210, 106, 17), (228, 84, 22)):
        if sx < 0:
            x = HORSE_W - x
        out.append(text(x, y, "Z", s, ZZZ_BLUE, stroke=OUTLINE, sw=3.0))
    return "".join(out)


def horse_sheet(sx):
    dr = Drawing()
    horse = Horse(dr, sx)
    frames = []
    for i, fr in enumerate(horse.frames()):
        body = "".join(fr)
        if sx < 0:
            body = group(body, transform="translate(%d 0) scale(-1 1)" % HORSE_W)
        if i == 3:
            body += horse_zzz(sx)
        frames.append(body)
    return sheet(HORSE_W, HORSE_H, frames, dr)
