#!/usr/bin/env python3
"""Prints the size of tests/ against src/ plus the code in assets/, in tokens of C++ and Python
without comments (headers, sources and scripts), so that packing lines changes nothing.

    scripts/test-share.py [SOURCE_TREE]
"""

import io
import pathlib
import re
import sys
import tokenize

CPP_TOKEN = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'|[A-Za-z_]\w*|\d[\w.]*|::|->|<<|>>|'
                       r"[<>=!+\-*/%&|^]=|&&|\|\||\+\+|--|\S")
PYTHON_SKIP = {tokenize.COMMENT, tokenize.NL, tokenize.NEWLINE, tokenize.INDENT, tokenize.DEDENT,
               tokenize.ENDMARKER}


def tokens(path):
    text = path.read_text(encoding="utf-8", errors="replace")
    if path.suffix == ".py":
        return sum(1 for t in tokenize.generate_tokens(io.StringIO(text).readline)
                   if t.type not in PYTHON_SKIP)
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return len(CPP_TOKEN.findall(re.sub(r"//[^\n]*", " ", text)))


def count(root):
    return sum(tokens(p) for p in sorted(pathlib.Path(root).rglob("*"))
               if p.is_file() and p.suffix in {".cpp", ".h", ".py"})


def main():
    top = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[1])
    tests = count(top / "tests")
    code = count(top / "src") + count(top / "assets")
    print("tokens: tests %d, src+assets %d, share %.2f" % (tests, code, tests / code))


if __name__ == "__main__":
    main()
