#!/usr/bin/env bash
# The shipped 32-bit programs, checked from their files: menuhost.exe a GUI
# program, setupshim.exe a console one and ejector.exe a window-less one, none needing a DLL beyond the system's;
# and the audio engine's two DLLs with exactly their exports.
set -euo pipefail
dir="${1:-build/win32}"
passed=0
failed=0
check() {  # description, command...
  local what="$1"
  shift
  if "$@"; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    failed=$((failed + 1))
  fi
}

system_dlls="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comctl32.dll comdlg32.dll ole32.dll
oleaut32.dll winmm.dll winspool.drv msvcrt.dll shlwapi.dll version.dll msimg32.dll gdiplus.dll uxtheme.dll
dwmapi.dll urlmon.dll wininet.dll imm32.dll msacm32.dll"

check_program() {  # exe, subsystem as file(1) names it
  local exe="$1" subsystem="$2" kind imports foreign=""
  kind="$(file -b "$exe")"
  check "$exe is a PE32 i386 $subsystem program ($kind)" grep -q "^PE32 executable ($subsystem) Intel 80386" <<<"$kind"
  imports="$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
  for dll in $imports; do
    grep -qw -- "$dll" <<<"$system_dlls" || foreign="$foreign $dll"
  done
  check "$exe imports only system DLLs ($(echo $imports | tr '\n' ' '))" test -z "$foreign"
  [ -z "$foreign" ] || echo "  not the system's:$foreign"
}

check_program "$dir/menuhost.exe" GUI
check_program "$dir/setupshim.exe" console
check_program "$dir/ejector.exe" GUI
check "menuhost.exe carries the eject program as BINDATA/BINE" \
  grep -q '^"BINE" "BINDATA"' <<<"$(i686-w64-mingw32-windres -i "$dir/menuhost.exe" -J coff -O rc 2>/dev/null)"

check_library() {  # library, the exported names one a line
  local lib="$1" expected="$2" kind imports foreign="" exports
  kind="$(file -b "$lib")"
  check "$lib is a PE32 i386 DLL ($kind)" grep -q "^PE32 executable (DLL) .*Intel 80386" <<<"$kind"
  imports="$(i686-w64-mingw32-objdump -p "$lib" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
  for name in $imports; do
    grep -qw -- "$name" <<<"$system_dlls" || foreign="$foreign $name"
  done
  check "$lib imports only system DLLs ($(echo $imports | tr '\n' ' '))" test -z "$foreign"
  exports="$(i686-w64-mingw32-objdump -p "$lib" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p' | sort)"
  check "$lib exports exactly its $(wc -l <<<"$expected") names" test "$exports" = "$(sort <<<"$expected")"
}
check_library "$dir/audio/audiere.dll" "$(printf '_Adr%s\n' CreateLoopPointSource@4 CreateMemoryFile@8 \
  CreatePinkNoise@0 CreateSampleBuffer@20 CreateSampleBufferFromSource@4 CreateSquareWave@8 CreateTone@8 \
  CreateWhiteNoise@0 EnumerateCDDevices@0 GetSampleSize@4 GetSupportedAudioDevices@0 GetSupportedFileFormats@0 \
  GetVersion@0 OpenCDDevice@4 OpenDevice@8 OpenFile@8 OpenMIDIDevice@4 OpenSampleSource@8 OpenSampleSourceW@8 \
  OpenSampleSourceFromFile@8 OpenSound@12 OpenSoundEffect@12)"
check_library "$dir/tunecore/tunecore.dll" "$(printf 'Orb_Audiere_%s\n' Play PlayFile Stop IsPlaying)"

# menuhost carries the built-in engine as its resource BINDATA/BINP.
carried="$(mktemp --suffix=.dll)"
check "menuhost.exe carries the resource BINDATA/BINP" \
  python3 "$(dirname "$0")/../tools/pe_resource.py" "$dir/menuhost.exe" BINDATA BINP "$carried"
check_library "$carried" "$(printf 'Orb_Audiere_%s\n' Play PlayFile Stop IsPlaying)"
rm -f "$carried"
check "audiere.dll ships beside menuhost.exe" test -f "$dir/audiere.dll"

resources="$(i686-w64-mingw32-windres -i "$dir/setupshim.exe" -J coff -O rc)"
check "setupshim has the icon group MNICON" grep -q 'Name: "MNICON"' <<<"$resources"
check "setupshim's version is 2.0.2.2" grep -q 'FILEVERSION 2, 0, 2, 2' <<<"$resources"
manifest="$(python3 - "$dir/setupshim.exe" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
start = data.find(b"<assembly")
print(data[start:data.find(b"</assembly>", start)].decode("utf-8", "replace") if start >= 0 else "")
PY
)"
check "setupshim's manifest asks for the highest available level without UI access" \
  grep -q 'level="highestAvailable" uiAccess="false"' <<<"$manifest"

echo "deliverables: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
