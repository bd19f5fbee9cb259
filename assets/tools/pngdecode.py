"""Minimal PNG reader (8-bit RGB/RGBA, non-interlaced), enough for rsvg-convert output."""

import struct
import zlib

_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def _unfilter_row(ftype, line, prev, bpp):
    """Undo one PNG row filter; line and prev are bytearrays of equal length."""
    n = len(line)
    if ftype == 0:
        return line
    if ftype == 2:
        return bytearray((a + b) & 255 for a, b in zip(line, prev))
    out = line
    if ftype == 1:
        for i in range(bpp, n):
            out[i] = (out[i] + out[i - bpp]) & 255
        return out
    if ftype == 3:
        for i in range(bpp):
            out[i] = (out[i] + (prev[i] >> 1)) & 255
        for i in range(bpp, n):
            out[i] = (out[i] + ((out[i - bpp] + prev[i]) >> 1)) & 255
        return out
    if ftype == 4:
        for i in range(bpp):
            out[i] = (out[i] + prev[i]) & 255
        for i in range(bpp, n):
            a = out[i - bpp]
            b = prev[i]
            c = prev[i - bpp]
            pa = b - c
            pb = a - c
            pc = pa + pb
            if pa < 0:
                pa = -pa
            if pb < 0:
                pb = -pb
            if pc < 0:
                pc = -pc
            if pa <= pb and pa <= pc:
                p = a
            elif pb <= pc:
                p = b
            else:
                p = c
            out[i] = (out[i] + p) & 255
        return out
    raise ValueError("unknown PNG filter type %d" % ftype)


def read_png_rgba(path):
    """Returns (width, height, bytes RGBA top-down, 4 bytes a pixel, not premultiplied)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != _SIGNATURE:
        raise ValueError("%s is not a PNG file" % path)
    pos = 8
    idat = []
    width = height = ctype = None
    while pos < len(data):
        length, ctag = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if ctag == b"IHDR":
            width, height, depth, ctype, _comp, _filt, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or ctype not in (2, 6) or interlace != 0:
                raise ValueError("%s: only 8-bit non-interlaced RGB/RGBA is supported" % path)
        elif ctag == b"IDAT":
            idat.append(body)
        elif ctag == b"IEND":
            break
    raw = zlib.decompress(b"".join(idat))
    bpp = 4 if ctype == 6 else 3
    stride = width * bpp
    prev = bytearray(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        ftype = raw[start]
        line = _unfilter_row(ftype, bytearray(raw[start + 1:start + 1 + stride]), prev, bpp)
        rows.append(line)
        prev = line
    pixels = bytearray().join(rows)
    if bpp == 3:
        rgba = bytearray(width * height * 4)
        rgba[0::4] = pixels[0::3]
        rgba[1::4] = pixels[1::3]
        rgba[2::4] = pixels[2::3]
        rgba[3::4] = b"\xff" * (width * height)
        pixels = rgba
    return width, height, bytes(pixels)
