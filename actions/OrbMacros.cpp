#include "actions/OrbMacros.h"

namespace orb {

namespace {

wchar_t upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

bool equalsAt(std::wstring_view text, size_t at, std::wstring_view word) {
    if (at + word.size() > text.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (upper(text[at + i]) != upper(word[i])) return false;
    return true;
}

// Every occurrence, without regard to case; the inserted value is not scanned again.
std::wstring replaceAllIgnoringCase(std::wstring_view text, std::wstring_view macro, std::wstring_view value) {
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        if (equalsAt(text, i, macro)) {
            out += value;
            i += macro.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::wstring trimmed(std::wstring_view s) {
    while (!s.empty() && s.front() <= L' ') s.remove_prefix(1);
    while (!s.empty() && s.back() <= L' ') s.remove_suffix(1);
    return std::wstring(s);
}

}  // namespace

std::wstring withoutTrailingBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::wstring ExpandMacros(std::wstring_view text, const MacroValues& v) {
    std::wstring s = replaceAllIgnoringCase(text, L"%CDROM%", v.cdrom);
    s = replaceAllIgnoringCase(s, L"%WinDir%", v.winDir);
    s = replaceAllIgnoringCase(s, L"%SysDir%", v.sysDir);
    s = replaceAllIgnoringCase(s, L"%Desktop%", v.desktop);

    size_t p = s.find(L"%%");
    while (p != std::wstring::npos) {
        if (!equalsAt(s, p + 2, L"ENV-")) {
            p = s.find(L"%%", p + 1);
            continue;
        }
        size_t close = s.find(L"%%", p + 6);
        if (close == std::wstring::npos) break;
        std::wstring name = trimmed(std::wstring_view(s).substr(p + 6, close - (p + 6)));
        if (name.empty()) {
            p = close;  // it may open the next reference
            continue;
        }
        std::wstring value = v.environment ? v.environment(name) : std::wstring();
        s.replace(p, close + 2 - p, value);
        p = s.find(L"%%", p + value.size());
    }
    return s;
}

MacroValues& processMacroValues() {
    static MacroValues values;
    return values;
}

std::wstring ExpandMacros(std::wstring_view text) { return ExpandMacros(text, processMacroValues()); }

}  // namespace orb
