#!/usr/bin/env bash
# Builds the benchmarks in Release (no sanitizers) and runs them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORB_TESTS=OFF >/dev/null
cmake --build build/bench
build/bench/bench/project_read_bench "$@"
