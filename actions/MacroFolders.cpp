#include "actions/MacroFolders.h"

#include "actions/OrbMacros.h"
#include "framework/Win32.h"

#include <shlobj.h>

namespace orb {

namespace {

std::wstring environmentValue(const std::wstring& name) {
    std::wstring value(2048, L'\0');
    DWORD n = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (n >= value.size()) {
        // Longer than the usual buffer: read it whole rather than lose it.
        value.resize(n);
        n = GetEnvironmentVariableW(name.c_str(), value.data(), n);
    }
    value.resize(n < value.size() ? n : 0);
    return value;
}

}  // namespace

void InitMacroValues(const std::wstring& programFolder) {
    MacroValues& v = processMacroValues();
    wchar_t buffer[MAX_PATH];
    v.cdrom = withoutTrailingBackslash(programFolder);
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    v.winDir = withoutTrailingBackslash(std::wstring(buffer, n < MAX_PATH ? n : 0));
    n = GetSystemDirectoryW(buffer, MAX_PATH);
    v.sysDir = withoutTrailingBackslash(std::wstring(buffer, n < MAX_PATH ? n : 0));
    v.desktop = SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_DESKTOP, FALSE)
                    ? withoutTrailingBackslash(buffer)
                    : std::wstring();
    v.environment = environmentValue;
}

}  // namespace orb
