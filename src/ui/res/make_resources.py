#!/usr/bin/env python3
"""Draws the window library's cursors and bitmaps and writes them beside this script as .cur and .bmp files.

The files are committed; run this again only after changing a picture here. Everything is drawn from code
(pixel art and small formulas, with a fixed random seed), so a run writes the same bytes every time.
"""
import math
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- Files


def bmp_file(width, height, bits, rows, palette=()):
    """A BMP file with a 40-byte information header; rows are bottom-up lists of pixel values (indexes, or
    (r, g, b) at 24 bits)."""
    stride = (width * bits + 31) // 32 * 4
    data = bytearray()
    for row in rows:
        line = bytearray()
        if bits == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        else:
            per_byte = 8 // bits
            for x in range(0, width, per_byte):
                byte = 0
                for i in range(per_byte):
                    v = row[x + i] if x + i < width else 0
                    byte |= v << (8 - bits * (i + 1))
                line.append(byte)
        line += bytes(stride - len(line))
        data += line
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + table + bytes(data)


def bmp_core_file(width, height, rows, palette):
    """A 1-bit BMP file with the older 12-byte core header and 3-byte colour-table entries."""
    stride = (width + 31) // 32 * 4
    data = bytearray()
    for row in rows:
        line = bytearray()
        for x in range(0, width, 8):
            byte = 0
            for i in range(8):
                if x + i < width and row[x + i]:
                    byte |= 0x80 >> i
            line.append(byte)
        data += line + bytes(stride - len(line))
    table = b"".join(bytes((b, g, r)) for r, g, b in palette)
    info = struct.pack("<IHHHH", 12, width, height, 1, 1)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + table + bytes(data)


def cur_file(art, hotspot):
    """A 32 x 32 two-colour cursor from 32 lines of art: 'X' black, '.' white, ' ' transparent."""
    art = [line.ljust(32)[:32] for line in art] + [" " * 32] * (32 - len(art))
    xor_rows, and_rows = [], []
    for line in reversed(art):  # bottom-up
        xor_bits = and_bits = 0
        for x, c in enumerate(line):
            bit = 1 << (31 - x)
            if c == " ":
                and_bits |= bit
            elif c == ".":
                xor_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 256, 0, 0, 2, 0)
    image = info + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + b"".join(xor_rows) + b"".join(and_rows)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return head + entry + image


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---- Cursors

ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.....XXXXX",
    "X..X..X",
    "X.X X..X",
    "XX  X..X",
    "X    X..X",
    "     X..X",
    "      XX",
]


def mirror(art, width=32):
    return [line.ljust(width)[:width][::-1] for line in art]


def overlay(base, part, left, top):
    rows = [list(line.ljust(32)[:32]) for line in base] + [[" "] * 32 for _ in range(32 - len(base))]
    for y, line in enumerate(part):
        for x, c in enumerate(line):
            if c != " ":
                rows[top + y][left + x] = c
    return ["".join(r).rstrip() for r in rows]


PAGE = [
    "XXXXXXXXXX",
    "X........X",
    "X.XXXXXX.X",
    "X........X",
    "X.XXXXX..X",
    "X........X",
    "X.XXXXXX.X",
    "X........X",
    "XXXXXXXXXX",
]

PLUS = [
    "XXXXXXXXX",
    "X.......X",
    "X...X...X",
    "X...X...X",
    "X.XXXXX.X",
    "X...X...X",
    "X...X...X",
    "X.......X",
    "XXXXXXXXX",
]


def no_access():
    art = []
    for y in range(32):
        line = ""
        for x in range(32):
            dx, dy = x - 15.5, y - 15.5
            r = (dx * dx + dy * dy) ** 0.5
            on_slash = abs(dx - dy) <= 3.2 and r < 11
            if 8 <= r <= 12 or on_slash:
                line += "X"
            elif 7 <= r <= 13 or (abs(dx - dy) <= 4.5 and r < 12):
                line += "."
            else:
                line += " "
        art.append(line)
    return art


