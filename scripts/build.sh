#!/usr/bin/env bash
# Builds the three configurations: native (core, tools, unit tests, with
# sanitizers), 64-bit Windows (the build the Windows tests run) and 32-bit
# Windows (the shipped menuhost). Usage: scripts/build.sh [native|win64|win32 ...]
# ORB_BUILD_ROOT (default "build") puts the three build folders elsewhere, so
# that two people working in one checkout do not share a build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(native win64 win32)
jobs="$(nproc)"
out="${ORB_BUILD_ROOT:-build}"

configure() {  # dir, extra cmake arguments...
  local dir="$1"
  shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

for target in "${targets[@]}"; do
  case "$target" in
    native)
      configure "$out/native" -DORB_SANITIZE=ON -DORB_BENCH=OFF
      cmake --build "$out/native" -j "$jobs"
      ;;
    win64 | win32)
      # Windows resources are made by the native project tool.
      [ -x "$out/native/orbproj" ] || "$0" native
      triple=x86_64-w64-mingw32
      [ "$target" = win32 ] && triple=i686-w64-mingw32
      configure "$out/$target" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$triple.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DORB_HOST_ORBPROJ="$(cd "$out/native" && pwd)/orbproj"
      cmake --build "$out/$target" -j "$jobs"
      ;;
    *) echo "unknown target $target" >&2; exit 2 ;;
  esac
done
