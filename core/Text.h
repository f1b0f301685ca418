#pragma once
// Project text is UTF-16: std::wstring holds UTF-16 code units on every build
// (on Linux each wchar_t simply carries one 16-bit unit), so text read from a
// stream survives byte for byte whatever the platform.
#include <string>
#include <string_view>

namespace orb {

std::wstring utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::wstring_view utf16);
std::wstring asciiToWide(std::string_view ascii);

// The 8-bit code page in which a project's ANSI strings were written.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::wstring toWide(std::string_view bytes) const = 0;
    virtual std::string toAnsi(std::wstring_view text) const = 0;
};

// Windows-1252, the default where the system offers no code page (the tools, native tests).
const CodePage& windows1252();
// The code page the stream reader uses; the Windows build installs the system's ANSI code page.
const CodePage& ansiCodePage();
void setAnsiCodePage(const CodePage& codePage);

std::wstring upperCase(std::wstring_view text);  // ASCII and Latin-1 letters; enough for page names
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);

}  // namespace orb
