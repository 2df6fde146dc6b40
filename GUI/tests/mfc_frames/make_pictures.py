#!/usr/bin/env python3
"""Writes the pictures the frame tests' resources need into a folder: a toolbar
strip of four 16x15 images (each a different solid colour on grey, so that image
indexes can be told apart) and a 16x16 frame icon. Usage: make_pictures.py OUTDIR"""
import os
import struct
import sys

GREY = (192, 192, 192)
COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0)]


def bmp_24(width, height, pixel):
    """A bottom-up 24-bit BMP file; pixel(x, y) gives (r, g, b), y from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return head + info + bits


def strip_pixel(x, y):
    index, cx = divmod(x, 16)
    inside = 2 <= cx <= 13 and 2 <= y <= 12
    return COLOURS[index] if inside else GREY


def icon_16():
    """A 16x16 32-bit icon: a blue square with a white frame, no transparency."""
    width = height = 16
    xor = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            edge = x in (0, width - 1) or y in (0, height - 1)
            b, g, r = (255, 255, 255) if edge else (200, 80, 0)
            xor += bytes((b, g, r, 255))
    and_mask = b"\0" * (4 * height)  # 16 bits padded to 32 per row, all opaque
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + bytes(xor) + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "frame_toolbar.bmp"), "wb") as f:
        f.write(bmp_24(64, 15, strip_pixel))
    with open(os.path.join(out, "frame.ico"), "wb") as f:
        f.write(icon_16())


if __name__ == "__main__":
    main()
