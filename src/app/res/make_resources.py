#!/usr/bin/env python3
"""Draws the program's own pictures and writes them beside this script: the logo of the About and splash
window in two forms ("Logo256": 8 bits with its own palette; "Logo16": the 16 standard colours, dithered) and
the program icon (32 x 32 and 16 x 16, with alpha).

The files are committed; run this again only after changing a picture here. Everything is drawn from code, so
a run writes the same bytes every time.
"""
import importlib.util
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

LOGO_W, LOGO_H = 320, 120

NAVY_TOP, NAVY_BOTTOM = (14, 34, 84), (38, 92, 164)
WHITE, GOLD, SHADOW = (255, 255, 255), (240, 184, 48), (6, 16, 44)

# ---- Files

# The window library's script writes BMP files and knows the 16 standard colours: it serves here too.
_UI_SCRIPT = os.path.join(HERE, "..", "..", "ui", "res", "make_resources.py")
_spec = importlib.util.spec_from_file_location("ui_resources", _UI_SCRIPT)
ui = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(ui)


def ico_file(images):
    """An icon file of 32-bit images (size, rows of (r, g, b, a), top-down), each with its AND mask."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for size, rows in images:
        pixels = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                pixels += bytes((b, g, r, a))
        mask_stride = (size + 31) // 32 * 4
        mask = bytearray()
        for row in reversed(rows):
            line = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(pixels) + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---- Letters

BIG = {  # 5 x 7
    "V": ["X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X..", "..X.."],
    "E": ["XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"],
    "L": ["X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"],
    "T": ["XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."],
    "R": ["XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"],
    "I": [".XXX.", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX."],
    "X": ["X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X"],
}

SMALL = {  # 3 x 5
    "P": ["XX.", "X.X", "XX.", "X..", "X.."],
    "R": ["XX.", "X.X", "XX.", "X.X", "X.X"],
    "O": [".X.", "X.X", "X.X", "X.X", ".X."],
    "G": [".XX", "X..", "X.X", "X.X", ".XX"],
    "A": [".X.", "X.X", "XXX", "X.X", "X.X"],
    "M": ["X.X", "XXX", "XXX", "X.X", "X.X"],
    "E": ["XXX", "X..", "XX.", "X..", "XXX"],
    "'": [".X.", ".X.", "...", "...", "..."],
    "S": [".XX", "X..", ".X.", "..X", "XX."],
    "D": ["XX.", "X.X", "X.X", "X.X", "XX."],
    "I": ["XXX", ".X.", ".X.", ".X.", "XXX"],
    "T": ["XXX", ".X.", ".X.", ".X.", ".X."],
    " ": ["...", "...", "...", "...", "..."],
}


def put_text(image, text, font, left, top, scale, gap, colour, shadow=None):
    """Letters of a pixel font, each pixel a scale x scale square; an optional shadow 2 pixels down-right."""
    for layer, (dx, c) in enumerate(((2, shadow), (0, colour))):
        if c is None:
            continue
        x = left
        for ch in text:
            glyph = font[ch]
            for gy, line in enumerate(glyph):
                for gx, bit in enumerate(line):
                    if bit != "X":
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            image[top + dx + gy * scale + sy][x + dx + gx * scale + sx] = c
            x += len(glyph[0]) * scale + gap


# ---- The logo


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def emblem(image, nodes, edges, left, top, size, line, radius):
    """A small graph: edges in gold, nodes white with a gold rim (the symbols and relations Veltrix shows)."""
    for y in range(top, top + size):
        for x in range(left, left + size):
            u, v = x - left + 0.5, y - top + 0.5
            if any(segment_distance(u, v, *nodes[a], *nodes[b]) <= line for a, b in edges):
                image[y][x] = GOLD
            for nx, ny in nodes:
                d = ((u - nx) ** 2 + (v - ny) ** 2) ** 0.5
                if d <= radius:
                    image[y][x] = WHITE if d <= radius - 2.2 else GOLD


def logo():
    image = [[mix(NAVY_TOP, NAVY_BOTTOM, y / (LOGO_H - 1)) for _ in range(LOGO_W)] for y in range(LOGO_H)]
    nodes = [(48, 20), (20, 58), (76, 58), (48, 90)]
    emblem(image, nodes, [(0, 1), (0, 2), (1, 3), (2, 3), (0, 3)], 10, 8, 100, 2.2, 10)
    put_text(image, "VELTRIX", BIG, 106, 22, 5, 5, WHITE, SHADOW)
    for x in range(106, 106 + 205):
        image[70][x] = image[71][x] = GOLD
    put_text(image, "PROGRAMMER'S EDITOR", SMALL, 108, 82, 2, 2, WHITE)
    return image


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def indexed256(image):
    palette = sorted({c for row in image for c in row})
    assert len(palette) <= 256, len(palette)
    where = {c: i for i, c in enumerate(palette)}
    return [[where[c] for c in row] for row in image], palette


def indexed16(image):
    """Ordered dithering onto the standard colours: the gradient becomes an even mix of blues, while the
    letters and the emblem stay solid."""
    rows = []
    for y, row in enumerate(image):
        line = []
        for x, (r, g, b) in enumerate(row):
            j = 0 if (r, g, b) in (WHITE, GOLD) else (BAYER4[y % 4][x % 4] / 16.0 - 0.5) * 96
            line.append(ui.nearest(ui.GREYS16, (r + j, g + j, b + j)))
        rows.append(line)
    return rows


# ---- The icon


def icon(size):
    """A rounded blue square holding a white V whose three ends are gold nodes."""
    s = size / 32.0
    ends = [(9 * s, 9 * s), (16 * s, 24 * s), (23 * s, 9 * s)]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = x + 0.5, y + 0.5
            corner = 5 * s
            cx, cy = min(max(u, corner), size - corner), min(max(v, corner), size - corner)
            if ((u - cx) ** 2 + (v - cy) ** 2) ** 0.5 > corner:
                row.append((0, 0, 0, 0))
                continue
            c = mix(NAVY_TOP, NAVY_BOTTOM, y / (size - 1))
            stroke = min(segment_distance(u, v, *ends[0], *ends[1]), segment_distance(u, v, *ends[1], *ends[2]))
            if stroke <= 2.4 * s:
                c = WHITE
            if any(((u - nx) ** 2 + (v - ny) ** 2) ** 0.5 <= max(1.6, 3.4 * s) for nx, ny in ends):
                c = GOLD
            row.append(c + (255,))
        rows.append(row)
    return rows


def main():
    image = logo()
    rows, palette = indexed256(image)
    write("logo256.bmp", ui.bmp_file(LOGO_W, LOGO_H, 8, list(reversed(rows)), palette))
    write("logo16.bmp", ui.bmp_file(LOGO_W, LOGO_H, 4, list(reversed(indexed16(image))), ui.GREYS16))
    write("app.ico", ico_file([(32, icon(32)), (16, icon(16))]))


if __name__ == "__main__":
    main()
