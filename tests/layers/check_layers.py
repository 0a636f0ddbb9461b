#!/usr/bin/env python3
"""Fails when a source folder includes a header of a folder above it.

Usage: check_layers.py SOURCE_ROOT

Every arrow points down the list of layers below: a folder may include its own headers and
those of the folders listed before it. The program's entry (src/app/win32/main.cpp) wires
everything together and may include any header.
"""

import re
import sys
from pathlib import Path

LAYERS = [
    {"platform", "text"},
    {"settings"},
    {"directory"},
    {"dispatch"},
    {"netinfo"},
    {"listeditor", "update", "about"},
    {"app"},
    {"mainwindow"},
]
ENTRY = Path("app/win32/main.cpp")


def level(folder):
    for index, layer in enumerate(LAYERS):
        if folder in layer:
            return index
    return None


def main():
    src = Path(sys.argv[1]) / "src"
    problems = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.relative_to(src) == ENTRY:
            continue
        own = path.relative_to(src).parts[0]
        if level(own) is None:
            problems.append("%s: folder %s is in no layer" % (path.relative_to(src), own))
            continue
        text = path.read_text(encoding="utf-8")
        for header in re.findall(r'^#include "([a-z_]+)/', text, re.M):
            if level(header) is not None and level(header) > level(own):
                problems.append("%s includes %s/, a layer above it"
                                % (path.relative_to(src), header))
    for problem in problems:
        print(problem)
    print("layers: %s" % ("%d problem(s)" % len(problems) if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
