#!/usr/bin/env python3
"""Draws the pictures of the About box and its small dialogs: the three animations
(resources/about.avi, hint.avi, dedication.avi: uncompressed 8-bit AVI with one video stream,
which the common controls' animation control plays) and the three icons of the hidden
sequence (resources/hidden_first.ico, hidden_second.ico, hidden_reveal.ico). Run it after
changing a drawing; the generated files are committed."""
import math
import struct
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from make_icons import container, dib, in_triangle, render, rounded_rect  # noqa: E402

# The animation control shows the colour of a clip's top left pixel as the window's
# background (ACS_TRANSPARENT), so every frame keeps its corners in this colour.
KEY = (255, 0, 255)
NONE = (0, 0, 0, 0)


def ring(x, y, cx, cy, r, width):
    d = math.hypot(x - cx, y - cy)
    return abs(d - r) <= width / 2


def ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


# --- About box: a pop-up message rises from a workstation, fills with dots and goes out.

def about_frame(t):
    """Frame t of 16 (48 x 48)."""
    grow = min(1.0, t / 5) if t < 13 else max(0.0, (16 - t) / 3)
    dots = 0 if t < 6 else min(3, (t - 6) // 2 + 1)
    wave = t % 4

    def pixel(u, v):
        x, y = u * 48, v * 48
        # The workstation: a monitor with a blue screen on a foot.
        if rounded_rect(x, y, 4, 30, 26, 44, 2):
            if 6.5 <= x <= 23.5 and 32.5 <= y <= 40.5:
                return (60, 120, 200, 255)
            return (150, 150, 160, 255)
        if 12 <= x <= 18 and 44 <= y <= 47:
            return (110, 110, 120, 255)
        # Waves from the station to the right: the message is on its way.
        for i in range(3):
            if i <= wave and ring(x, y, 26, 37, 8 + 6 * i, 1.8) and x > 29 and y < 46:
                return (250, 150, 20, 255)
        # The bubble grows out of the screen's top right corner.
        if grow > 0:
            cx, cy = 27, 15
            s = 0.25 + 0.75 * grow
            bx, by = (x - cx) / s, (y - cy) / s
            if rounded_rect(bx, by, -17, -10, 17, 10, 5) or in_triangle(bx, by, (-10, 8), (-2, 8), (-14, 17)):
                for d in range(dots):
                    if (bx - (-8 + 8 * d)) ** 2 + by ** 2 <= 6.5:
                        return (255, 255, 255, 255)
                shade = 1.0 - 0.3 * ((by + 10) / 20)
                return (int(40 * shade + 20), int(110 * shade + 30), int(220 * shade + 20), 255)
            if rounded_rect(bx, by, -18, -11, 18, 11, 6):
                return (15, 45, 110, 255)
        return NONE
    return pixel


# --- Help hint: a question mark bounces above an open book.

def hint_frame(t):
    """Frame t of 12 (48 x 48)."""
    lift = abs(math.sin(math.pi * t / 12)) * 6

    def pixel(u, v):
        x, y = u * 48, v * 48
        # The book: two pages that dip towards the spine, on a red cover.
        if 42 <= y <= 45 and 5 <= x <= 43:
            return (170, 40, 40, 255)
        if 6 <= x <= 42 and 35 + abs(x - 24) / 9 <= y <= 42:
            if abs(x - 24) < 0.8:
                return (120, 120, 120, 255)
            line = (y - 36) % 2 < 0.7 and 9 <= abs(x - 24) + 6 <= 22
            return (90, 90, 110, 255) if line else (250, 250, 240, 255)
        # The shadow of the question mark on the book shrinks as it rises.
        if ellipse(x, y, 24, 34, 5 - lift / 3, 1.1):
            return (90, 90, 90, 255)
        # The question mark: an arc, a stem and a dot.
        qy = y + lift
        d = math.hypot(x - 24, qy - 13)
        arc = 3.8 <= d <= 7.4 and not (qy > 13 and x < 24)
        stem = 22 <= x <= 26 and 17 <= qy <= 24
        dot = (x - 24) ** 2 + (qy - 29) ** 2 <= 5
        if arc or stem or dot:
            return (30, 90, 200, 255)
        return NONE
    return pixel


# --- Dedication: a heart beats, and small stars circle around it.

def dedication_frame(t):
    """Frame t of 12 (48 x 48)."""
    beat = 1.0 + 0.12 * max(0.0, math.sin(2 * math.pi * t / 6))

    def star(x, y, cx, cy, r):
        dx, dy = x - cx, y - cy
        return abs(dx) + abs(dy) * 3 <= r or abs(dx) * 3 + abs(dy) <= r

    def pixel(u, v):
        x, y = u * 48, v * 48
        for i in range(4):
            angle = 2 * math.pi * (i / 4 + t / 12)
            if star(x, y, 24 + 18 * math.cos(angle), 25 + 17 * math.sin(angle), 4.5):
                return (250, 200, 30, 255)
        hx, hy = (x - 24) / beat, (y - 26) / beat
        lobes = (hx + 5) ** 2 + (hy + 4) ** 2 <= 36 or (hx - 5) ** 2 + (hy + 4) ** 2 <= 36
        point = in_triangle(hx, hy, (-10.6, -1.5), (10.6, -1.5), (0, 12))
        if lobes or point:
            shine = (hx + 6) ** 2 + (hy + 6) ** 2 <= 4
            return (255, 190, 200, 255) if shine else (215, 30, 60, 255)
        return NONE
    return pixel


def frames_of(draw, count, size):
    frames = []
    for t in range(count):
        rows = render(draw(t), size)
        frames.append([[(r, g, b) if a >= 128 else KEY for (r, g, b, a) in row] for row in rows])
    return frames


def palette_of(frames):
    """Up to 255 colours for the drawings (averages of buckets as fine as fit) plus the key
    colour at index 0."""
    colours = {c for frame in frames for row in frame for c in row if c != KEY}
    for shift in range(0, 8):
        buckets = {}
        for c in colours:
            buckets.setdefault(tuple(v >> shift for v in c), []).append(c)
        if len(buckets) <= 255:
            break
    palette = [KEY]
    lookup = {KEY: 0}
    for members in buckets.values():
        mean = tuple(sum(m[i] for m in members) // len(members) for i in range(3))
        for m in members:
            lookup[m] = len(palette)
        palette.append(mean)
    return palette, lookup


def chunk(fourcc, data):
    return fourcc + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')


def riff_list(kind, fourcc, content):
    return kind + struct.pack('<I', len(content) + 4) + fourcc + content


def avi(frames, microseconds_per_frame):
    height, width = len(frames[0]), len(frames[0][0])
    stride = (width + 3) // 4 * 4
    frame_bytes = stride * height
    palette, lookup = palette_of(frames)
    images = []
    for frame in frames:
        data = bytearray()
        for row in reversed(frame):  # bottom-up, as DIBs are stored
            data += bytes(lookup[c] for c in row) + bytes(stride - width)
        images.append(bytes(data))
    count = len(frames)
    avih = struct.pack('<14I', microseconds_per_frame,
                       frame_bytes * 1000000 // microseconds_per_frame, 0, 0x10, count, 0, 1,
                       frame_bytes, width, height, 0, 0, 0, 0)
    strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0,
                       microseconds_per_frame, 1000000, 0, count, frame_bytes, 0xFFFFFFFF, 0,
                       0, 0, width, height)
    colours = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    strf = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, frame_bytes, 0, 0,
                       len(palette), 0) + colours
    hdrl = riff_list(b'LIST', b'hdrl', chunk(b'avih', avih) +
                     riff_list(b'LIST', b'strl', chunk(b'strh', strh) + chunk(b'strf', strf)))
    movi_content = b''
    index = b''
    for image in images:
        index += struct.pack('<4sIII', b'00db', 0x10, 4 + len(movi_content), len(image))
        movi_content += chunk(b'00db', image)
    body = hdrl + riff_list(b'LIST', b'movi', movi_content) + chunk(b'idx1', index)
    return riff_list(b'RIFF', b'AVI ', body)


