#!/usr/bin/env python3
"""Draws the message box's pictures: the rounded frame that the window is cut
from (magenta outside the outline) and the OK button's three states.

Usage: make_msgbox_art.py OUTPUT_FOLDER
Writes MSGBOX_FRAME.png, MSGBTN_NORMAL.png, MSGBTN_HOVER.png, MSGBTN_PRESSED.png.
"""
import math
import os
import struct
import sys
import zlib

MAGENTA = (255, 0, 255)
FRAME_FILL = (255, 255, 231)  # the window's own colour, so the stretched centre matches it
GREY = (127, 127, 127)
BUTTON_FILL = (254, 254, 230)
BUTTON_EDGE = (198, 194, 198)
LIGHT = (254, 254, 254)
SHADOW = (134, 130, 134)
CLEAR = None  # fully transparent in the buttons' alpha channel

FRAME_SIZE = 48
FRAME_RADIUS = 8
BUTTON_W, BUTTON_H = 75, 23
BUTTON_CUT = 2


def png(width, height, rows, alpha):
    """rows: lists of (r, g, b) or CLEAR. RGB when alpha is False (no CLEAR allowed)."""
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for p in row:
            if alpha:
                raw.extend((0, 0, 0, 0) if p is CLEAR else (*p, 255))
            else:
                raw.extend(p)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def frame():
    size, r = FRAME_SIZE, FRAME_RADIUS

    def inside_shape(x, y):
        if not (0 <= x < size and 0 <= y < size):
            return False
        # Distance of the pixel's centre from the nearest corner circle, when in a corner square.
        cx = r if x < r else size - r if x >= size - r else None
        cy = r if y < r else size - r if y >= size - r else None
        if cx is None or cy is None:
            return True
        return math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside_shape(x, y):
                row.append(MAGENTA)
            elif any(not inside_shape(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                row.append(GREY)  # the outline is the shape's own edge, closed and one pixel wide
            else:
                row.append(FRAME_FILL)
        rows.append(row)
    return png(size, size, rows, alpha=False)


def button(edge, top_left, bottom_right):
    w, h = BUTTON_W, BUTTON_H
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            dx, dy = min(x, w - 1 - x), min(y, h - 1 - y)
            if dx + dy < BUTTON_CUT:
                row.append(CLEAR)
            elif dx == 0 or dy == 0 or dx + dy == BUTTON_CUT:
                row.append(edge)
            elif top_left and (y == 1 or x == 1):
                row.append(top_left)
            elif bottom_right and (y == h - 2 or x == w - 2):
                row.append(bottom_right)
            else:
                row.append(BUTTON_FILL)
        rows.append(row)
    return png(w, h, rows, alpha=True)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    pictures = {
        "MSGBOX_FRAME.png": frame(),
        "MSGBTN_NORMAL.png": button(GREY, None, None),
        "MSGBTN_HOVER.png": button(BUTTON_EDGE, LIGHT, SHADOW),     # raised
        "MSGBTN_PRESSED.png": button(BUTTON_EDGE, SHADOW, LIGHT),   # sunken
    }
    for name, data in pictures.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
