#!/usr/bin/env python3
"""Draws the demo menu's pictures: a 64 x 64 tile of soft diagonal waves (PNG)."""
import math
import struct
import sys
import zlib


def png(width, height, pixel):
    rows = b""
    for y in range(height):
        rows += b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def wave(x, y):
    t = 0.5 + 0.5 * math.sin((x + y) * 2 * math.pi / 64)
    return (int(20 + 30 * t), int(40 + 50 * t), int(90 + 80 * t))


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as f:
        f.write(png(64, 64, wave))