LINE_INSERT = [
    "X.",
    "XX.",
    "X.X.",
    "X..X.",
    "X...X.........................",
    "X....XXXXXXXXXXXXXXXXXXXXXXXXX.",
    "X....XXXXXXXXXXXXXXXXXXXXXXXXX.",
    "X...X.........................",
    "X..X.",
    "X.X.",
    "XX.",
    "X.",
]  # a marker pointing at the line where the insertion goes


MINUS = [
    "XXXXXXXXX",
    "X.......X",
    "X.......X",
    "X.......X",
    "X.XXXXX.X",
    "X.......X",
    "X.......X",
    "X.......X",
    "XXXXXXXXX",
]


def cursors():
    write("backarrow.cur", cur_file(mirror(ARROW), (31, 0)))
    write("drag.cur", cur_file(overlay(ARROW, PAGE, 8, 18), (0, 0)))
    write("dragadd.cur", cur_file(overlay(overlay(ARROW, PAGE, 8, 18), PLUS, 20, 12), (0, 0)))
    write("noaccess.cur", cur_file(no_access(), (15, 15)))
    write("lineins.cur", cur_file(LINE_INSERT, (5, 5)))
    # Over a graph node's expand box: the arrow with the box it would press.
    write("otlplus.cur", cur_file(overlay(ARROW, PLUS, 12, 14), (0, 0)))
    write("otlminus.cur", cur_file(overlay(ARROW, MINUS, 12, 14), (0, 0)))


# ---- Bitmaps


def marble(width, height, seed):
    """A grey-beige stone texture that tiles: soft noise with a few darker veins; (r, g, b) rows, top-down."""
    rnd = random.Random(seed)
    # Whole waves across the tile, so that tiles meet without a seam.
    phases = [(math.tau * rnd.randint(1, 3) / width, math.tau * rnd.randint(1, 3) / height,
               rnd.uniform(0, math.tau)) for _ in range(3)]
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            vein = sum(math.sin(a * x + b * y + p) for a, b, p in phases) / 3
            v = 0.88 - 0.1 * max(0.0, 1 - abs(vein) * 4) + rnd.uniform(-0.025, 0.025)
            row.append((min(255, int(v * 236)), min(255, int(v * 230)), min(255, int(v * 218))))
        rows.append(row)
    return rows


GREYS16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
    (0, 255, 255), (255, 255, 255),
]  # the 16 standard colours, so that a 16-colour display shows them undithered


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def to_indexes(rows, palette, dither_seed):
    rnd = random.Random(dither_seed)
    out = []
    for row in rows:
        line = []
        for r, g, b in row:
            j = rnd.uniform(-24, 24)
            line.append(nearest(palette, (r + j, g + j, b + j)))
        out.append(line)
    return out


def outline_glyph(minus):
    """A 9 x 9 box with a plus or minus on magenta, the image list's transparent colour."""
    magenta, grey, black, white = (255, 0, 255), (128, 128, 128), (0, 0, 0), (255, 255, 255)
    rows = []
    for y in range(9):
        row = []
        for x in range(9):
            if x in (0, 8) or y in (0, 8):
                row.append(grey)
            elif y == 4 and 2 <= x <= 6:
                row.append(black)
            elif not minus and x == 4 and 2 <= y <= 6:
                row.append(black)
            else:
                row.append(white)
        rows.append(row)
    rows[0][0] = rows[0][8] = rows[8][0] = rows[8][8] = magenta
    return rows


def fuel(width, height, filled):
    """The progress meter: a blue bar with a light top edge when filled, a sunken grey trough when not."""
    rows = []
    for y in range(height):
        t = y / (height - 1)
        row = []
        for x in range(width):
            if filled:
                shade = 1.25 - abs(t - 0.35) * 1.1
                c = (int(40 * shade), int(90 * shade), min(255, int(200 * shade)))
            else:
                c = (160, 160, 160) if y == 0 else (255, 255, 255) if y == height - 1 else (212, 208, 200)
            row.append(c)
        rows.append(row)
    return rows


