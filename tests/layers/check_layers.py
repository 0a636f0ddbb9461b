#!/usr/bin/env python3
"""Fails when a source folder includes a header of a folder above it.

Usage: check_layers.py SOURCE_ROOT

Every arrow points down the list of layers below: a folder may include its own headers and
those of the folders listed before it, with no exception. The program's entry (WinMain), which
knows every layer and wires them together, must stand in the top layer, so that no folder below
it can reach it and a reader finds it at the top.
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
    {"program"},
]
ENTRY = re.compile(r"^int\s+(?:WINAPI\s+)?WinMain\s*\(", re.M)


def level(folder):
    for index, layer in enumerate(LAYERS):
        if folder in layer:
            return index
    return None


def main():
    src = Path(sys.argv[1]) / "src"
    problems = []
    entries = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        name = path.relative_to(src)
        own = name.parts[0]
        if level(own) is None:
            problems.append("%s: folder %s is in no layer" % (name, own))
            continue
        text = path.read_text(encoding="utf-8")
        if ENTRY.search(text):
            entries.append(name)
            if level(own) != len(LAYERS) - 1:
                problems.append("%s: the program's entry stands below the top layer" % name)
        for header in re.findall(r'^#include "([a-z_]+)/', text, re.M):
            if level(header) is not None and level(header) > level(own):
                problems.append("%s includes %s/, a layer above it" % (name, header))
    if len(entries) != 1:
        problems.append("the program has %d entries (WinMain), not one" % len(entries))
    for problem in problems:
        print(problem)
    print("layers: %s" % ("%d problem(s)" % len(problems) if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
