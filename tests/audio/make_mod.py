#!/usr/bin/env python3
"""Writes a small 4-channel tracker module: one looped one-cycle square
sample held on channel 1 for eight rows at speed 6 and tempo 125 (0.96 s),
at period 428, which sounds 7093789.2 / (2 * 428 * 32) = about 259 Hz.
With "--minute" it writes instead a tune of eight orders of a full pattern
(61.44 s) with a new note on every channel every four rows, for timing."""
import struct
import sys

CYCLE = 32
sample = bytes(([100] * (CYCLE // 2)) + ([256 - 100] * (CYCLE // 2)))

out = bytearray(b"orb test tune".ljust(20, b"\0"))
for i in range(31):
    if i == 0:
        out += b"square".ljust(22, b"\0")
        out += struct.pack(">HBBHH", CYCLE // 2, 0, 64, 0, CYCLE // 2)
    else:
        out += bytes(22) + struct.pack(">HBBHH", 0, 0, 0, 0, 1)
minute = "--minute" in sys.argv
out += bytes([8 if minute else 1, 127]) + bytes(128) + b"M.K."
PERIODS = [428, 381, 339, 320, 285, 254, 226, 214]


def cell(period, volume):
    # sample 1, the period, effect C (volume)
    return bytes([(period >> 8) & 0x0F, period & 0xFF, 0x10 | 0x0C, volume])


rows = []
for row in range(64):
    cells = [bytes(4)] * 4
    if minute:
        if row % 4 == 0:
            cells = [cell(PERIODS[(row // 4 + ch * 2) % 8], 48) for ch in range(4)]
    else:
        if row == 0:
            cells[0] = cell(428, 64)
        if row == 7:
            cells[1] = bytes([0, 0, 0x0D, 0])  # pattern break: the song ends after row 7
    rows.append(b"".join(cells))
out += b"".join(rows)
out += sample
open(sys.argv[-1], "wb").write(out)
