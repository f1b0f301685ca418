#!/usr/bin/env bash
# The shipped menuhost.exe: a 32-bit GUI program that needs no DLL beyond the system's.
set -euo pipefail
exe="${1:-build/win32/menuhost.exe}"
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

kind="$(file -b "$exe")"
check "$exe is a PE32 i386 GUI program ($kind)" grep -q '^PE32 executable (GUI) Intel 80386' <<<"$kind"

imports="$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)"
system_dlls="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comctl32.dll comdlg32.dll ole32.dll
oleaut32.dll winmm.dll winspool.drv msvcrt.dll shlwapi.dll version.dll msimg32.dll gdiplus.dll uxtheme.dll
dwmapi.dll urlmon.dll wininet.dll imm32.dll"
foreign=""
for dll in $imports; do
  grep -qw -- "$dll" <<<"$system_dlls" || foreign="$foreign $dll"
done
check "imports only system DLLs ($(echo $imports | tr '\n' ' '))" test -z "$foreign"
[ -n "$foreign" ] && echo "  not the system's:$foreign"

echo "deliverables: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
