"""Drawing helpers shared by the page pictures (backgrounds, start, help and game-over pages).

Every helper returns SVG markup as a string. Shapes follow one look: a base colour, a darker
shade toward the lower right (light comes from the upper left), one highlight, and a dark warm
outline. Text is set in FreeSans and measured with the font's own advance widths, so a text
that would not fit its box stops the build instead of being cut off on screen.
"""

import math
import os
import random
import struct

import palette as P

# Further colours of the pages, derived from the palette anchors.
SKY_DEEP = "#6bb7e8"
HILL_FAR = "#a9d98c"
HILL_FAR_SHADE = "#8cc673"
HILL_NEAR = "#7fc95a"
GRASS_SHADE = "#3f8a2c"
GRASS_TIP = "#8ad664"
LEAF_BASE = "#4f9e3a"
LEAF_SHADE = "#3a7d2b"
LEAF_LIGHT = "#7cc454"
BARK_SHADE = "#5c3b20"
BARK_LIGHT = "#97693f"
APPLE_SHADE = "#9c1c22"
GOLD_SHADE = "#c9961a"
GOLD_LIGHT = "#ffe27a"
FENCE = "#d9b27a"
FENCE_SHADE = "#b08550"
CREAM = "#fff7e3"
PARCHMENT = "#fbeecb"
PARCHMENT_SHADE = "#ecd9a8"
WOOD = "#b77a45"
WOOD_SHADE = "#94602f"
WOOD_LIGHT = "#cf955d"
PLATE = "#2f2540"
PLATE_LIGHT = "#443659"
BOARD = "#24463a"
BOARD_LIGHT = "#2f5a4a"
BUTTON = "#e8542e"
BUTTON_SHADE = "#b93b1c"
BUTTON_LIGHT = "#ff8a5c"
WHITE = "#ffffff"
FLOWER_YELLOW = "#ffe04a"
FLOWER_WHITE = "#fffdf5"
CLOUD = "#ffffff"
CLOUD_SHADE = "#e3f2fc"
TEXT = P.OUTLINE

OUTLINE_WIDTH = 3.0

# The help page's opaque panel (x, y, width, height) and its corner radius; its backing is drawn
# from the same figures.
HELP_PANEL = (1, 1, 596, 508)
HELP_PANEL_RADIUS = 22

FONT_FILES = {
    False: "/usr/share/fonts/truetype/freefont/FreeSans.ttf",
    True: "/usr/share/fonts/truetype/freefont/FreeSansBold.ttf",
}


