#!/usr/bin/env bash
# Makes the sounds the audio tests decode, with Debian's own tools: a 440 Hz
# tone in every format and sample layout the engine reads.
set -euo pipefail
out="$1"
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$out"
cd "$out"
tone() { sox -q -n -r "$1" -c "$2" "${@:3}" synth 1.0 sine 440 vol 0.5; }
tone 44100 1 -b 16 tone16.wav
tone 22050 2 -b 8 tone8.wav
tone 48000 1 -b 24 tone24.wav
tone 44100 2 -b 32 tone32.wav
tone 44100 1 -e floating-point -b 32 tonefloat.wav
tone 44100 1 -e floating-point -b 64 tonedouble.wav
tone 44100 1 -e ima-adpcm tone_ima.wav
tone 44100 1 -e ms-adpcm tone_ms.wav
tone 44100 2 -e u-law tone_ulaw.wav
tone 8000 1 -e a-law tone_alaw.wav
tone 8000 1 -e gsm-full-rate tone_gsm.wav
tone 44100 2 -b 16 tone.aiff
tone 16000 1 -b 16 tone16k.wav
lame --quiet -b 128 --tt "Lame Title" --ta "Lame Artist" --add-id3v2 tone16.wav tone.mp3
oggenc -Q -t "Vorbis Title" -a "Vorbis Artist" -o tone.ogg tone16.wav
flac -s -f -T "TITLE=Flac Title" -T "ARTIST=Flac Artist" -o tone.flac tone16.wav
speexenc --quiet --title "Speex Title" --author "Speex Author" tone16k.wav tone.spx
python3 "$here/make_mod.py" tone.mod
touch stamp
