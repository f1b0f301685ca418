#pragma once
// The one place windows.h comes in, with the settings every module expects.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orb {

static_assert(sizeof(wchar_t) == 2, "project text is UTF-16");

// The system's text for an error code, without the trailing line break.
std::wstring systemErrorText(DWORD code);
std::wstring moduleFileName(HMODULE module = nullptr);
// The absolute form of a path, with the system's separators; the path itself
// when the system cannot make one.
std::wstring fullPathName(const std::wstring& path);
// Windows major version, read without the compatibility shims that lie about it.
DWORD windowsMajorVersion();
bool windowsAtLeast(DWORD major, DWORD minor);
// A resource's bytes from a module (this program when none); empty when absent.
std::vector<uint8_t> resourceBytes(const wchar_t* type, const wchar_t* name, HMODULE module = nullptr);

}  // namespace orb
