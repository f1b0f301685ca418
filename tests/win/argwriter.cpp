// Test helper: writes its arguments after the first, one a line in UTF-8, to
// the file the first names. ARGWRITER_DELAY_MS makes it dawdle first, so a
// caller that claims to wait for it can be caught not waiting. Built without a
// console, so that it shows nothing over the window that started it.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "core/Text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    if (const wchar_t* delay = _wgetenv(L"ARGWRITER_DELAY_MS")) Sleep(static_cast<DWORD>(_wtoi(delay)));
    std::ofstream out(argv[1], std::ios::binary);
    for (int i = 2; i < argc; ++i) out << orb::utf16ToUtf8(argv[i]) << '\n';
    return out ? 0 : 1;
}
