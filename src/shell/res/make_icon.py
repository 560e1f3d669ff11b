#!/usr/bin/env python3
"""Draws the program's icon, "$iconApp" of the frame window, and writes app.ico beside this script.

The file is committed; run this again only after changing the picture. The icon holds a 32 by 32 and a 16 by
16 image at 32 bits with an alpha channel: a blue rounded square with a white "V" and a light fold in its
bottom right corner. Everything is computed, so a run writes the same bytes every time.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BLUE_TOP = (40, 96, 176)
BLUE_BOTTOM = (20, 56, 120)
WHITE = (250, 250, 250)
FOLD = (200, 220, 245)


def inside_rounded(x, y, size, radius):
    """Whether the pixel centre lies in the rounded square of the given size."""
    cx, cy = x + 0.5, y + 0.5
    in_corner_x = cx < radius or cx > size - radius
    in_corner_y = cy < radius or cy > size - radius
    if not (in_corner_x and in_corner_y):
        return True
    near_x = radius if cx < radius else size - radius
    near_y = radius if cy < radius else size - radius
    return (cx - near_x) ** 2 + (cy - near_y) ** 2 <= radius * radius


def on_v(x, y, size):
    """Whether the pixel lies on one of the two strokes of the V."""
    cx, cy = (x + 0.5) / size, (y + 0.5) / size
    if cy < 0.22 or cy > 0.80:
        return False
    # The strokes run from the top corners to the bottom centre.
    t = (cy - 0.22) / (0.80 - 0.22)
    left = 0.22 + t * (0.50 - 0.22)
    right = 0.78 - t * (0.78 - 0.50)
    width = 0.11
    return abs(cx - left) < width / 2 or abs(cx - right) < width / 2


def on_fold(x, y, size):
    cx, cy = (x + 0.5) / size, (y + 0.5) / size
    return cx - (1 - cy) > 0.62


def pixel(x, y, size):
    """(r, g, b, a) of a pixel, y counted from the top."""
    radius = size * 0.2
    if not inside_rounded(x, y, size, radius):
        return (0, 0, 0, 0)
    if on_fold(x, y, size):
        return FOLD + (255,)
    if on_v(x, y, size):
        return WHITE + (255,)
    t = y / (size - 1)
    colour = tuple(round(a + (b - a) * t) for a, b in zip(BLUE_TOP, BLUE_BOTTOM))
    return colour + (255,)


def image(size):
    """The image part of an icon entry: information header, colour rows bottom-up, then the mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    stride = (size + 31) // 32 * 4
    for y in reversed(range(size)):
        row_mask = bytearray(stride)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            colour += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(colour) + bytes(mask)


def icon(sizes):
    images = [image(size) for size in sizes]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return head + entries + b"".join(images)


def main():
    with open(os.path.join(HERE, "app.ico"), "wb") as out:
        out.write(icon((32, 16)))


if __name__ == "__main__":
    main()
