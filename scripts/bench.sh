#!/usr/bin/env bash
# Builds the benchmarks in Release (no sanitizers) and runs them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_TESTS=OFF >/dev/null
cmake --build build/bench
for b in project_read_bench grad_fill_bench blend_bench audio_decode_bench; do build/bench/bench/$b "$@"; done

# Painting is timed through the real window system: the 64-bit build under wine.
bash scripts/build.sh win64 >/dev/null
source scripts/wine-env.sh
orb_display
orb_wine_prefix
(cd /tmp && "$WINE" "$root/build/win64/paint_bench.exe")
orb_display_stop
