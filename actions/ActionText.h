#pragma once
// The text side of actions and "orb://" command links: no system calls, so
// every rule here is checked natively.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/OrbResource.h"
#include "graphics/OrbTypes.h"

namespace orb {

// Where a link comes from decides what it may do: a page fetched from a
// network must not be able to start programs on the user's machine.
enum class LinkOrigin {
    Menu,        // popup menus and markup stored in the project
    LocalPage,   // a page loaded from the project's folder or another local file
    RemotePage,  // anything fetched from a network
};

// ASCII letters lowered; link commands and schemes are ASCII, other letters stay as written.
std::wstring lowerAscii(std::wstring_view text);

// The show command the shell gets for a window mode.
int showCommandFor(TOrbWindowMode mode);

// The integer a text denotes as the original tools read numbers: leading
// blanks, a sign, decimal or "$"/"0x" hexadecimal digits, nothing after them.
std::optional<int32_t> parseInteger(std::wstring_view text);

// The folder part of a path without its trailing backslash, except right after a drive ("C:\").
std::wstring folderOf(std::wstring_view path);

// The reason text that follows "Unable to open" for a shell error code, if any.
std::optional<TextId> shellErrorReason(intptr_t code);
// The whole message for a failed shell call on file, from the effective texts.
std::wstring shellErrorMessage(std::wstring_view file, intptr_t code);

// The address the go-to-web action opens.
std::wstring webAddress(std::wstring_view parameter);
std::wstring mailLink(std::wstring_view to, std::wstring_view subject);

struct ExploreChoice {
    std::wstring verb;
    int showCommand;
};
ExploreChoice exploreChoiceFor(std::wstring_view secondParam);

// The page a jump action goes to; none when it goes nowhere.
std::optional<int32_t> jumpTarget(std::wstring_view parameter, int32_t activePage, int32_t pageCount,
                                  bool alwaysShowPageZero);
// The index of the first of pages 0..pageCount whose name equals the link's page argument.
std::optional<int32_t> pageIndexByName(std::wstring_view argument, const std::vector<std::wstring>& pages,
                                       int32_t pageCount);

// A link split the way the dispatcher reads it.
struct ParsedLink {
    bool isCommand = false;
    std::wstring command;   // lower case; empty for an address
    std::wstring argument;  // trimmed, still encoded
};
ParsedLink parseLink(std::wstring_view link);

// "/" to "\" and "%20" to a space: how links write paths.
std::wstring pathDecoded(std::wstring_view text);
// The path decoding plus double quotes and non-breaking spaces as markup writes them.
std::wstring fullyDecoded(std::wstring_view text);
// Program and parameters of a "run" argument, split at the first "|".
std::pair<std::wstring, std::wstring> splitProgram(std::wstring_view decoded);

enum class LinkCommand { Run, RunAs, Open, Explore, Page, Copy, Print, Message, Minimize, Exit, Unknown };
LinkCommand linkCommandOf(std::wstring_view command);

// Remote pages get navigation, copy, print, messages, minimise and exit; any
// command that starts or opens something on the machine (run, runas, open,
// explore) works only for the menu's own content and local pages.
bool linkCommandAllowed(LinkCommand command, LinkOrigin origin);
// Plain addresses from remote pages open only as web or mail addresses: a
// file path or "file:" address would hand the shell a program to start.
bool linkAddressAllowed(std::wstring_view address, LinkOrigin origin);

}  // namespace orb
