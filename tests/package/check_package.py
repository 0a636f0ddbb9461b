#!/usr/bin/env python3
"""Checks the release package that scripts/package.sh builds.

Usage: check_package.py PACKAGE.zip SOURCE_ROOT [FRESH_PICTURES]

The package must hold both programs (32-bit at the top, 64-bit in 64-Bit/) with the file
version its name carries and without debug information, the manual with every picture it shows and no other, and the sample
list file and read-me as Windows-1252 text with CR LF line ends. The manual must be one page
without outside resources whose links all lead somewhere, and it must name every menu command
of the program: the menu bar of resources/botenruf.rc by its full path, and the items that the
sources add to the tray, system, context and "Infos" menus. With FRESH_PICTURES (a folder that
`scripts/screenshots.sh --out` filled), every picture of the manual must show its window as the
program shows it now: pixels that change between the three takes of a fresh picture (the
caret, the animations) and those around them are left out of the comparison. Exits 77
(skipped) when the package has not been built.
"""

import datetime
import html
import re
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

PROGRAMS = {"Botenruf.exe": 0x014C, "64-Bit/Botenruf.exe": 0x8664}  # i386, AMD64
TEXTS = ["Rechner.txt", "Liesmich.txt"]
MANUAL = "Anleitung.html"
SEPARATOR = "›"


def pe_facts(data):
    """The machine and the four-part file version of a program file."""
    if data[:2] != b"MZ":
        return None, None
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        return None, None
    machine = struct.unpack_from("<H", data, header + 4)[0]
    # VS_FIXEDFILEINFO: the signature, then structure version 1.0 (the bare signature also
    # occurs in the code that reads version blocks).
    fixed = data.find(struct.pack("<II", 0xFEEF04BD, 0x00010000))
    if fixed < 0:
        return machine, None
    ms, ls = struct.unpack_from("<II", data, fixed + 8)
    return machine, "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def section_names(data):
    """The names of a program file's sections; long names are read from the string table."""
    header = struct.unpack_from("<I", data, 0x3C)[0]
    count = struct.unpack_from("<H", data, header + 6)[0]
    symbols, symbol_count = struct.unpack_from("<II", data, header + 12)
    optional_size = struct.unpack_from("<H", data, header + 20)[0]
    table = header + 24 + optional_size
    names = []
    for index in range(count):
        raw = data[table + 40 * index:table + 40 * index + 8].rstrip(b"\0")
        if raw.startswith(b"/") and raw[1:].isdigit():
            start = symbols + 18 * symbol_count + int(raw[1:])
            raw = data[start:data.index(b"\0", start)]
        names.append(raw.decode("latin-1"))
    return names


CELL = 16  # moving pixels blank out their cell of the picture and the cells around it


def pixels(png_bytes):
    """Width, height and the RGBA bytes of a PNG picture (through ImageMagick)."""
    size = subprocess.run(["identify", "-format", "%w %h", "png:-"], input=png_bytes,
                          capture_output=True, check=True).stdout.split()
    raw = subprocess.run(["convert", "png:-", "-depth", "8", "rgba:-"], input=png_bytes,
                         capture_output=True, check=True).stdout
    return int(size[0]), int(size[1]), raw


