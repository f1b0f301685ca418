# Sourced by the scripts that run Windows programs: a wine64 prefix outside the
# repository, a virtual display when none is set, and quiet, offline wine.
# shellcheck shell=bash
export WINE=/usr/lib/wine/wine64
export WINEARCH=win64
export WINEPREFIX="${ORB_WINEPREFIX:-$HOME/.cache/menuhost/wineprefix}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

orb_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot --init >/dev/null 2>&1 || true
    # wineboot returns before the registry is written out.
    /usr/lib/wine/wineserver -w || true
  fi
}

ORB_XVFB_PID=""
orb_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local n
    for n in $(seq 91 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      ORB_XVFB_PID=$!
      export DISPLAY=":$n"
      for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
      break
    done
  fi
}

orb_display_stop() {
  [ -n "$ORB_XVFB_PID" ] && kill "$ORB_XVFB_PID" 2>/dev/null || true
}
