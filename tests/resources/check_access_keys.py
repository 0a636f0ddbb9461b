#!/usr/bin/env python3
"""Fails when two items of one menu level or two controls of one dialog share an access key.

Usage: check_access_keys.py SOURCE_ROOT

Reads resources/botenruf.rc. An access key is the letter after a single "&" (letter case
aside); statics marked SS_NOPREFIX have none. A dialog with a menu bar shares Alt+letter with
it: the dialog's own key would win, and the menu could not be opened by its key. Controls that
the dialog never enables together may share a key, since the dialog manager passes over
disabled controls: the list editor enables one side at a time (ControlsForMode in
src/listeditor/list_editor.cpp, read from there).
"""

import re
import sys
from pathlib import Path

TEXT = r'"((?:[^"\\]|\\.|"")*)"'


def access_key(text):
    match = re.search(r"&([^&])", text.replace("&&", ""))
    return match.group(1).lower() if match else None


def menu_levels(rc):
    """Every menu's levels (its bar and each popup) as lists of (key, item text)."""
    menus, stack, pending, name = {}, [], None, None
    for line in rc.splitlines():
        line = line.strip()
        header = re.match(r"(\w+)\s+MENU\b", line)
        popup = re.match(r"POPUP\s+" + TEXT, line)
        item = re.match(r"MENUITEM\s+" + TEXT, line)
        if header:
            name, stack, pending = header.group(1), [], None
            menus[name] = []
        elif name is None:
            continue
        elif line == "BEGIN":
            path = stack[-1][0] + [pending.replace("&", "")] if stack else []
            level = []
            menus[name].append((" > ".join(path) or "menu bar", level))
            stack.append((path, level))
            pending = None
        elif line == "END":
            stack.pop()
            if not stack:
                name = None
        elif popup or item:
            text = (popup or item).group(1)
            stack[-1][1].append((access_key(text), text))
            pending = text if popup else None
    return menus


def dialogs(rc):
    """Every dialog's name, menu and controls as (key, id, text)."""
    found, name = {}, None
    for line in rc.splitlines():
        header = re.match(r"(\w+)\s+DIALOG(?:EX)?\b", line)
        if header:
            name = header.group(1)
            found[name] = {"menu": None, "controls": []}
        elif name and re.match(r"MENU\s+(\w+)", line):
            found[name]["menu"] = line.split()[1]
        elif name and line.strip() == "END":
            name = None
        elif name:
            control = re.match(r"\s+\w+\s+" + TEXT + r"\s*,\s*(-?\w+)", line)
            if control and "SS_NOPREFIX" not in line:
                found[name]["controls"].append(
                    (access_key(control.group(1)), control.group(2), control.group(1)))
    return found


def editor_sides(root):
    code = (root / "src" / "listeditor" / "list_editor.cpp").read_text(encoding="utf-8")
    sides = [set(re.findall(r"IDC_\w+", body))
             for body in re.findall(r"std::vector<int> \w+Side = \{([^}]*)\}", code)]
    return sides if len(sides) == 2 else None


def main():
    root = Path(sys.argv[1])
    rc = (root / "resources" / "botenruf.rc").read_text(encoding="utf-8")
    menus, problems = menu_levels(rc), []
    sides = editor_sides(root)
    if sides is None:
        problems.append("list editor: the two sides of ControlsForMode were not found")
    exclusive = {"IDD_LIST_EDITOR": sides or []}

    def apart(dialog, a, b):
        groups = exclusive.get(dialog, [])
        return any(a in one and b in other for one in groups for other in groups if one != other)

    def report(place, items, may_share=lambda a, b: False):
        for i, (key, name, text) in enumerate(items):
            for other_key, other_name, other_text in items[i + 1:]:
                if key and key == other_key and not may_share(name, other_name):
                    problems.append("%s: \"%s\" and \"%s\" share the access key %s"
                                    % (place, text, other_text, key.upper()))

    for menu, levels in menus.items():
        for path, level in levels:
            report("%s %s" % (menu, path), [(key, text, text) for key, text in level])
    for dialog, facts in dialogs(rc).items():
        items = list(facts["controls"])
        if facts["menu"] in menus:
            items += [(key, "menu", text) for key, text in menus[facts["menu"]][0][1]]
        report(dialog, items, lambda a, b, d=dialog: apart(d, a, b))
    if len(menus) < 1 or sum(len(levels) for levels in menus.values()) < 10:
        problems.append("menus: too few read; did the resource file change form?")
    for problem in problems:
        print(problem)
    print("access keys: %s" % ("%d problem(s)" % len(problems) if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
