#pragma once
// Folder macros and environment references in project paths.
#include <functional>
#include <string>
#include <string_view>

namespace orb {

struct MacroValues {
    // Each without a trailing backslash: a drive root is "C:", the path supplies its own.
    std::wstring cdrom, winDir, sysDir, desktop;
    // The environment's value of a name; empty when unset.
    std::function<std::wstring(const std::wstring&)> environment;
};

std::wstring ExpandMacros(std::wstring_view text, const MacroValues& values);

// The process's values: the Windows layer fills them at start-up, and the
// project folder once the project has been located.
MacroValues& processMacroValues();
std::wstring ExpandMacros(std::wstring_view text);

std::wstring withoutTrailingBackslash(std::wstring folder);

}  // namespace orb
