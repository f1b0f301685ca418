#!/usr/bin/env bash
# Builds the three configurations: native (core, tools, unit tests, with
# sanitizers), 64-bit Windows (the build the Windows tests run) and 32-bit
# Windows (the shipped menuhost). Usage: scripts/build.sh [native|win64|win32 ...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(native win64 win32)
jobs="$(nproc)"

configure() {  # dir, extra cmake arguments...
  local dir="$1"
  shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

for target in "${targets[@]}"; do
  case "$target" in
    native)
      configure build/native -DORB_SANITIZE=ON -DORB_BENCH=OFF
      cmake --build build/native -j "$jobs"
      ;;
    win64 | win32)
      # Windows resources are made by the native project tool.
      [ -x build/native/orbproj ] || "$0" native
      triple=x86_64-w64-mingw32
      [ "$target" = win32 ] && triple=i686-w64-mingw32
      configure "build/$target" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$triple.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DORB_HOST_ORBPROJ="$root/build/native/orbproj"
      cmake --build "build/$target" -j "$jobs"
      ;;
    *) echo "unknown target $target" >&2; exit 2 ;;
  esac
done
