#!/usr/bin/env python3
"""Writes the pictures of the library's resource script into a folder: the
8x8 monochrome checkerboard of the grid's selection pattern and the grid
tools' 32x32 monochrome cursors. Usage: make_pictures.py OUTDIR"""
import os
import struct
import sys


def mono_rows(width, height, on):
    """Bottom-up 1-bit rows (4-byte aligned); on(x, y) with y from the top."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if on(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def checker_bmp():
    """Rows alternate 0xAA and 0x55 from the top."""
    bits = bytearray()
    for y in range(7, -1, -1):
        bits += bytes((0xAA if y % 2 == 0 else 0x55, 0, 0, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 8, 8, 1, 1, 0, len(bits), 2835, 2835, 2, 2)
    table = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(table) + len(bits), 0, 0,
                       14 + len(info) + len(table))
    return head + info + table + bytes(bits)


def cursor(shape, hot):
    """A 32x32 cursor: black shape with a white outline on a transparent ground."""
    size = 32

    def inside(x, y):
        return 0 <= x < size and 0 <= y < size and shape(x, y)

    def outline(x, y):
        return not inside(x, y) and any(inside(x + dx, y + dy)
                                        for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    # XOR 1 with AND 0 is white; XOR 0 with AND 0 black; AND 1 XOR 0 transparent.
    xor = mono_rows(size, size, outline)
    and_ = mono_rows(size, size, lambda x, y: not inside(x, y) and not outline(x, y))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 0)
    table = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + table + xor + and_
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hot[0], hot[1], len(image), 6 + 16)
    return head + entry + image


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def arrow(x, y):
    return 0 <= y <= 16 and x <= y // 2 + 1 and x >= 0 and y >= 2 * x - 2 * (y // 2)


CURSORS = {
    # open hand: a palm with four fingers apart
    130: (union(box(8, 14, 22, 26), box(8, 4, 10, 14), box(12, 2, 14, 14), box(16, 3, 18, 14),
                box(20, 6, 22, 14), box(4, 12, 8, 16)), (15, 15)),
    # closed hand: a palm with the fingers folded
    131: (union(box(8, 12, 22, 24), box(8, 9, 22, 11)), (15, 15)),
    # column resize: a bar with arrows to both sides
    133: (union(box(15, 6, 16, 25), box(6, 15, 25, 16), box(8, 13, 9, 18), box(22, 13, 23, 18)), (15, 15)),
    # filter button: an arrow with a small funnel
    135: (union(arrow, box(14, 16, 24, 17), box(16, 18, 22, 19), box(18, 20, 20, 25)), (0, 0)),
    # sort: an arrow pointing down
    136: (union(box(14, 4, 17, 20), box(10, 20, 21, 21), box(12, 22, 19, 23), box(14, 24, 17, 25)), (15, 25)),
    # row select: an arrow pointing right
    138: (union(box(4, 14, 20, 17), box(20, 10, 21, 21), box(22, 12, 23, 19), box(24, 14, 25, 17)), (25, 15)),
    # cell select: a thick cross
    139: (union(box(13, 4, 18, 27), box(4, 13, 27, 18)), (15, 15)),
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "wendrel_checker.bmp"), "wb") as f:
        f.write(checker_bmp())
    for cid, (shape, hot) in CURSORS.items():
        with open(os.path.join(out, "wendrel_cursor_%d.cur" % cid), "wb") as f:
            f.write(cursor(shape, hot))


if __name__ == "__main__":
    main()
