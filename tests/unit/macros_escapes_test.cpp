#include <gtest/gtest.h>

#include <map>

#include "actions/OrbEscape.h"
#include "actions/OrbMacros.h"
#include "core/Errors.h"
#include "core/Text.h"

using namespace orb;

namespace {

MacroValues sampleValues() {
    MacroValues v;
    v.cdrom = L"E:";
    v.winDir = L"C:\\WINDOWS";
    v.sysDir = L"C:\\WINDOWS\\system32";
    v.desktop = L"C:\\Users\\ann\\Desktop";
    v.environment = [](const std::wstring& name) {
        static const std::map<std::wstring, std::wstring> env = {{L"HOME", L"C:\\Users\\ann"}, {L"X", L"%%ENV-HOME%%"}};
        auto it = env.find(name);
        return it == env.end() ? std::wstring() : it->second;
    };
    return v;
}

}  // namespace

TEST(ExpandMacros, FolderMacrosAndEnvironmentReferences) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"%CDROM%\\setup.exe", L"E:\\setup.exe"},  // a drive root keeps one backslash
        {L"%cdRom%\\a.txt", L"E:\\a.txt"},
        {L"%WINDIR%\\notepad.exe", L"C:\\WINDOWS\\notepad.exe"},
        {L"%SysDir%\\x.dll|%Desktop%\\y", L"C:\\WINDOWS\\system32\\x.dll|C:\\Users\\ann\\Desktop\\y"},
        {L"%%ENV-HOME%%\\docs", L"C:\\Users\\ann\\docs"},
        {L"%%env-HOME%%\\docs", L"C:\\Users\\ann\\docs"},
        {L"%%ENV- HOME %%\\docs", L"C:\\Users\\ann\\docs"},        // the name is trimmed
        {L"%%ENV-%%\\docs", L"%%ENV-%%\\docs"},                    // an empty name stays
        {L"%%ENV-NOPE%%after", L"after"},                          // unset: nothing
        {L"%%ENV-HOME", L"%%ENV-HOME"},                            // no closing %%: unchanged
        {L"%%ENV-X%%", L"%%ENV-HOME%%"},                           // values are not expanded again
        {L"100%% %%ENV-HOME%%", L"100%% C:\\Users\\ann"},          // a %% that opens nothing is skipped
        {L"%%ENV-%%ENV-HOME%%", L"%%ENV-C:\\Users\\ann"},          // an empty one's closing %% opens the next
        {L"plain", L"plain"},
    };
    MacroValues v = sampleValues();
    for (const auto& c : cases) EXPECT_EQ(ExpandMacros(c.in, v), c.out) << utf16ToUtf8(c.in);
}

TEST(ExpandMacros, FolderValuesLoseTheirTrailingBackslash) {
    EXPECT_EQ(withoutTrailingBackslash(L"D:\\"), L"D:");
    EXPECT_EQ(withoutTrailingBackslash(L"D:\\menu"), L"D:\\menu");
    EXPECT_EQ(withoutTrailingBackslash(L""), L"");
}

TEST(UnescapeText, TheWholeEscapeTable) {
    struct Case {
        const wchar_t* in;
        std::wstring out;
    };
    const Case cases[] = {
        {L"a\\nb", L"a\nb"},
        {L"\\a\\b\\t\\v\\f\\r", L"\a\b\t\v\f\r"},
        {L"\\\\ \\\" \\' \\?", L"\\ \" ' ?"},
        {L"\\101", L"A"},
        {L"\\0", std::wstring(1, L'\0')},
        {L"\\1234", L"S4"},       // three octal digits at most
        {L"\\x41", L"A"},
        {L"\\x4G", L"\x04G"},     // one hexadecimal digit, then the G as it is
        {L"\\x414", L"A4"},       // two hexadecimal digits at most
        {L"\\xZ", L"\\xZ"},
        {L"end\\x", L"end\\x"},
        {L"\\q", L"\\q"},         // outside the table: both kept
        {L"end\\", L"end\\"},
        {L"\\xE9\\x80", L"\u00E9\u20AC"},  // bytes of the 8-bit code page (here Windows-1252)
        {L"C:\\new\\table", L"C:\new\table"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.in, windows1252()), c.out) << utf16ToUtf8(c.in);
}

TEST(UnescapeText, OctalAbove255Fails) {
    try {
        UnescapeText(L"x\\400", windows1252());
        FAIL() << "no error";
    } catch (const OrbError& e) {
        EXPECT_STREQ(e.what(), "Numeric constant too large.");
    }
    EXPECT_EQ(UnescapeText(L"\\377", windows1252()), L"\u00FF");
}

TEST(EscapeText, EscapesControlCharactersAndRoundTrips) {
    EXPECT_EQ(EscapeText(L"\t"), L"\\t");
    EXPECT_EQ(EscapeText(L"\""), L"\\\"");
    EXPECT_EQ(EscapeText(L"a'b?c"), L"a'b?c");
    EXPECT_EQ(EscapeText(std::wstring(1, L'\x1B')), L"\\x1b");
    EXPECT_EQ(EscapeText(L"C:\\new"), L"C:\\\\new");
    std::wstring all;
    for (wchar_t c = 1; c < 128; ++c) all += c;
    all += L"\u00E9\u4E2D";
    EXPECT_EQ(UnescapeText(EscapeText(all), windows1252()), all);
}