# The caption buttons of dockable windows, 16 x 14 on magenta: 'X' black, 'o' grey, anything else magenta.
CAPTION_BUTTONS = {
    "wndtrans.bmp": [  # transparency: a window half seen through
        "", "",
        "   XXXXXXXXXX",
        "   XXXXXXXXXX",
        "   X o o o oX",
        "   Xo o o o X",
        "   X o o o oX",
        "   Xo o o o X",
        "   X o o o oX",
        "   Xo o o o X",
        "   XXXXXXXXXX",
    ],
    "minmax.bmp": [  # roll up to the caption
        "", "", "",
        "   XXXXXXXXXX",
        "   XXXXXXXXXX",
        "",
        "       XX",
        "      XXXX",
        "     XXXXXX",
        "    XXXXXXXX",
    ],
    "zoom.bmp": [  # zoom to the work area
        "", "",
        "   XXXXXXXXXX",
        "   XXXXXXXXXX",
        "   X        X",
        "   X        X",
        "   X        X",
        "   X        X",
        "   X        X",
        "   X        X",
        "   XXXXXXXXXX",
    ],
    "closesmall.bmp": [  # hide
        "", "", "",
        "    XX    XX",
        "     XX  XX",
        "      XXXX",
        "       XX",
        "      XXXX",
        "     XX  XX",
        "    XX    XX",
    ],
}


def caption_button(art):
    magenta, colours = (255, 0, 255), {"X": (0, 0, 0), "o": (128, 128, 128)}
    art = art + [""] * (14 - len(art))
    return [[colours.get(line.ljust(16)[x], magenta) for x in range(16)] for line in art]


def bitmaps():
    hi = marble(64, 64, 7)
    write("marblehi.bmp", bmp_file(64, 64, 24, list(reversed(hi))))
    write("marblelow.bmp", bmp_file(64, 64, 4, list(reversed(to_indexes(hi, GREYS16, 8))), GREYS16))
    write("otlplus.bmp", bmp_file(9, 9, 24, list(reversed(outline_glyph(False)))))
    write("otlminus.bmp", bmp_file(9, 9, 24, list(reversed(outline_glyph(True)))))
    for name, art in CAPTION_BUTTONS.items():
        write(name, bmp_file(16, 14, 24, list(reversed(caption_button(art)))))
    for filled, name in ((True, "fueltop"), (False, "fuelback")):
        rows = fuel(160, 12, filled)
        write(name + "hi.bmp", bmp_file(160, 12, 24, list(reversed(rows))))
        write(name + ".bmp", bmp_file(160, 12, 4, list(reversed(to_indexes(rows, GREYS16, 3))), GREYS16))


def fixtures():
    """Small DIBs for the tests of the DIB services: a 4-bit one with an information header that counts only
    3 colours used, a 1-bit one with a core header, and a 24-bit one without a colour table."""
    target = os.path.join(HERE, "..", "..", "..", "tests", "ui", "fixtures")
    os.makedirs(target, exist_ok=True)
    pal3 = [(255, 0, 0), (0, 255, 0), (0, 0, 255)]
    rows4 = [[(x + y) % 3 for x in range(8)] for y in range(4)]
    data = bytearray(bmp_file(8, 4, 4, rows4, pal3))
    with open(os.path.join(target, "dib4.bmp"), "wb") as f:
        f.write(data)
    rows1 = [[(x ^ y) & 1 for x in range(16)] for y in range(2)]
    with open(os.path.join(target, "dib1core.bmp"), "wb") as f:
        f.write(bmp_core_file(16, 2, rows1, [(10, 20, 30), (200, 210, 220)]))
    rows24 = [[(x * 40, y * 60, 128) for x in range(4)] for y in range(3)]
    with open(os.path.join(target, "dib24.bmp"), "wb") as f:
        f.write(bmp_file(4, 3, 24, rows24))


if __name__ == "__main__":
    cursors()
    bitmaps()
    fixtures()
