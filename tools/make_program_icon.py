#!/usr/bin/env python3
"""Draws the program's built-in icon (a shaded disc) as a 32-bit ICO with 16, 32 and 48 pixel images."""
import math
import struct
import sys


def image(size):
    rows = []
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    for y in range(size - 1, -1, -1):  # bottom-up, as BMP rows are stored
        row = b""
        for x in range(size):
            d = math.hypot(x - c, y - c)
            alpha = max(0.0, min(1.0, r - d + 0.5))
            hole = max(0.0, min(1.0, d - size * 0.12 + 0.5))
            shade = 0.55 + 0.45 * (1 - (x + y) / (2.0 * size))
            a = int(255 * alpha * hole)
            b, g, rd = int(200 * shade), int(140 * shade), int(40 * shade)
            row += struct.pack("BBBB", b, g, rd, a)
        rows.append(row)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    return header + b"".join(rows) + mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
