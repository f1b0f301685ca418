#include "actions/OrbEscape.h"

#include <cstdio>

#include "core/Errors.h"
#include "core/Text.h"

namespace orb {

namespace {

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

bool isOctal(wchar_t c) { return c >= L'0' && c <= L'7'; }

}  // namespace

std::wstring UnescapeText(std::wstring_view s, const CodePage& codePage) {
    std::wstring out;
    out.reserve(s.size());
    auto appendByte = [&](unsigned code) {
        char byte = static_cast<char>(code);
        std::wstring w = codePage.toWide(std::string_view(&byte, 1));
        out += w.empty() ? std::wstring(1, static_cast<wchar_t>(code)) : w;
    };
    size_t i = 0;
    while (i < s.size()) {
        wchar_t c = s[i];
        if (c != L'\\' || i + 1 == s.size()) {
            out += c;
            ++i;
            continue;
        }
        wchar_t e = s[i + 1];
        i += 2;
        switch (e) {
            case L'a': out += L'\a'; break;
            case L'b': out += L'\b'; break;
            case L't': out += L'\t'; break;
            case L'n': out += L'\n'; break;
            case L'v': out += L'\v'; break;
            case L'f': out += L'\f'; break;
            case L'r': out += L'\r'; break;
            case L'\\': out += L'\\'; break;
            case L'"': out += L'"'; break;
            case L'\'': out += L'\''; break;
            case L'?': out += L'?'; break;
            case L'x': {
                if (i == s.size() || hexValue(s[i]) < 0) {
                    out += L"\\x";  // not an escape after all; what follows is read as usual
                    break;
                }
                unsigned code = static_cast<unsigned>(hexValue(s[i++]));
                if (i < s.size() && hexValue(s[i]) >= 0) code = code * 16 + static_cast<unsigned>(hexValue(s[i++]));
                appendByte(code);
                break;
            }
            default:
                if (isOctal(e)) {
                    unsigned code = static_cast<unsigned>(e - L'0');
                    for (int k = 0; k < 2 && i < s.size() && isOctal(s[i]); ++k)
                        code = code * 8 + static_cast<unsigned>(s[i++] - L'0');
                    if (code > 255) throw OrbError("Numeric constant too large.");
                    appendByte(code);
                } else {
                    out += L'\\';
                    out += e;
                }
        }
    }
    return out;
}

std::wstring UnescapeText(std::wstring_view text) { return UnescapeText(text, ansiCodePage()); }

std::wstring EscapeText(std::wstring_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (wchar_t c : s) {
        switch (c) {
            case L'\a': out += L"\\a"; break;
            case L'\b': out += L"\\b"; break;
            case L'\t': out += L"\\t"; break;
            case L'\n': out += L"\\n"; break;
            case L'\v': out += L"\\v"; break;
            case L'\f': out += L"\\f"; break;
            case L'\r': out += L"\\r"; break;
            case L'\\': out += L"\\\\"; break;
            case L'"': out += L"\\\""; break;
            default:
                if (static_cast<unsigned>(c) < 32) {
                    wchar_t buf[8];
                    std::swprintf(buf, 8, L"\\x%.2x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace orb