# --- The icons of the hidden sequence: the program's bubble, first green with one dot, then
# orange with two, and at the end golden with a star.

def hidden_icon(fill, dots, star):
    def pixel(u, v):
        x, y = u * 32, v * 32
        bubble = rounded_rect(x, y, 2, 3, 30, 23, 5) or in_triangle(x, y, (7, 21), (15, 21), (5, 30))
        outline = rounded_rect(x, y, 1, 2, 31, 24, 6) or in_triangle(x, y, (6, 20), (16.5, 20), (4, 31.5))
        if bubble:
            if star:
                dx, dy = x - 16, y - 13
                r, a = math.hypot(dx, dy), math.atan2(dy, dx)
                if r <= 4 + 4 * max(0.0, math.cos(5 * (a + math.pi / 2))) ** 3:
                    return (255, 255, 255, 255)
            for d in range(dots):
                cx = 16 if dots == 1 else 11 + 10 * d
                if (x - cx) ** 2 + (y - 13) ** 2 <= 9:
                    return (255, 255, 255, 255)
            shade = 1.0 - 0.35 * (y / 32)
            return tuple(int(c * shade) for c in fill) + (255,)
        if outline:
            return (40, 40, 40, 255)
        return NONE
    return pixel


def main():
    resources = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / 'resources')
    (resources / 'about.avi').write_bytes(avi(frames_of(about_frame, 16, 48), 120000))
    (resources / 'hint.avi').write_bytes(avi(frames_of(hint_frame, 12, 48), 90000))
    (resources / 'dedication.avi').write_bytes(avi(frames_of(dedication_frame, 12, 48), 100000))
    icons = {'hidden_first.ico': ((40, 170, 70), 1, False),
             'hidden_second.ico': ((245, 140, 20), 2, False),
             'hidden_reveal.ico': ((235, 190, 30), 0, True)}
    for name, (fill, dots, star) in icons.items():
        draw = hidden_icon(fill, dots, star)
        (resources / name).write_bytes(container(1, [(32, dib(render(draw, 32))), (16, dib(render(draw, 16)))]))


if __name__ == '__main__':
    main()
