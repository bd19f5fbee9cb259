#!/usr/bin/env python3
"""Builds one picture of the manifest: runs its generator, keeps the SVG, writes the BMP.

    make_picture.py NAME --manifest assets/pictures/manifest.txt --svg-dir DIR --out FILE.bmp

The generator is assets/pictures/NAME.py; it prints a complete SVG document of the size the
manifest gives. A missing generator, a size mismatch or a failing renderer stops the build.
"""

import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import manifest  # noqa: E402
import svg2bmp  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("name")
    parser.add_argument("--manifest", required=True)
    parser.add_argument("--svg-dir", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--python", default=sys.executable)
    parser.add_argument("--rsvg", default="rsvg-convert")
    args = parser.parse_args()

    entries = {e.name: e for e in manifest.read(args.manifest)}
    if args.name not in entries:
        raise SystemExit("%s is not listed in %s" % (args.name, args.manifest))
    entry = entries[args.name]
    pictures = os.path.dirname(os.path.abspath(args.manifest))
    generator = os.path.join(pictures, args.name + ".py")
    if not os.path.isfile(generator):
        raise SystemExit("error: the generator %s for %s.bmp is missing" % (generator, args.name))

    # The generator finds palette.py and the shared helpers beside it (its own directory is
    # the first entry of its module path); -S and -B as for this script.
    result = subprocess.run([args.python, "-S", "-B", generator], cwd=pictures,
                            stdout=subprocess.PIPE, check=False)
    if result.returncode != 0:
        raise SystemExit("error: %s failed with status %d" % (generator, result.returncode))
    os.makedirs(args.svg_dir, exist_ok=True)
    svg_path = os.path.join(args.svg_dir, args.name + ".svg")
    with open(svg_path, "wb") as f:
        f.write(result.stdout)
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    svg2bmp.convert(svg_path, args.out, entry.width, entry.height, entry.keyed,
                    outline="nooutline" not in entry.options, rsvg=args.rsvg)


if __name__ == "__main__":
    main()