class _FontMetrics:
    """Advance widths from a TrueType file (cmap format 4 and hmtx), enough to measure text."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        tables = {}
        count = struct.unpack(">H", data[4:6])[0]
        for i in range(count):
            tag, _sum, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
            tables[tag] = (offset, length)
        head = tables[b"head"][0]
        self.units = struct.unpack(">H", data[head + 18:head + 20])[0]
        hhea = tables[b"hhea"][0]
        metrics = struct.unpack(">H", data[hhea + 34:hhea + 36])[0]
        hmtx = tables[b"hmtx"][0]
        self.advances = [struct.unpack(">H", data[hmtx + 4 * i:hmtx + 4 * i + 2])[0]
                         for i in range(metrics)]
        self.cmap = self._read_cmap(data, tables[b"cmap"][0])

    @staticmethod
    def _read_cmap(data, cmap):
        count = struct.unpack(">H", data[cmap + 2:cmap + 4])[0]
        sub = None
        for i in range(count):
            platform, encoding, offset = struct.unpack(">HHI", data[cmap + 4 + 8 * i:cmap + 12 + 8 * i])
            if platform == 3 and encoding == 1:
                sub = cmap + offset
        if sub is None or struct.unpack(">H", data[sub:sub + 2])[0] != 4:
            raise ValueError("font without a Unicode BMP cmap")
        segs = struct.unpack(">H", data[sub + 6:sub + 8])[0] // 2
        ends = struct.unpack(">%dH" % segs, data[sub + 14:sub + 14 + 2 * segs])
        base = sub + 16 + 2 * segs
        starts = struct.unpack(">%dH" % segs, data[base:base + 2 * segs])
        deltas = struct.unpack(">%dh" % segs, data[base + 2 * segs:base + 4 * segs])
        range_base = base + 4 * segs
        offsets = struct.unpack(">%dH" % segs, data[range_base:range_base + 2 * segs])
        result = {}
        for s in range(segs):
            for code in range(starts[s], min(ends[s], 0x2FFF) + 1):
                if offsets[s] == 0:
                    glyph = (code + deltas[s]) & 0xFFFF
                else:
                    at = range_base + 2 * s + offsets[s] + 2 * (code - starts[s])
                    glyph = struct.unpack(">H", data[at:at + 2])[0]
                    if glyph:
                        glyph = (glyph + deltas[s]) & 0xFFFF
                result[code] = glyph
        return result

    def width(self, text, size):
        total = 0
        for ch in text:
            glyph = self.cmap.get(ord(ch), 0)
            total += self.advances[min(glyph, len(self.advances) - 1)]
        return total * size / self.units


_METRICS = {}


def text_width(text, size, bold=False):
    """Width in pixels of text set in FreeSans (Bold) at size pixels."""
    if bold not in _METRICS:
        _METRICS[bold] = _FontMetrics(FONT_FILES[bold])
    return _METRICS[bold].width(text, size)


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def text(x, y, s, size, bold=False, fill=TEXT, anchor="start", max_width=None, halo=None,
         halo_width=0.0, extra=""):
    """One line of text with its baseline at y. A halo is an outline stroke drawn under the fill.

    max_width is the room the text has; the build fails when the measured text would not fit.
    """
    width = text_width(s, size, bold) * 1.03
    if max_width is not None and width > max_width:
        raise SystemExit("text %r (%.0f px at %g px) does not fit in %.0f px" % (s, width, size, max_width))
    weight = ' font-weight="bold"' if bold else ""
    attrs = 'x="%.1f" y="%.1f" font-family="%s" font-size="%g"%s text-anchor="%s"%s' % (
        x, y, P.FONT, size, weight, anchor, extra)
    out = ""
    if halo:
        out += ('<text %s fill="%s" stroke="%s" stroke-width="%g" stroke-linejoin="round">%s</text>'
                % (attrs, halo, halo, halo_width, esc(s)))
    out += '<text %s fill="%s">%s</text>' % (attrs, fill, esc(s))
    return out


def wrap(s, size, bold, width):
    """Splits s into lines no wider than width pixels."""
    lines = []
    current = ""
    for word in s.split(" "):
        trial = word if not current else current + " " + word
        if text_width(trial, size, bold) * 1.03 <= width:
            current = trial
        else:
            if not current:
                raise SystemExit("word %r does not fit in %.0f px" % (word, width))
            lines.append(current)
            current = word
    if current:
        lines.append(current)
    return lines


def document(width, height, body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n%s\n</svg>\n'
            % (width, height, width, height, body))


_ids = [0]


def new_id(prefix):
    _ids[0] += 1
    return "%s%d" % (prefix, _ids[0])


def linear_gradient(stops, x1=0, y1=0, x2=0, y2=1):
    """A gradient definition and its id; stops are (offset, colour) or (offset, colour, opacity)."""
    gid = new_id("g")
    parts = []
    for stop in stops:
        opacity = ' stop-opacity="%g"' % stop[2] if len(stop) > 2 else ""
        parts.append('<stop offset="%g" stop-color="%s"%s/>' % (stop[0], stop[1], opacity))
    markup = ('<defs><linearGradient id="%s" x1="%g" y1="%g" x2="%g" y2="%g">%s</linearGradient></defs>'
              % (gid, x1, y1, x2, y2, "".join(parts)))
    return markup, "url(#%s)" % gid


def radial_gradient(stops, cx=0.5, cy=0.5, r=0.5):
    gid = new_id("r")
    parts = []
    for stop in stops:
        opacity = ' stop-opacity="%g"' % stop[2] if len(stop) > 2 else ""
        parts.append('<stop offset="%g" stop-color="%s"%s/>' % (stop[0], stop[1], opacity))
    markup = ('<defs><radialGradient id="%s" cx="%g" cy="%g" r="%g">%s</radialGradient></defs>'
              % (gid, cx, cy, r, "".join(parts)))
    return markup, "url(#%s)" % gid


def shaded(shape, base, shade, light=None, offset=(-5, -5), light_shape=None, outline=OUTLINE_WIDTH):
    """A shape (SVG elements without fill or stroke) drawn flat with a lower-right shade, an
    optional highlight shape and the dark warm outline around the outer edge only."""
    cid = new_id("c")
    out = '<defs><clipPath id="%s">%s</clipPath></defs>' % (cid, shape)
    if outline:
        out += ('<g fill="%s" stroke="%s" stroke-width="%g" stroke-linejoin="round">%s</g>'
                % (P.OUTLINE, P.OUTLINE, 2 * outline, shape))
    out += '<g fill="%s">%s</g>' % (shade, shape)
    out += '<g clip-path="url(#%s)">' % cid
    out += '<g fill="%s" transform="translate(%g %g)">%s</g>' % (base, offset[0], offset[1], shape)
    if light and light_shape:
        out += '<g fill="%s">%s</g>' % (light, light_shape)
    out += "</g>"
    return out


def circle(cx, cy, r):
    return '<circle cx="%.1f" cy="%.1f" r="%.1f"/>' % (cx, cy, r)


def ellipse(cx, cy, rx, ry, rotate=0):
    tr = ' transform="rotate(%g %.1f %.1f)"' % (rotate, cx, cy) if rotate else ""
    return '<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="%.1f"%s/>' % (cx, cy, rx, ry, tr)


def rect(x, y, w, h, r=0):
    return '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f"/>' % (x, y, w, h, r)


def path(d):
    return '<path d="%s"/>' % d


# ---------------------------------------------------------------- scenery


def sky(width, height, horizon):
    defs, fill = linear_gradient([(0, P.SKY_TOP), (1, P.SKY_HORIZON)], 0, 0, 0, 1)
    return defs + '<rect x="0" y="0" width="%d" height="%d" fill="%s"/>' % (
        width, horizon + 40, fill) + '<rect x="0" y="%d" width="%d" height="%d" fill="%s"/>' % (
        horizon + 39, width, height - horizon, P.SKY_HORIZON)


def cloud(cx, cy, scale=1.0):
    s = scale
    shape = (circle(cx - 28 * s, cy + 4 * s, 16 * s) + circle(cx, cy - 6 * s, 22 * s)
             + circle(cx + 26 * s, cy + 2 * s, 17 * s) + rect(cx - 42 * s, cy + 2 * s, 84 * s, 18 * s, 9 * s))
    return shaded(shape, CLOUD, CLOUD_SHADE, offset=(-3 * s, -4 * s), outline=0)


def _wave_path(x0, x1, base, amps, top_to=None, bottom=None, step=8):
    """A closed path whose top edge is a sum of sine waves; amps are (amplitude, wavelength, phase)."""
    pts = []
    x = x0
    while x <= x1 + step:
        y = base + sum(a * math.sin(2 * math.pi * x / wl + ph) for a, wl, ph in amps)
        pts.append((x, y))
        x += step
    d = "M%.1f,%.1f " % (x0, bottom)
    d += " ".join("L%.1f,%.1f" % p for p in pts)
    d += " L%.1f,%.1f Z" % (pts[-1][0], bottom)
    return d


def hills(width, base, bottom, colour, shade, amps):
    d = _wave_path(-10, width + 10, base, amps, bottom=bottom)
    return shaded(path(d), colour, shade, offset=(-6, -5), outline=2.0)


def fence(x0, x1, y, post_h=34, gap=46):
    """A low wooden fence far behind: posts and two rails."""
    out = ""
    rails = rect(x0, y + 8, x1 - x0, 5, 2) + rect(x0, y + 20, x1 - x0, 5, 2)
    out += shaded(rails, FENCE, FENCE_SHADE, offset=(0, -2), outline=1.5)
    posts = ""
    x = x0 + 6
    while x < x1 - 4:
        posts += path("M%.1f,%.1f l3,-4 l3,4 v%g h-6 Z" % (x, y + 2, post_h - 2))
        x += gap
    out += shaded(posts, FENCE, FENCE_SHADE, offset=(-2, 0), outline=1.5)
    return out


def grass_tufts(rng, count, x0, x1, y0, y1, colour=GRASS_SHADE, size=1.0, avoid=()):
    out = []
    for _ in range(count):
        x = rng.uniform(x0, x1)
        y = rng.uniform(y0, y1)
        if any(ax0 <= x <= ax1 and ay0 <= y <= ay1 for ax0, ay0, ax1, ay1 in avoid):
            continue
        s = size * (0.6 + 0.5 * (y - y0) / max(1, y1 - y0))
        out.append('<path d="M%.1f,%.1f q%.1f,%.1f %.1f,%.1f M%.1f,%.1f q%.1f,%.1f %.1f,%.1f M%.1f,%.1f q%.1f,%.1f %.1f,%.1f"/>'
                   % (x - 3 * s, y, -1 * s, -5 * s, -4 * s, -9 * s,
                      x, y, 0, -7 * s, 1 * s, -12 * s,
                      x + 3 * s, y, 1 * s, -5 * s, 5 * s, -8 * s))
    return ('<g fill="none" stroke="%s" stroke-width="%g" stroke-linecap="round">%s</g>'
            % (colour, 2.0 * size, "".join(out)))


def flower(x, y, colour=FLOWER_WHITE, r=4.0):
    petals = "".join(circle(x + r * math.cos(a), y + r * math.sin(a), r * 0.75)
                     for a in [i * 2 * math.pi / 5 - math.pi / 2 for i in range(5)])
    return ('<g fill="%s" stroke="%s" stroke-width="1.2">%s</g>' % (colour, P.OUTLINE, petals)
            + '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s" stroke="%s" stroke-width="1"/>'
            % (x, y, r * 0.55, FLOWER_YELLOW if colour != FLOWER_YELLOW else P.GOLD, P.OUTLINE))


def apple(cx, cy, r, leaf=True, angle=0):
    """A small painted apple (not the falling sprite): shade, shine off-centre, stem and leaf."""
    pts = [(0, -0.62), (0.3, -0.95), (1.0, -0.85), (1.0, -0.15), (1.0, 0.55), (0.55, 1.0), (0.2, 0.95),
           (0.1, 0.93), (-0.1, 0.93), (-0.2, 0.95), (-0.55, 1.0), (-1.0, 0.55), (-1.0, -0.15),
           (-1.0, -0.85), (-0.3, -0.95), (0, -0.62)]
    xy = ["%.1f,%.1f" % (cx + px * r, cy + py * r) for px, py in pts]
    d = "M" + xy[0] + "".join(" C" + " ".join(xy[i:i + 3]) for i in range(1, len(xy), 3)) + " Z"
    shape = path(d)
    light = ellipse(cx - 0.45 * r, cy - 0.22 * r, 0.2 * r, 0.3 * r, rotate=25)
    ow = max(1.2, min(OUTLINE_WIDTH, r / 6.0))
    out = '<g transform="rotate(%g %.1f %.1f)">' % (angle, cx, cy)
    out += ('<path d="M%.1f,%.1f q%.1f,%.1f %.1f,%.1f" fill="none" stroke="%s" stroke-width="%.1f" '
            'stroke-linecap="round"/>' % (cx, cy - 0.6 * r, 0.05 * r, -0.35 * r, 0.22 * r, -0.55 * r,
                                          P.OUTLINE, max(1.5, r / 5.5)))
    out += shaded(shape, P.APPLE_RED, APPLE_SHADE, P.APPLE_HIGHLIGHT,
                  offset=(-0.22 * r, -0.2 * r), light_shape=light, outline=ow)
    if leaf:
        lx, ly = cx + 0.2 * r, cy - 1.02 * r
        leaf_shape = path("M%.1f,%.1f q%.1f,%.1f %.1f,%.1f q%.1f,%.1f %.1f,%.1f Z" % (
            lx, ly, 0.3 * r, -0.45 * r, 0.95 * r, -0.25 * r, -0.3 * r, 0.45 * r, -0.95 * r, 0.25 * r))
        out += shaded(leaf_shape, GRASS_TIP, P.GRASS_DARK, offset=(-0.05 * r, -0.08 * r),
                      outline=max(1.0, ow * 0.7))
    out += "</g>"
    return out


def tree_crown(blobs, seed, apples=(), apple_r=10):
    """A crown made of overlapping circles (cx, cy, r) with one outline around the whole,
    soft shading per blob, leaf marks and apples."""
    rng = random.Random(seed)
    shape = "".join(circle(*b) for b in blobs)
    lights = "".join(ellipse(cx - 0.35 * r, cy - 0.42 * r, 0.42 * r, 0.24 * r, rotate=-20)
                     for cx, cy, r in blobs if r > 30)
    out = shaded(shape, LEAF_BASE, LEAF_SHADE, LEAF_LIGHT, offset=(-0.0, 0.0), light_shape="",
                 outline=OUTLINE_WIDTH)
    cid = new_id("c")
    out += '<defs><clipPath id="%s">%s</clipPath></defs>' % (cid, shape)
    out += '<g clip-path="url(#%s)">' % cid
    # Per-blob crescent shade toward the lower right, drawn in reverse so front blobs stay light.
    for cx, cy, r in blobs:
        out += '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s"/>' % (cx, cy, r, LEAF_SHADE)
        out += '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s"/>' % (cx - 0.12 * r, cy - 0.14 * r, r * 0.93, LEAF_BASE)
    out += '<g fill="%s" opacity="0.85">%s</g>' % (LEAF_LIGHT, lights)
    # The underside of the crown lies in its own shadow.
    top = min(cy - r for cx, cy, r in blobs)
    bottom = max(cy + r for cx, cy, r in blobs)
    defs, fill = linear_gradient([(0, LEAF_SHADE, 0), (0.6, LEAF_SHADE, 0), (1, "#2c6420", 0.55)])
    out += defs + '<rect x="-50" y="%.1f" width="2000" height="%.1f" fill="%s"/>' % (top, bottom - top, fill)
    # Leaf marks: small arcs in the shade colour scattered over the crown.
    marks = []
    for cx, cy, r in blobs:
        for _ in range(int(r / 9)):
            a = rng.uniform(0, 2 * math.pi)
            d = rng.uniform(0.2, 0.85) * r
            x, y = cx + d * math.cos(a), cy + d * math.sin(a)
            marks.append("M%.1f,%.1f q4,4 9,1" % (x, y))
    out += ('<path d="%s" fill="none" stroke="%s" stroke-width="2" stroke-linecap="round" opacity="0.8"/>'
            % (" ".join(marks), LEAF_SHADE))
    out += "</g>"
    for ax, ay, ar in apples:
        out += apple(ax, ay, ar or apple_r, leaf=rng.random() < 0.5, angle=rng.uniform(-15, 15))
    return out


def trunk(d_outline, light_d=None, knots=()):
    """A trunk from a closed path; bark lines are added by the caller with bark_lines()."""
    shape = path(d_outline)
    light = path(light_d) if light_d else ""
    out = shaded(shape, P.BARK, BARK_SHADE, BARK_LIGHT, offset=(-7, 0), light_shape=light)
    for kx, ky, kr in knots:
        out += ('<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="%.1f" fill="%s" stroke="%s" stroke-width="2"/>'
                % (kx, ky, kr, kr * 1.4, BARK_SHADE, P.OUTLINE))
    return out


def bark_lines(lines):
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="2" stroke-linecap="round"/>'
            % (" ".join(lines), BARK_SHADE))


# ---------------------------------------------------------------- boards, plates and buttons


def panel(x, y, w, h, r=18, base=PARCHMENT, shade=PARCHMENT_SHADE, outline=OUTLINE_WIDTH, drop=6):
    """A rounded panel with a soft drop shadow, a shaded lower edge and an outline."""
    out = ""
    if drop:
        out += ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="%s" opacity="0.25"/>'
                % (x + drop, y + drop, w, h, r, P.OUTLINE))
    out += shaded(rect(x, y, w, h, r), base, shade, offset=(-3, -5), outline=outline)
    return out


def plate(x, y, w, h, r=8, base=PLATE, rim=GOLD_SHADE):
    """A dark inset plate on which the game writes white text."""
    out = ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="%s" stroke="%s" stroke-width="%g"/>'
           % (x - 3, y - 3, w + 6, h + 6, r + 3, rim, P.OUTLINE, 2))
    out += ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="%s" stroke="%s" stroke-width="2"/>'
            % (x, y, w, h, r, base, P.OUTLINE))
    # Inner shadow along the top edge: the plate lies lower than its rim.
    out += ('<path d="M%.1f,%.1f h%.1f" stroke="#000000" stroke-opacity="0.3" stroke-width="3" stroke-linecap="round"/>'
            % (x + r * 0.6, y + 2.5, w - 1.2 * r))
    return out


def button(x, y, w, h, label, size=26):
    """A raised button: a darker base below, the face with a shine band, the label centred."""
    r = h / 2.2
    out = ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="%s" opacity="0.3"/>'
           % (x + 3, y + 6, w, h, r, P.OUTLINE))
    out += ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="%s" stroke="%s" stroke-width="3"/>'
            % (x, y, w, h, r, BUTTON_SHADE, P.OUTLINE))
    face = rect(x + 1.5, y + 1.5, w - 3, h - 7, r - 1)
    cid = new_id("c")
    out += '<defs><clipPath id="%s">%s</clipPath></defs>' % (cid, face)
    out += '<g fill="%s">%s</g>' % (BUTTON, face)
    out += ('<g clip-path="url(#%s)"><rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="%s"/></g>'
            % (cid, x + 10, y + 4, w - 20, (h - 7) * 0.32, 6, BUTTON_LIGHT))
    out += text(x + w / 2, y + (h - 6) / 2 + size * 0.36, label, size, bold=True, fill=WHITE,
                anchor="middle", max_width=w - 24, halo=P.OUTLINE, halo_width=4)
    return out


def key_cap(x, y, label, size=14, min_w=0):
    """A small keyboard key with its label; returns (markup, width)."""
    w = max(min_w, text_width(label, size, True) * 1.03 + 14)
    h = size + 10
    out = ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="5" fill="%s" stroke="%s" stroke-width="2"/>'
           % (x, y, w, h, PARCHMENT_SHADE, P.OUTLINE))
    out += ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="4" fill="%s"/>'
            % (x + 2, y + 1.5, w - 4, h - 6, CREAM))
    out += text(x + w / 2, y + h / 2 + size * 0.3, label, size, bold=True, anchor="middle")
    return out, w


def landscape(width, height, horizon, seed, tufts=30, keep_clear=()):
    """Sky, far hills, a fence on the horizon and the rolling meadow in front."""
    rng = random.Random(seed)
    out = sky(width, height, horizon)
    out += hills(width, horizon - 22, horizon + 40, HILL_FAR, HILL_FAR_SHADE,
                 [(10, 260, 0.4 + seed), (6, 140, 1.3)])
    far = [(10, 260, 0.4 + seed), (6, 140, 1.3)]
    for i in range(7):
        x = (i + 0.5) * width / 7 + rng.uniform(-40, 40)
        y = horizon - 22 + sum(a * math.sin(2 * math.pi * x / wl + ph) for a, wl, ph in far) + 4
        out += distant_tree(x, y, rng.uniform(8, 13))
    out += hills(width, horizon + 4, horizon + 60, HILL_NEAR, P.GRASS_LIGHT,
                 [(7, 330, 2.0 + seed), (4, 170, 0.2)])
    out += fence(-10, width + 10, horizon + 6, post_h=30, gap=48)
    out += hills(width, horizon + 36, height + 10, P.GRASS_LIGHT, GRASS_SHADE,
                 [(6, 420, 0.7 + seed), (3, 190, 2.1)])
    defs, fill = linear_gradient([(0, P.GRASS_LIGHT), (1, "#5fb241")], 0, 0, 0, 1)
    out += defs + '<rect x="0" y="%d" width="%d" height="%d" fill="%s"/>' % (horizon + 60, width, height, fill)
    out += grass_tufts(rng, tufts, 10, width - 10, horizon + 50, height - 10, GRASS_SHADE, 1.1, keep_clear)
    out += grass_tufts(rng, tufts * 2 // 3, 0, width, horizon + 26, horizon + 55, GRASS_SHADE, 0.7, keep_clear)
    return out


def distant_tree(x, base, r):
    """A small pale tree on the far hills: a trunk stub and a round crown."""
    out = ('<rect x="%.1f" y="%.1f" width="3" height="%.1f" fill="%s" stroke="%s" stroke-width="1"/>'
           % (x - 1.5, base - r, r, BARK_LIGHT, P.OUTLINE))
    out += shaded(circle(x, base - r * 1.5, r), "#8fcb6e", "#78b85a", offset=(-2, -2), outline=1.5)
    return out


def banner(cx, y, label, size, min_w=0):
    """A title written large in gold with a thick dark outline and a soft drop shadow."""
    w = text_width(label, size, True)
    out = text(cx + 4, y + 5, label, size, bold=True, fill=P.OUTLINE, anchor="middle",
               halo=P.OUTLINE, halo_width=size * 0.16, extra=' opacity="0.3"')
    out += text(cx, y, label, size, bold=True, fill=P.GOLD, anchor="middle",
                halo=P.OUTLINE, halo_width=size * 0.16)
    # The upper half of each letter catches the light.
    cid = new_id("c")
    out += ('<defs><clipPath id="%s"><rect x="%.1f" y="%.1f" width="%.1f" height="%.1f"/></clipPath></defs>'
            % (cid, cx - w, y - size, 2 * w, size * 0.42))
    out += '<g clip-path="url(#%s)">%s</g>' % (
        cid, text(cx, y, label, size, bold=True, fill=GOLD_LIGHT, anchor="middle"))
    return out


def tree_trunk(cx, top, base, hw, seed=0):
    """A trunk centred on cx from top (hidden under the crown) down to the ground at base,
    half as wide as hw, flaring into two roots, with a lit left side and bark lines."""
    h = base - top
    d = ("M{l},{top} C{l2},{m} {l3},{b40} {lr},{b12} Q{lt1},{b2} {lt},{base} "
         "Q{lb1},{bp4} {lb2},{bm2} Q{cx},{bp5} {rb2},{bm2} Q{rb1},{bp4} {rt},{base} "
         "Q{rt1},{b2} {rr},{b12} C{r3},{b40} {r2},{m} {r},{top} Z").format(
        l=cx - hw, l2=cx - hw + 2, l3=cx - hw - 2, lr=cx - hw - 22, lt1=cx - hw - 40, lt=cx - hw - 52,
        lb1=cx - hw - 20, lb2=cx - hw + 4, rb2=cx + hw - 4, rb1=cx + hw + 20, rt=cx + hw + 52,
        rt1=cx + hw + 40, rr=cx + hw + 22, r3=cx + hw + 2, r2=cx + hw - 2, r=cx + hw, cx=cx,
        top=top, m=top + h * 0.5, b40=base - 40, b12=base - 12, b2=base - 2, bp4=base + 4,
        bm2=base - 2, bp5=base + 5, base=base)
    light = "M{a},{top} C{b},{m} {b},{b30} {c},{b6} L{e},{b6} C{f},{b30} {f},{m} {g},{top} Z".format(
        a=cx - hw + 8, b=cx - hw + 10, c=cx - hw - 6, e=cx - hw + 8, f=cx - hw + 22, g=cx - hw + 22,
        top=top, m=top + h * 0.5, b30=base - 30, b6=base - 6)
    out = '<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="13" fill="%s" opacity="0.45"/>' % (
        cx, base + 2, hw + 80, P.GRASS_DARK)
    out += trunk(d, light)
    rng = random.Random(seed)
    lines = []
    for i in range(4):
        x = cx - hw * 0.4 + rng.uniform(0, hw * 1.1)
        y = top + h * (0.3 + 0.15 * i) + rng.uniform(-6, 6)
        lines.append("M%.1f,%.1f q%.1f,%.1f %.1f,%.1f" % (x, y, rng.uniform(-4, 4), 12, rng.uniform(-3, 3), 26))
    lines.append("M%.1f,%.1f q%.1f,%.1f %.1f,%.1f" % (cx + hw + 10, base - 6, -10, -6, -12, -20))
    lines.append("M%.1f,%.1f q%.1f,%.1f %.1f,%.1f" % (cx - hw - 10, base - 6, 10, -6, 12, -20))
    out += bark_lines(lines)
    return out
