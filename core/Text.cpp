#include "core/Text.h"

#include <array>

namespace orb {

std::wstring utf8ToUtf16(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    auto bad = [&] { out.push_back(0xFFFD); ++i; };
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        size_t n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 4; }
        else { bad(); continue; }
        if (i + n > s.size()) { bad(); continue; }
        bool ok = true;
        for (size_t k = 1; k < n; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok || cp > 0x10FFFF) { bad(); continue; }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(cp));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::wstring_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = static_cast<char16_t>(s[i]);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size()) {
            char32_t lo = static_cast<char16_t>(s[i + 1]);
            if (lo >= 0xDC00 && lo < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                ++i;
            }
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::wstring asciiToWide(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

namespace {

// 0x80..0x9F of Windows-1252; the rest of the upper half equals Latin-1.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

class Windows1252 final : public CodePage {
public:
    std::wstring toWide(std::string_view bytes) const override {
        std::wstring out;
        out.reserve(bytes.size());
        for (char ch : bytes) {
            auto b = static_cast<unsigned char>(ch);
            out.push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kCp1252High[b - 0x80]) : b);
        }
        return out;
    }
    std::string toAnsi(std::wstring_view text) const override {
        std::string out;
        out.reserve(text.size());
        for (wchar_t w : text) {
            char16_t u = static_cast<char16_t>(w);
            if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
                out.push_back(static_cast<char>(u));
                continue;
            }
            char mapped = '?';
            for (size_t i = 0; i < kCp1252High.size(); ++i)
                if (kCp1252High[i] == u) mapped = static_cast<char>(0x80 + i);
            out.push_back(mapped);
        }
        return out;
    }
};

const CodePage* g_ansi = nullptr;

}  // namespace

const CodePage& windows1252() {
    static const Windows1252 cp;
    return cp;
}

const CodePage& ansiCodePage() { return g_ansi ? *g_ansi : windows1252(); }
void setAnsiCodePage(const CodePage& codePage) { g_ansi = &codePage; }

std::wstring upperCase(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = static_cast<wchar_t>(c - 32);
    }
    return out;
}

bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace orb
