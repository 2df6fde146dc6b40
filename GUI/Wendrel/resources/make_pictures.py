#!/usr/bin/env python3
"""Writes the pictures of the library's resource script into a folder: the
8x8 monochrome checkerboard of the grid's selection pattern, the grid
tools' 32x32 monochrome cursors and the dock markers' 24-bit pictures (green
is their transparent colour). Usage: make_pictures.py OUTDIR"""
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


GREEN = (0, 255, 0)


def colour_bmp(width, height, pixel):
    """A 24-bit bitmap file; pixel(x, y) gives (r, g, b) with y from the top."""
    stride = (width * 3 + 3) // 4 * 4
    bits = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        bits += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return head + info + bytes(bits)


def outlined(shape, edge, inside):
    """Pixels of shape: edge colour where a side neighbour is outside, else inside(x, y)."""
    def pixel(x, y):
        if not shape(x, y):
            return GREEN
        if not all(shape(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
            return edge
        return inside(x, y)
    return pixel


def cut_box(w, h, cut):
    """A w by h box with its corners cut off diagonally by cut pixels."""
    def shape(x, y):
        if not (0 <= x < w and 0 <= y < h):
            return False
        dx = min(x, w - 1 - x)
        dy = min(y, h - 1 - y)
        return dx + dy >= cut
    return shape


def up_arrow(w, h, top, head, shaft):
    """An arrow pointing up in a w by h box: tip at row top, a head rows deep, then the shaft."""
    mid = (w - 1) / 2

    def on(x, y):
        if top <= y < top + head:
            return abs(x - mid) <= (y - top) * (w * 0.45) / head + 0.5
        return top + head <= y < h - top and abs(x - mid) <= shaft / 2
    return on


def turned(on, cw, ch, side):
    """The up-pointing picture on(u, v) of canonical size cw by ch turned to a side:
    0 up, 1 down, 2 left, 3 right (left and right pictures are ch wide)."""
    if side == 0:
        return lambda x, y: on(x, y)
    if side == 1:
        return lambda x, y: on(x, ch - 1 - y)
    if side == 2:
        return lambda x, y: on(y, x)
    return lambda x, y: on(y, ch - 1 - x)


def classic_arrow(side):
    """Classic set: a raised grey button 26 pixels square with a black arrow."""
    size = 26
    arrow = turned(up_arrow(size, size, 5, 8, 4), size, size, side)

    def pixel(x, y):
        if arrow(x, y):
            return (0, 0, 0)
        if x == 0 or y == 0:
            return (255, 255, 255)
        if x == size - 1 or y == size - 1:
            return (64, 64, 64)
        if x == size - 2 or y == size - 2:
            return (128, 128, 128)
        return (212, 208, 200)
    return size, size, pixel


def beta2_arrow(side):
    """Second set: a light blue tile 30 by 20 with a deep blue arrow."""
    cw, ch = 30, 20
    arrow = turned(up_arrow(cw, ch, 3, 8, 6), cw, ch, side)
    w, h = (cw, ch) if side in (0, 1) else (ch, cw)
    shape = cut_box(w, h, 2)
    inside = lambda x, y: (30, 80, 190) if arrow(x, y) else (232 - y // 2, 240 - y // 3, 252)
    return w, h, outlined(shape, (60, 90, 160), inside)


def compass_shape(x, y):
    """The compass centre, 88 pixels square: arms 29 wide (29..57) and a middle
    octagon whose cut corners run from (23, 28) to (29, 22) and their mirrors."""
    if not (0 <= x < 88 and 0 <= y < 88):
        return False
    if 29 <= x <= 57 or 29 <= y <= 57:
        return True
    return 22 <= x <= 65 and 22 <= y <= 65 and x + y >= 51 and x - y <= 35 and x + y <= 121 and y - x <= 35


def compass(edge, face, middle, window):
    def inside(x, y):
        if 32 <= x <= 54 and 32 <= y <= 54:
            # a small window with a tab strip: where a bar would join as a tab
            if x in (32, 54) or y in (32, 54):
                return edge
            if y >= 49 and 35 <= x <= 42:
                return middle
            return window
        return face
    return 88, 88, outlined(compass_shape, edge, inside)


def tab_area(size, edge, face, tab):
    """Kind 8: a window with a tab at its bottom, on a tile."""
    shape = cut_box(size, size, 2)

    def inside(x, y):
        if 5 <= x <= size - 6 and 5 <= y <= size - 10:
            return edge if x in (5, size - 6) or y in (5, size - 10) else (255, 255, 255)
        if size - 10 < y <= size - 6 and 5 <= x <= size // 2:
            return tab
        return face
    return size, size, outlined(shape, edge, inside)


def frame(side):
    """Frames behind the separate side arrows: 40 by 28 (top, bottom) or 28 by 40."""
    w, h = (40, 28) if side in (0, 1) else (28, 40)
    return w, h, outlined(cut_box(w, h, 3), (120, 120, 128), lambda x, y: (238, 238, 242))


MARKERS = {
    # classic set: top, bottom, left, right, centre, tab area
    30347: classic_arrow(0), 30343: classic_arrow(1), 30344: classic_arrow(2), 30345: classic_arrow(3),
    30348: compass((64, 64, 64), (212, 208, 200), (128, 128, 128), (255, 255, 255)),
    30346: tab_area(26, (64, 64, 64), (212, 208, 200), (128, 128, 128)),
    # second set
    30392: beta2_arrow(0), 30393: beta2_arrow(1), 30390: beta2_arrow(2), 30391: beta2_arrow(3),
    30394: compass((128, 128, 140), (236, 240, 248), (30, 80, 190), (255, 255, 255)),
    30395: tab_area(28, (60, 90, 160), (232, 238, 250), (30, 80, 190)),
    # frames: left, right, top, bottom
    30396: frame(2), 30397: frame(3), 30398: frame(0), 30399: frame(1),
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "wendrel_checker.bmp"), "wb") as f:
        f.write(checker_bmp())
    for cid, (shape, hot) in CURSORS.items():
        with open(os.path.join(out, "wendrel_cursor_%d.cur" % cid), "wb") as f:
            f.write(cursor(shape, hot))
    for mid, (w, h, pixel) in MARKERS.items():
        with open(os.path.join(out, "wendrel_marker_%d.bmp" % mid), "wb") as f:
            f.write(colour_bmp(w, h, pixel))


if __name__ == "__main__":
    main()
