#!/usr/bin/env python3
"""Prints the size of tests/ against src/ plus assets/, in non-blank, non-comment lines of C++
and Python (headers, sources and scripts;
in C++ a comment line starts with //, /* or *, in Python with #)."""

import pathlib
import sys

SUFFIXES = {".cpp", ".h", ".py"}
COMMENT = {".cpp": ("//", "/*", "*"), ".h": ("//", "/*", "*"), ".py": ("#",)}


def count(root):
    total = 0
    for path in sorted(pathlib.Path(root).rglob("*")):
        if path.suffix in SUFFIXES and path.is_file():
            for line in path.read_text(encoding="utf-8").splitlines():
                text = line.strip()
                if text and not text.startswith(COMMENT[path.suffix]):
                    total += 1
    return total


def main():
    top = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
    tests = count(top / "tests")
    code = count(top / "src") + count(top / "assets")
    print("tests %d, src+assets %d, share %.2f" % (tests, code, tests / code))


if __name__ == "__main__":
    main()
