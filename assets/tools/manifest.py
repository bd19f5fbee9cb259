"""Reads assets/pictures/manifest.txt, the one place of every picture's geometry.

One picture a line: name, sheet width, sheet height, keyed (yes/no) and optionally a fifth
column of comma-separated options: frame=WxH (the sheet holds frames of W x H pixels in rows,
left to right) and nooutline (kept edge pixels keep their colour). '#' starts a comment.

    manifest.py MANIFEST --header OUT.h     writes the geometry as C++ constants
"""

import collections
import sys

Entry = collections.namedtuple("Entry", "name width height keyed outlined frame frames")


def parse_line(line):
    cols = line.split("#", 1)[0].split()
    if not cols:
        return None
    if len(cols) not in (4, 5) or cols[3] not in ("yes", "no"):
        raise SystemExit("bad manifest line: %r" % line)
    width, height, keyed = int(cols[1]), int(cols[2]), cols[3] == "yes"
    options = cols[4].split(",") if len(cols) == 5 else []
    frame, frames = (width, height), 0  # no frames: the game draws the picture whole
    for option in options:
        if option.startswith("frame="):
            frame = tuple(int(v) for v in option[len("frame="):].split("x"))
            if width % frame[0] or height % frame[1]:
                raise SystemExit("frames do not tile the sheet: %r" % line)
            frames = (width // frame[0]) * (height // frame[1])
        elif option != "nooutline":
            raise SystemExit("unknown option %r: %r" % (option, line))
    return Entry(cols[0], width, height, keyed, keyed and "nooutline" not in options, frame, frames)


def read(path):
    with open(path, encoding="utf-8") as f:
        return [e for e in map(parse_line, f) if e is not None]


HEADER = """// Written by assets/tools/manifest.py from assets/pictures/manifest.txt; edit those.
#pragma once

// A picture of ImgData/: the whole sheet's size, the size and number of its frames
// (0 frames: drawn whole, the frame being the whole picture), whether magenta is its
// colour key, and whether its kept edge pixels take the dark outline colour.
struct SAssetGeometry {
    const char* pFile;
    int iWidth;
    int iHeight;
    int iFrameWidth;
    int iFrameHeight;
    int iFrames;
    bool bKeyed;
    bool bOutlined;
};

"""


def cpp_header(entries):
    """C++ constants for every picture: ASSET_<NAME> and the table ASSET_PICTURES."""
    names = ["ASSET_" + e.name.upper() for e in entries]
    lines = ['constexpr SAssetGeometry %s{"ImgData/%s.bmp", %d, %d, %d, %d, %d, %s, %s};' % (
        name, e.name, e.width, e.height, e.frame[0], e.frame[1], e.frames,
        str(e.keyed).lower(), str(e.outlined).lower()) for name, e in zip(names, entries)]
    table = ["constexpr SAssetGeometry ASSET_PICTURES[] = {"] + ["    %s," % n for n in names]
    return HEADER + "\n".join(lines + [""] + table + ["};", ""])


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[2] != "--header":
        raise SystemExit(__doc__)
    text = cpp_header(read(sys.argv[1]))
    try:
        with open(sys.argv[3], encoding="utf-8") as f:
            unchanged = f.read() == text
    except OSError:
        unchanged = False
    if not unchanged:  # an unchanged header leaves the game's sources alone
        with open(sys.argv[3], "w", encoding="utf-8") as f:
            f.write(text)
