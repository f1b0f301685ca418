#!/usr/bin/env python3
"""Draws the demo menu's pictures: a 64 x 64 tile of soft diagonal waves (PNG),
or with --shape the outline and face of the shaped demo window: a 420 x 260
rounded panel whose magenta surroundings the window leaves out."""
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


SHAPE_W, SHAPE_H, SHAPE_R = 420, 260, 48


def shape(x, y):
    # Distance outside the rounded rectangle's inner corner square, if any.
    cx = min(max(x, SHAPE_R), SHAPE_W - 1 - SHAPE_R)
    cy = min(max(y, SHAPE_R), SHAPE_H - 1 - SHAPE_R)
    d = math.hypot(x - cx, y - cy)
    if d > SHAPE_R:
        return (255, 0, 255)  # the window's cut-away colour: its top-left pixel
    if d > SHAPE_R - 4:
        return (250, 210, 90)  # a golden rim
    t = y / SHAPE_H
    return (int(30 + 40 * t), int(60 + 60 * t), int(120 + 90 * t))


if __name__ == "__main__":
    if sys.argv[1] == "--shape":
        with open(sys.argv[2], "wb") as f:
            f.write(png(SHAPE_W, SHAPE_H, shape))
    else:
        with open(sys.argv[1], "wb") as f:
            f.write(png(64, 64, wave))
