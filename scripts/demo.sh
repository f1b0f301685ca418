#!/usr/bin/env bash
# Builds menuhost and starts it on the demo menu in examples/demo, under wine64.
# Without a display it runs on a virtual one and saves a screenshot instead.
# Usage: scripts/demo.sh [tiled|shaped] [menuhost arguments, for example -p "Lumora demo menu - About"]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh native win64
demo=demo
if [ "${1:-}" = tiled ] || [ "${1:-}" = shaped ]; then
  demo=$1
  shift
fi
mkdir -p build/demo
python3 tools/make_demo_art.py examples/demo/art/waves.png
python3 tools/make_demo_art.py --shape examples/demo/art/panel.png
python3 tools/make_demo_music.py examples/demo/art/music.wav
build/native/orbproj compile "examples/demo/$demo.txt" build/demo/demo.orb
cp build/win64/menuhost.exe build/demo/menuhost.exe
# What the menu opens lies beside it, as on a disc.
cp examples/demo/disc/* build/demo/

source scripts/wine-env.sh
orb_wine_prefix
# Windows opens text files in Notepad; a fresh wine prefix knows how to open a
# "txtfile" but does not say that .txt is one. The demo's read-me button should
# open its document here as it would there.
"$WINE" reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f >/dev/null 2>&1 || true
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd build/demo
  exec "$WINE" menuhost.exe demo.orb "$@"
fi

orb_display
trap orb_display_stop EXIT
(cd build/demo && "$WINE" menuhost.exe demo.orb "$@") &
menu=$!
"$WINE" build/win64/tests/win/wininspect.exe TfrmMain 30000 || true
import -display "$DISPLAY" -window root build/demo/screenshot.png
"$WINE" build/win64/tests/win/wininspect.exe --close TfrmMain || true
wait "$menu"
echo "No display here: the demo ran on a virtual one; see build/demo/screenshot.png"
