#!/usr/bin/env bash
# One minute of music-like sound in the formats the decoding benchmark times:
# a chord of drifting tones with some noise, so the encoders have work to do.
set -euo pipefail
out="$1"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$out"
cd "$out"
sox -q -n -r 44100 -c 2 -b 16 minute.wav synth 60 sine 220-330 sine 277-415 sine 330-495 pinknoise vol 0.3
lame --quiet -b 192 minute.wav minute.mp3
oggenc -Q -q 5 -o minute.ogg minute.wav
python3 "$here/make_mod.py" --minute minute.mod
rm minute.wav
touch stamp
