#include "core/StringList.h"

#include "core/Errors.h"

namespace orb {

const ClassInfo& WideStringList::staticClass() {
    static const ClassInfo info{"TTntStrings", &Persistent::staticClass(), {}, {}};
    return info;
}

const ClassInfo& AnsiStringList::staticClass() {
    static const ClassInfo info{"TStrings", &Persistent::staticClass(), {}, {}};
    return info;
}

std::vector<std::wstring> splitLines(std::wstring_view text) {
    std::vector<std::wstring> out;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            out.emplace_back(text.substr(start, i - start));
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) out.emplace_back(text.substr(start));
    return out;
}

std::wstring WideStringList::text() const {
    std::wstring t;
    for (const auto& l : lines) {
        t += l;
        t += L"\r\n";
    }
    return t;
}

void WideStringList::setText(std::wstring_view text) {
    lines = splitLines(text);
    if (onChange) onChange();
}

std::wstring decodeUtf7(std::string_view s) {
    auto b64 = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    std::wstring out;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '+') {
            out.push_back(static_cast<unsigned char>(s[i++]));
            continue;
        }
        ++i;
        if (i < s.size() && s[i] == '-') {
            out.push_back(L'+');
            ++i;
            continue;
        }
        uint32_t bits = 0;
        int nbits = 0;
        while (i < s.size() && b64(s[i]) >= 0) {
            bits = (bits << 6) | static_cast<uint32_t>(b64(s[i++]));
            nbits += 6;
            if (nbits >= 16) {
                nbits -= 16;
                out.push_back(static_cast<wchar_t>((bits >> nbits) & 0xFFFF));
            }
        }
        if (i < s.size() && s[i] == '-') ++i;
    }
    return out;
}

bool WideStringList::readDefinedProperty(std::string_view name, const Value& v) {
    if (name == "Strings" || name == "WideStrings" || name == "WideStringsW") {
        if (v.tag == ValueTag::List) {
            lines.clear();
            for (const auto& item : v.list) {
                if (!item.isString()) throw ReadError(kInvalidPropertyValue);
                lines.push_back(item.asWide());
            }
        } else if (v.isString()) {
            lines = splitLines(v.asWide());
        } else {
            throw ReadError(kInvalidPropertyValue);
        }
        if (onChange) onChange();
        return true;
    }
    if (name == "WideStrings_UTF7") {
        if (!v.isString()) throw ReadError(kInvalidPropertyValue);
        lines = splitLines(decodeUtf7(v.asAnsi()));
        if (onChange) onChange();
        return true;
    }
    return false;
}

bool AnsiStringList::readDefinedProperty(std::string_view name, const Value& v) {
    if (name != "Strings") return false;
    if (v.tag != ValueTag::List) throw ReadError(kInvalidPropertyValue);
    lines.clear();
    for (const auto& item : v.list) {
        if (!item.isString()) throw ReadError(kInvalidPropertyValue);
        lines.push_back(item.asAnsi());
    }
    return true;
}

}  // namespace orb
