// Test helper: writes its arguments after the first, one a line in UTF-8, to
// the file the first names. ARGWRITER_DELAY_MS makes it dawdle first, so a
// caller that claims to wait for it can be caught not waiting. Built without a
// console, so that it shows nothing over the window that started it.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string utf8(const wchar_t* s) {
    int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    if (const wchar_t* delay = _wgetenv(L"ARGWRITER_DELAY_MS")) Sleep(static_cast<DWORD>(_wtoi(delay)));
    std::ofstream out(argv[1], std::ios::binary);
    for (int i = 2; i < argc; ++i) out << utf8(argv[i]) << '\n';
    return out ? 0 : 1;
}
