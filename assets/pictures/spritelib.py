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
