#!/usr/bin/env python3
"""Draws the program icon (resources/botenruf.ico) and the editor cursor
(resources/editor.cur) as 32-bit images with an AND mask, and the list headers' sort arrows
(resources/sort_up.bmp, sort_down.bmp). Run it after changing a drawing; the generated files
are committed."""
import math
import struct
import sys
from pathlib import Path


def clamp(v):
    return max(0, min(255, int(round(v))))


def rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def in_triangle(px, py, a, b, c):
    def sign(p1, p2, p3):
        return (p1[0] - p3[0]) * (p2[1] - p3[1]) - (p2[0] - p3[0]) * (p1[1] - p3[1])
    d1, d2, d3 = sign((px, py), a, b), sign((px, py), b, c), sign((px, py), c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def icon_pixel(u, v):
    """Colour (r, g, b, a) of the icon at unit coordinates u, v (0..1, top left)."""
    x, y = u * 32, v * 32
    # A speech bubble (the pop-up message) with a tail, and an envelope flap on it.
    bubble = rounded_rect(x, y, 2, 3, 30, 23, 5)
    tail = in_triangle(x, y, (7, 21), (15, 21), (5, 30))
    outline = (rounded_rect(x, y, 1, 2, 31, 24, 6) or in_triangle(x, y, (6, 20), (16.5, 20), (4, 31.5)))
    if bubble or tail:
        shade = 1.0 - 0.35 * (y / 32)
        colour = (40 * shade + 20, 110 * shade + 30, 220 * shade + 20, 255)
        # White envelope inside the bubble.
        if 8 <= x <= 24 and 7 <= y <= 18:
            edge = x in (8, 24) or y in (7, 18)
            flap = abs((y - 7) - (x - 8) * 0.6875) < 0.9 or abs((y - 7) - (24 - x) * 0.6875) < 0.9
            if flap and y <= 13:
                return (40, 80, 170, 255)
            return (250, 250, 250, 255) if not edge else (230, 236, 245, 255)
        return colour
    if outline:
        return (15, 45, 110, 255)
    # A small orange badge (messages in flight) at the top right.
    if (x - 27) ** 2 + (y - 5) ** 2 <= 16:
        return (250, 150, 20, 255)
    return (0, 0, 0, 0)


def cursor_pixel(u, v):
    """An I-beam with a small envelope beside it: typing a message."""
    x, y = u * 32, v * 32
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    # I-beam: a vertical bar with serifs, outlined in white.
    core = (15 <= x < 17 and 4 <= y < 26) or (11 <= x < 21 and (4 <= y < 6 or 24 <= y < 26))
    halo = (14 <= x < 18 and 3 <= y < 27) or (10 <= x < 22 and (3 <= y < 7 or 23 <= y < 27))
    if core:
        return black
    if halo:
        return white
    if 20 <= x < 31 and 16 <= y < 24:
        inside = 21 <= x < 30 and 17 <= y < 23
        flap = abs((y - 17) - (x - 21) * 0.66) < 0.8 or abs((y - 17) - (29 - x) * 0.66) < 0.8
        if inside and not flap:
            return (255, 255, 210, 255)
        return black
    return (0, 0, 0, 0)


def render(draw, size, samples=4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = draw((px + (sx + 0.5) / samples) / size,
                                      (py + (sy + 0.5) / samples) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                row.append((clamp(acc[0] / acc[3]), clamp(acc[1] / acc[3]), clamp(acc[2] / acc[3]), clamp(alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for i, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    return header + xor + bytes(mask)


def container(kind, images, hotspot=(0, 0)):
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, data in images:
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b''.join(blobs)


def sort_arrow(up):
    """A 9 x 5 triangle in the 16-colour palette: the grey shades 192 and 128 become the button
    face and its shadow when the program loads it (LR_LOADMAP3DCOLORS), so the arrow sits on a
    header of any colour scheme."""
    width, height = 9, 5
    palette = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
               (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    face, shadow = 7, 8
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(height)):  # bottom-up rows
        half = y if up else height - 1 - y  # the tip's row has half-width 0
        row = [shadow if abs(x - width // 2) <= half else face for x in range(width)]
        row += [face] * (stride * 2 - width)
        pixels += bytes((row[i] << 4) | row[i + 1] for i in range(0, stride * 2, 2))
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    offset = 14 + len(info) + len(colours)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + info + colours + \
        bytes(pixels)


def main():
    resources = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / 'resources')
    icon = container(1, [(32, dib(render(icon_pixel, 32))), (16, dib(render(icon_pixel, 16)))])
    (resources / 'botenruf.ico').write_bytes(icon)
    cursor = container(2, [(32, dib(render(cursor_pixel, 32, samples=1)))], hotspot=(16, 14))
    (resources / 'editor.cur').write_bytes(cursor)
    (resources / 'sort_up.bmp').write_bytes(sort_arrow(True))
    (resources / 'sort_down.bmp').write_bytes(sort_arrow(False))


if __name__ == '__main__':
    main()
