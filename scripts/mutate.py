#!/usr/bin/env python3
"""Puts single faults into src/ one at a time and tells which of them the tests catch.

    scripts/mutate.py [BUILD_DIR]             the generated sample (BUILD_DIR defaults to build)
    scripts/mutate.py BUILD_DIR --set chosen  the hand-written faults instead
    scripts/mutate.py BUILD_DIR --only 3 17   only mutants 3 and 17 of the set
    scripts/mutate.py --list [--set chosen]   the mutants, numbered

The generated set is drawn mechanically: every place in src/ where an operator applies makes a
candidate (a comparison or arithmetic operator flipped, a number changed by one or to 0, a
condition negated, a call statement deleted, one character of a string literal changed), and a
sample of SAMPLE of them is drawn with a fixed seed. Mutants that change nothing a program could
observe are listed in EQUIVALENT, each with the reason found by reading it; they are not run.

For each mutant the script edits one line of one file, rebuilds the build directory
incrementally, runs the fast suites (`ctest -L fast`) and, when they miss it, every other suite
(`ctest -LE fast`); then it puts the file back, also after Ctrl-C or a failed build. A mutant that
does not compile is reported as stillborn and not counted. Results are kept in
BUILD_DIR/mutate-<set>.json, so an interrupted run goes on where it stopped.
"""

import json
import pathlib
import random
import re
import signal
import subprocess
import sys

TOP = pathlib.Path(__file__).resolve().parents[1]
SRC = TOP / "src"
SAMPLE = 150
SEED = 20261207

COMPARISON = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "%": "*", "+=": "-=", "-=": "+=",
              "*=": "/=", "/=": "*="}
STRING = re.compile(r'"(?:\\.|[^"\\])*"')
OPERATOR = re.compile(r"(?<= )(<=|>=|==|!=|<|>|\+=|-=|\*=|/=|\+|-|\*|/|%)(?= )")
NUMBER = re.compile(r"(?<![\w.])(\d+(?:\.\d*)?)(f?)(?![\w.])")
CONDITION = re.compile(r"\b(if|while) \(")
CALL = re.compile(r"^[A-Za-z_][\w:]*(?:(?:->|\.|::)[A-Za-z_]\w*)*(?:<[\w:, *]*>)?\(.*\);$")

# Mutants that no program could tell from the original, by reading them. Key: file, the line
# before and the line after, stripped.
EQUIVALENT = {
}

# Hand-written faults: (file under src/, exact original snippet, replacement, what a player
# would notice).
CHOSEN = [
]


def masked(line):
    """The line with the insides of string literals blanked and any // comment cut off."""
    code = STRING.sub(lambda m: '"' + " " * (len(m.group()) - 2) + '"', line)
    cut = code.find("//")
    return code if cut < 0 else code[:cut]


def closing(text, start):
    """Index of the parenthesis that closes the one at start, or -1."""
    depth = 0
    for i in range(start, len(text)):
        depth += {"(": 1, ")": -1}.get(text[i], 0)
        if depth == 0:
            return i
    return -1


