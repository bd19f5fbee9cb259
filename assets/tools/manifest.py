"""Reads assets/pictures/manifest.txt.

One picture a line: name, sheet width, sheet height, keyed (yes/no), and optionally a fifth
column of comma-separated options:
    frame=WxH   the sheet holds frames of W x H pixels in rows, left to right
    nooutline   keyed, but kept edge pixels keep their colour (soft glows, translucent panels)
Everything after '#' is a comment.
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


if __name__ == "__main__":
    import sys
    for e in read(sys.argv[1]):
        print(e.name)