def moving_cells(width, takes):
    """The cells in which the takes of one picture differ, with their neighbours."""
    cells = set()
    first = takes[0]
    for other in takes[1:]:
        for offset in range(0, len(first), 4):
            if first[offset:offset + 4] != other[offset:offset + 4]:
                x, y = (offset // 4) % width // CELL, (offset // 4) // width // CELL
                cells.update((x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))
    return cells


def stale_pixels(width, shown, fresh, moving, clock_rows=()):
    """How many pixels of the picture shown differ from the fresh one outside moving cells."""
    count = 0
    row = width * 4
    for y in range(len(shown) // row):
        a, b = shown[y * row:(y + 1) * row], fresh[y * row:(y + 1) * row]
        if a == b or y in clock_rows:
            continue
        for x in range(width):
            if a[x * 4:x * 4 + 4] != b[x * 4:x * 4 + 4] and (x // CELL, y // CELL) not in moving:
                count += 1
    return count


# Rows of a picture that show the clock, not the window: the send report names the time of its
# send above its list.
CLOCK_ROWS = {"sendebericht": range(24, 48)}


def greeting_time(now):
    """The menu "Infos" shows one more item at this time of the year (src/app/settings_store.h)."""
    return now.month == 11 and now.day == 2 and 9 < now.hour < 12


def check_pictures(package, fresh_dir, problems):
    shown = sorted(name for name in package.namelist()
                   if name.startswith("bilder/") and name.endswith(".png"))
    for name in shown:
        stem = Path(name).stem
        if stem == "menue-infos" and greeting_time(datetime.datetime.now()):
            continue
        takes = [fresh_dir / ("%s%s.png" % (stem, suffix)) for suffix in ("", ".2", ".3")]
        if not all(take.exists() for take in takes):
            problems.append("%s: scripts/screenshots.sh takes no such picture" % name)
            continue
        width, height, old = pixels(package.read(name))
        fresh = [pixels(take.read_bytes()) for take in takes]
        if (fresh[0][0], fresh[0][1]) != (width, height):
            problems.append("%s: %dx%d, but the window is %dx%d now: take the pictures anew"
                            % (name, width, height, fresh[0][0], fresh[0][1]))
            continue
        moving = moving_cells(width, [take[2] for take in fresh])
        stale = stale_pixels(width, old, fresh[0][2], moving, CLOCK_ROWS.get(stem, ()))
        if stale:
            problems.append("%s: %d pixels differ from the window as it is now: take the "
                            "pictures anew (scripts/screenshots.sh)" % (name, stale))


def menu_text(text):
    """A menu item's text as the user reads it: access-key marks gone, C escapes undone."""
    text = text.replace('\\"', '"').replace("\\\\", "\\")
    return text.replace("&&", "\0").replace("&", "").replace("\0", "&")


def menu_bar_paths(rc):
    """Every item of the MENU resources as its path of texts, sub-menus included."""
    paths, stack, pending = [], [], None
    for line in rc.splitlines():
        line = line.strip()
        popup = re.match(r'POPUP\s+"((?:[^"\\]|\\.)*)"', line)
        item = re.match(r'MENUITEM\s+"((?:[^"\\]|\\.)*)"', line)
        if re.match(r"\w+\s+MENU\b", line):
            stack, pending = [], None
        elif popup:
            pending = menu_text(popup.group(1))
        elif line == "BEGIN" and pending is not None:
            stack.append(pending)
            pending = None
        elif line == "END" and stack:
            stack.pop()
        elif item and stack:
            paths.append(stack + [menu_text(item.group(1))])
    return paths


def added_menu_items(root, rc):
    """Texts of the menu items that the program appends at run time ("%s" matches anything)."""
    texts = []
    for source in sorted((root / "src").rglob("*.cpp")):
        code = source.read_text(encoding="utf-8")
        for call in re.finditer(r"AppendMenuA\(([^;]*?MF_STRING[^;]*?)\);", code, re.S):
            literal = re.search(r'"((?:[^"\\]|\\.)*)"', call.group(1))
            if literal:
                texts.append(menu_text(literal.group(1)))
    # The system menu's About item comes from the string table.
    about = re.search(r'IDS_ABOUTBOX\s+"((?:[^"\\]|\\.)*)"', rc)
    texts.append(menu_text(about.group(1)))
    return texts


def manual_menu_paths(page):
    paths = []
    for span in re.findall(r'<span class="menu">(.*?)</span>', page, re.S):
        text = " ".join(html.unescape(re.sub(r"<[^>]+>", "", span)).split())
        paths.append([part.strip() for part in text.split(SEPARATOR)])
    return paths


def matches(pattern, text):
    return re.fullmatch(".*".join(map(re.escape, pattern.split("%s"))), text) is not None


def check_menus(root, page, problems):
    rc = (root / "resources" / "botenruf.rc").read_text(encoding="utf-8")
    bar = menu_bar_paths(rc)
    added = added_menu_items(root, rc)
    named = manual_menu_paths(page)
    if len(bar) < 20 or len(added) < 8:
        problems.append("menus: too few items read (%d, %d); did the sources change form?"
                        % (len(bar), len(added)))
    for path in bar:
        if path not in named:
            problems.append("manual: menu command %s not named" % f" {SEPARATOR} ".join(path))
    for text in added:
        if not any(matches(text, path[-1]) for path in named):
            problems.append("manual: menu command %s not named" % text)
    # A path from the menu bar that the program does not have is a renamed or removed command.
    tops = {path[0] for path in bar}
    for path in sorted(map(list, {tuple(path) for path in named})):
        if path[0] in tops and not any(known[:len(path)] == path for known in bar) \
                and not any(matches(text, path[-1]) for text in added):
            problems.append("manual: names %s, which the menus do not have"
                            % f" {SEPARATOR} ".join(path))


def check_manual(package, problems):
    page = package.read(MANUAL).decode("utf-8")
    if '<meta charset="utf-8">' not in page:
        problems.append("manual: no UTF-8 charset declaration")
    for outside in re.findall(r'(?:src|href)="((?:[a-z]+:)?//[^"]*)"', page):
        problems.append("manual: refers to %s outside the package" % outside)
    if re.search(r"<(?:script|link|iframe)\b", page):
        problems.append("manual: loads a script, stylesheet or frame")
    ids = set(re.findall(r'\bid="([^"]+)"', page))
    for anchor in sorted(set(re.findall(r'href="#([^"]*)"', page))):
        if anchor not in ids:
            problems.append("manual: link to #%s leads nowhere" % anchor)
    names = set(package.namelist())
    shown = set(re.findall(r'<img\b[^>]*\bsrc="([^"]+)"', page))
    if not shown:
        problems.append("manual: shows no picture")
    for image in sorted(shown):
        if image not in names:
            problems.append("manual: picture %s missing from the package" % image)
        elif not package.read(image).startswith(b"\x89PNG\r\n\x1a\n"):
            problems.append("manual: picture %s is no PNG file" % image)
    for name in sorted(names):
        if name.startswith("bilder/") and not name.endswith("/") and name not in shown:
            problems.append("package: picture %s is not shown in the manual" % name)
    return page


def check_windows_text(package, name, problems):
    data = package.read(name)
    if b"\n" in data.replace(b"\r\n", b"") or b"\r" in data.replace(b"\r\n", b""):
        problems.append("%s: not every line ends with CR LF" % name)
    try:
        text = data.decode("cp1252")
    except UnicodeDecodeError as error:
        problems.append("%s: not Windows-1252 text (%s)" % (name, error))
        return ""
    if data.startswith(b"\xef\xbb\xbf") or (max(data, default=0) >= 0x80 and _is_utf8(data)):
        problems.append("%s: UTF-8, not Windows-1252" % name)
    return text


def _is_utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def main():
    package_path, root = Path(sys.argv[1]), Path(sys.argv[2])
    fresh_dir = Path(sys.argv[3]) if len(sys.argv) > 3 else None
    if not package_path.exists():
        print("%s does not exist: build it with scripts/package.sh" % package_path)
        return 77
    version = re.fullmatch(r"Botenruf-(\d+\.\d+\.\d+\.\d+)\.zip", package_path.name)
    problems = []
    with zipfile.ZipFile(package_path) as package:
        names = set(package.namelist())
        for required in list(PROGRAMS) + TEXTS + [MANUAL]:
            if required not in names:
                problems.append("package: %s missing" % required)
        for name, machine in PROGRAMS.items():
            if name not in names:
                continue
            found_machine, found_version = pe_facts(package.read(name))
            if found_machine != machine:
                problems.append("%s: machine %s, expected %#06x" % (name, found_machine, machine))
            debug = [section for section in section_names(package.read(name))
                     if section.startswith(".debug")] if found_machine else []
            if debug:
                problems.append("%s: carries debug information (%s)" % (name, ", ".join(debug)))
            if not version or found_version != version.group(1):
                problems.append("%s: file version %s does not match the package name %s"
                                % (name, found_version, package_path.name))
        texts = {name: check_windows_text(package, name, problems)
                 for name in TEXTS if name in names}
        if "Rechner.txt" in texts:
            markers = re.findall(r"^//(begin|end|v_begin|v_end)\r?$", texts["Rechner.txt"], re.M)
            if markers != ["begin", "end", "v_begin", "v_end"]:
                problems.append("Rechner.txt: sections %s, expected begin, end, v_begin, v_end"
                                % markers)
        if "Liesmich.txt" in texts and MANUAL not in texts["Liesmich.txt"]:
            problems.append("Liesmich.txt: does not point to %s" % MANUAL)
        if MANUAL in names:
            check_menus(root, check_manual(package, problems), problems)
        if fresh_dir is not None and fresh_dir.is_dir():
            check_pictures(package, fresh_dir, problems)
    for problem in problems:
        print(problem)
    print("%s: %s" % (package_path.name, "%d problem(s)" % len(problems) if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
