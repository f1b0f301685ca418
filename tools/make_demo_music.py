#!/usr/bin/env python3
"""The demo menu's background music: a soft four-bar arpeggio that loops
without a click, synthesised here as 22.05 kHz 8-bit mono WAV.
Usage: make_demo_music.py OUTPUT.wav"""
import math
import struct
import sys

RATE = 22050
BEAT = 0.25  # seconds per note
# Root notes of the bars (MIDI numbers) and the chord shape played over each.
BARS = [57, 53, 60, 55]  # A minor, F, C, G
SHAPE = [0, 4, 7, 12, 7, 4, 0, 7]


def frequency(note):
    return 440.0 * 2 ** ((note - 69) / 12)


def samples():
    out = []
    for root in BARS:
        for step, offset in enumerate(SHAPE):
            third = 3 if root == 57 and offset == 4 else offset  # the minor bar
            f = frequency(root + third)
            n = int(RATE * BEAT)
            for i in range(n):
                t = i / RATE
                # A plucked envelope that dies away before the next note, so the loop joins silently.
                env = math.exp(-6 * t / BEAT) * min(1.0, i / 60) * min(1.0, (n - i) / 60)
                value = 0.35 * env * (math.sin(2 * math.pi * f * t) + 0.3 * math.sin(4 * math.pi * f * t))
                out.append(value)
    return out


def main():
    data = bytes(max(0, min(255, int(round(128 + 127 * v)))) for v in samples())
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8)
    header += b"data" + struct.pack("<I", len(data))
    with open(sys.argv[1], "wb") as f:
        f.write(header + data)


if __name__ == "__main__":
    main()
