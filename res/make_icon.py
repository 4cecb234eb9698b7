#!/usr/bin/env python3
"""Draws the program's icon, a ROM chip that carries a mountain lake, and
writes it as tarn.ico: 32x32 and 16x16 pixels, 16 colours each.

Run it from anywhere: python3 res/make_icon.py [output]. The picture is
defined in coordinates from 0 to 1, so both sizes come from one drawing."""

import struct
import sys
from pathlib import Path

# The standard 16-colour palette, in the order Windows uses.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREEN, LIGHT_GREY, DARK_GREY, BLUE, CYAN, WHITE = 0, 2, 7, 8, 12, 14, 15
TRANSPARENT = None


def pixel(u, v, size):
    """The colour at (u, v), both from 0 (top left) to 1."""
    body = 0.25 <= u <= 0.75 and 0.12 <= v <= 0.88
    if body:
        edge = 1.0 / size
        if u < 0.25 + edge or u > 0.75 - edge or v < 0.12 + edge or v > 0.88 - edge:
            return BLACK
        if (u - 0.5) ** 2 + (v - 0.12) ** 2 < 0.006:  # the notch that marks pin 1's end
            return BLACK
        lake = ((u - 0.5) / 0.19) ** 2 + ((v - 0.66) / 0.09) ** 2
        if lake <= 1.0:
            return CYAN if abs(v - 0.64) < 0.5 / size and abs(u - 0.5) < 0.08 else BLUE
        depth = v - 0.26  # a peak above the lake, snow on its top
        if 0 <= depth <= 0.34 and abs(u - 0.5) <= depth * 0.7:
            return WHITE if depth < 0.12 else DARK_GREEN
        return DARK_GREY
    pins = 0.12 <= u < 0.25 or 0.75 < u <= 0.88
    if pins and 0.17 <= v <= 0.83:
        row = int((v - 0.17) / 0.66 * 8)  # eight pins a side, a gap below each
        if (v - 0.17) / 0.66 * 8 - row < 0.6:
            return LIGHT_GREY
    return TRANSPARENT


def image(size):
    rows = [[pixel((x + 0.5) / size, (y + 0.5) / size, size) for x in range(size)] for y in range(size)]
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor_bytes, and_bytes = bytearray(), bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        line = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, colour in enumerate(row):
            if colour is TRANSPARENT:
                mask[x // 8] |= 0x80 >> (x % 8)
                colour = 0
            line[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        xor_bytes += line
        and_bytes += mask
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor_bytes) + len(and_bytes), 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor_bytes) + bytes(and_bytes)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("tarn.ico")
    images = [(size, image(size)) for size in (32, 16)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits in images:
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(bits), offset)
        offset += len(bits)
    data += b"".join(bits for _, bits in images)
    out.write_bytes(data)


if __name__ == "__main__":
    main()
