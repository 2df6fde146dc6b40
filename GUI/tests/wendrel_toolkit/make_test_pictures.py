#!/usr/bin/env python3
"""Writes the toolkit tests' toolbar strip: three 16x15 images on magenta,
each a solid square of its own colour. Usage: make_test_pictures.py OUTDIR"""
import os
import struct
import sys

MAGENTA = (255, 0, 255)
COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255)]


def strip_pixel(x, y):
    index, cx = divmod(x, 16)
    return COLOURS[index] if 3 <= cx <= 12 and 3 <= y <= 11 else MAGENTA


def bmp_24(width, height, pixel):
    stride = (width * 3 + 3) & ~3
    bits = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        bits += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return head + info + bytes(bits)


os.makedirs(sys.argv[1], exist_ok=True)
with open(os.path.join(sys.argv[1], "test_toolbar.bmp"), "wb") as f:
    f.write(bmp_24(48, 15, strip_pixel))
