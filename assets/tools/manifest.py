"""Reads assets/pictures/manifest.txt.

One picture a line: name, sheet width, sheet height, keyed (yes/no), and optionally a fifth
column of comma-separated options:
    frame=WxH   the sheet holds frames of W x H pixels in rows, left to right
    nooutline   keyed, but kept edge pixels keep their colour (soft glows, translucent panels)
Everything after '#' is a comment.

    manifest.py MANIFEST                    prints the picture names
    manifest.py MANIFEST --header OUT.h     writes the geometry as C++ constants
"""

import collections

Entry = collections.namedtuple("Entry", "name width height keyed options frame")


def parse_line(line):
    line = line.split("#", 1)[0].strip()
    if not line:
        return None
    cols = line.split()
    if len(cols) not in (4, 5):
        raise ValueError("bad manifest line: %r" % line)
    name, width, height, keyed = cols[0], int(cols[1]), int(cols[2]), cols[3]
    if keyed not in ("yes", "no"):
        raise ValueError("keyed must be yes or no: %r" % line)
    options = cols[4].split(",") if len(cols) == 5 else []
    frame = (width, height)
    for opt in options:
        if opt.startswith("frame="):
            fw, fh = opt[len("frame="):].split("x")
            frame = (int(fw), int(fh))
            if width % frame[0] or height % frame[1]:
                raise ValueError("frames do not tile the sheet: %r" % line)
        elif opt != "nooutline":
            raise ValueError("unknown option %r: %r" % (opt, line))
    return Entry(name, width, height, keyed == "yes", options, frame)


def read(path):
    with open(path, encoding="utf-8") as f:
        return [e for e in (parse_line(line) for line in f) if e is not None]


def frame_count(entry):
    """Frames of a sheet; 0 for a picture without frame=, which the game draws whole."""
    if not any(opt.startswith("frame=") for opt in entry.options):
        return 0
    return (entry.width // entry.frame[0]) * (entry.height // entry.frame[1])


def cpp_header(entries):
    """C++ constants for every picture: ASSET_<NAME> and the table ASSET_PICTURES."""
    lines = [
        "// Written by assets/tools/manifest.py from assets/pictures/manifest.txt; edit those.",
        "#pragma once",
        "",
        "// A picture of ImgData/: the whole sheet's size, the size and number of its frames",
        "// (0 frames: drawn whole, the frame being the whole picture), whether magenta is its",
        "// colour key, and whether its kept edge pixels take the dark outline colour.",
        "struct SAssetGeometry {",
        "    const char* pFile;",
        "    int iWidth;",
        "    int iHeight;",
        "    int iFrameWidth;",
        "    int iFrameHeight;",
        "    int iFrames;",
        "    bool bKeyed;",
        "    bool bOutlined;",
        "};",
        "",
    ]
    names = []
    for e in entries:
        name = "ASSET_" + e.name.upper()
        names.append(name)
        lines.append('constexpr SAssetGeometry %s{"ImgData/%s.bmp", %d, %d, %d, %d, %d, %s, %s};' % (
            name, e.name, e.width, e.height, e.frame[0], e.frame[1], frame_count(e),
            "true" if e.keyed else "false",
            "true" if e.keyed and "nooutline" not in e.options else "false"))
    lines += ["", "constexpr SAssetGeometry ASSET_PICTURES[] = {"]
    lines += ["    %s," % name for name in names]
    lines += ["};", ""]
    return "\n".join(lines)


if __name__ == "__main__":
    import sys
    if len(sys.argv) == 4 and sys.argv[2] == "--header":
        text = cpp_header(read(sys.argv[1]))
        try:
            with open(sys.argv[3], encoding="utf-8") as f:
                unchanged = f.read() == text
        except OSError:
            unchanged = False
        if not unchanged:  # an unchanged header leaves the game's sources alone
            with open(sys.argv[3], "w", encoding="utf-8") as f:
                f.write(text)
    else:
        for e in read(sys.argv[1]):
            print(e.name)