def candidates_of_line(line):
    """(kind, mutated line) for every mutation the line allows."""
    code = masked(line)
    stripped = code.strip()
    if not stripped or stripped.startswith(("#", "static_assert", "*", "/*")):
        return []
    found = []
    for m in OPERATOR.finditer(code):
        table = COMPARISON if m.group(1) in COMPARISON else ARITHMETIC
        found.append(("operator", line[:m.start()] + table[m.group(1)] + line[m.end():]))
    for m in NUMBER.finditer(code):
        digits, suffix = m.group(1), m.group(2)
        value = float(digits) if "." in digits or suffix else int(digits)
        for new in {value + 1, value - 1, 0} - {value}:
            text = repr(float(new)) if isinstance(value, float) else str(new)
            found.append(("number", line[:m.start()] + text + suffix + line[m.end():]))
    for m in CONDITION.finditer(code):
        end = closing(code, m.end() - 1)
        if end > 0:
            found.append(("negate", line[:m.end()] + "!(" + line[m.end():end] + ")" +
                          line[end:]))
    if CALL.match(stripped) and closing(code, code.index("(")) == len(code.rstrip()) - 2:
        found.append(("delete call", line[:len(line) - len(line.lstrip())] + ";"))
    for m in STRING.finditer(line):
        body = m.group()[1:-1]
        plain = [i for i, c in enumerate(body) if c.isalnum() and (i == 0 or body[i - 1] != "\\")]
        if plain:
            i = plain[len(plain) // 2]
            c = body[i]
            new = "0" if c == "9" else "a" if c == "z" else "A" if c == "Z" else chr(ord(c) + 1)
            start = m.start() + 1 + i
            found.append(("string", line[:start] + new + line[start + 1:]))
    return found


def generated():
    """The sample of mechanically made mutants: (file, line number, kind, before, after)."""
    everything = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        lines = path.read_text(encoding="utf-8").split("\n")
        for number, line in enumerate(lines, 1):
            for kind, after in candidates_of_line(line):
                everything.append((str(path.relative_to(SRC)), number, kind, line, after))
    sample = random.Random(SEED).sample(everything, min(SAMPLE, len(everything)))
    return sorted(sample, key=lambda m: (m[0], m[1], m[2], m[4]))


def chosen():
    """The hand-written faults in the same form, found by their snippets."""
    faults = []
    for file, snippet, replacement, why in CHOSEN:
        text = (SRC / file).read_text(encoding="utf-8")
        if text.count(snippet) != 1:
            raise SystemExit("%s: snippet found %d times: %r" % (file, text.count(snippet),
                                                                snippet))
        faults.append((file, text[:text.index(snippet)].count("\n") + 1, why, snippet,
                       replacement))
    return faults


def equivalent(mutant):
    return EQUIVALENT.get("|".join((mutant[0], mutant[3].strip(), mutant[4].strip())))


def apply(mutant):
    """Writes the mutant into its file; returns the original text."""
    path = SRC / mutant[0]
    original = path.read_text(encoding="utf-8")
    if mutant[2] in ("operator", "number", "negate", "delete call", "string"):
        lines = original.split("\n")
        assert lines[mutant[1] - 1] == mutant[3], "source moved: %s:%d" % mutant[:2]
        lines[mutant[1] - 1] = mutant[4]
        path.write_text("\n".join(lines), encoding="utf-8")
    else:
        path.write_text(original.replace(mutant[3], mutant[4]), encoding="utf-8")
    return original


def run(cmd, build_dir, timeout):
    try:
        return subprocess.run(cmd, cwd=build_dir, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def judge(mutant, build_dir):
    """'fast', 'slow' (the suite that caught it), 'survived' or 'stillborn'."""
    path = SRC / mutant[0]
    original = apply(mutant)
    try:
        if not run(["cmake", "--build", ".", "-j", "2"], build_dir, 1800):
            return "stillborn"
        if not run(["ctest", "-L", "fast", "-j", "2", "--stop-on-failure", "--timeout", "120"],
                   build_dir, 900):
            return "fast"
        if not run(["ctest", "-LE", "fast", "-j", "2", "--stop-on-failure"], build_dir, 3600):
            return "slow"
        return "survived"
    finally:
        path.write_text(original, encoding="utf-8")


def describe(n, mutant):
    note = equivalent(mutant)
    head = "%3d %s:%d %s%s" % (n, mutant[0], mutant[1], mutant[2],
                               "  [equivalent: %s]" % note if note else "")
    return "%s\n      - %s\n      + %s" % (head, mutant[3].strip(), mutant[4].strip())


def on_signal(signum, frame):
    raise KeyboardInterrupt


def main():
    args = sys.argv[1:]
    which = "chosen" if "--set" in args and args[args.index("--set") + 1] == "chosen" \
        else "generated"
    mutants = chosen() if which == "chosen" else generated()
    if "--list" in args:
        for n, mutant in enumerate(mutants, 1):
            print(describe(n, mutant))
        return 0
    build_dir = pathlib.Path(args[0] if args and not args[0].startswith("--")
                             else "build").resolve()
    only = [int(a) for a in args[args.index("--only") + 1:]] if "--only" in args else None
    store = build_dir / ("mutate-%s.json" % which)
    results = json.loads(store.read_text()) if store.exists() else {}
    signal.signal(signal.SIGTERM, on_signal)
    try:
        for n, mutant in enumerate(mutants, 1):
            key = describe(n, mutant)
            if (only and n not in only) or equivalent(mutant) or key in results:
                continue
            results[key] = judge(mutant, build_dir)
            store.write_text(json.dumps(results, indent=1))
            print("%s\n      => %s" % (key, results[key]), flush=True)
    except KeyboardInterrupt:
        print("interrupted; results so far are kept in", store)
    counted = [r for r in results.values() if r != "stillborn"]
    fast = counted.count("fast")
    both = fast + counted.count("slow")
    total = len(counted)
    print("\n%s set: %d mutants, %d equivalent, %d stillborn, %d judged" % (
        which, len(mutants), sum(1 for m in mutants if equivalent(m)),
        len(results) - total, total))
    if total:
        print("fast suites: %d of %d caught (%.0f %%)" % (fast, total, 100.0 * fast / total))
        print("all suites:  %d of %d caught (%.0f %%)" % (both, total, 100.0 * both / total))
    for key, result in results.items():
        if result == "survived":
            print("survived:", key)
    return 0


if __name__ == "__main__":
    sys.exit(main())
