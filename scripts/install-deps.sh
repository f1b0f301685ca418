#!/usr/bin/env bash
# Brings a fresh Debian machine to the state the build and the tests need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config file xxd python3
  g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 mingw-w64-tools
  libz-mingw-w64-dev zlib1g-dev
  googletest libgtest-dev libbenchmark-dev libstb-dev
  wine64 xvfb x11-utils imagemagick
  libmpg123-dev libvorbis-dev libogg-dev libflac-dev libxmp-dev libspeex-dev
  sox lame vorbis-tools flac speex dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The audio libraries for the Windows targets, built from Debian's sources.
bash "$(dirname "$0")/build-mingw-deps.sh"
