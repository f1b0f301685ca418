#pragma once
// Backslash escapes in message texts: the authoring tool stores one-line
// strings, so line breaks and control characters travel escaped.
#include <string>
#include <string_view>

namespace orb {

class CodePage;

// Throws OrbError "Numeric constant too large." for an octal escape above 255.
// Byte escapes are characters of the given 8-bit code page.
std::wstring UnescapeText(std::wstring_view text, const CodePage& codePage);
std::wstring UnescapeText(std::wstring_view text);  // the process's ANSI code page
std::wstring EscapeText(std::wstring_view text);

}  // namespace orb
