#include "actions/ActionText.h"

#include "core/Text.h"

namespace orb {

namespace {

bool isBlank(wchar_t c) { return c <= L' '; }

std::wstring trimmed(std::wstring_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return std::wstring(s);
}

std::wstring replaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with) {
    std::wstring out;
    size_t i = 0;
    for (size_t hit; (hit = text.find(what, i)) != std::wstring_view::npos; i = hit + what.size()) {
        out.append(text.substr(i, hit - i));
        out.append(with);
    }
    out.append(text.substr(i));
    return out;
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// "%s" takes the file, "%%" stands for one percent sign; a translator's text may carry either.
std::wstring formatWithFile(std::wstring_view pattern, std::wstring_view file) {
    std::wstring out;
    bool used = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (pattern[i + 1] == L's' && !used) {
                out.append(file);
                used = true;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace

std::wstring lowerAscii(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return out;
}

int showCommandFor(TOrbWindowMode mode) {
    switch (mode) {
        case TOrbWindowMode::awmMaximized: return 3;   // show maximised
        case TOrbWindowMode::awmMinimized: return 7;   // minimised, not activated
        case TOrbWindowMode::awmHidden: return 0;      // hidden
        case TOrbWindowMode::awmNormal: break;
    }
    return 1;
}

std::optional<int32_t> parseInteger(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && text[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    for (; i < text.size(); ++i) {
        int digit = base == 16 ? hexDigit(text[i]) : (text[i] >= L'0' && text[i] <= L'9' ? text[i] - L'0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::wstring folderOf(std::wstring_view path) {
    size_t cut = path.find_last_of(L"\\:");
    if (cut == std::wstring_view::npos) return {};
    // The separator goes, unless it is the root after a drive or the path's first character.
    if (path[cut] == L'\\' && cut > 0 && path[cut - 1] != L'\\' && path[cut - 1] != L':') return std::wstring(path.substr(0, cut));
    return std::wstring(path.substr(0, cut + 1));
}

std::optional<TextId> shellErrorReason(intptr_t code) {
    switch (code) {
        case 0:
        case 8: return TextId::ActionOutOfMemory;
        case 2:
        case 3: return TextId::ActionFileNotFound;
        case 5: return TextId::ActionAccessDenied;
        case 11: return TextId::ActionInvalidExecutable;
        case 26: return TextId::ActionSharingVioldation;
        case 27:
        case 31: return TextId::ActionNoAssociation;
        case 28:
        case 29:
        case 30: return TextId::ActionDDEFailed;
        case 32: return TextId::ActionDllNotFound;
        default: return std::nullopt;
    }
}

std::wstring shellErrorMessage(std::wstring_view file, intptr_t code) {
    std::wstring message = formatWithFile(effectiveText(TextId::ActionCannotOpen), file);
    if (auto reason = shellErrorReason(code)) message += L' ' + effectiveText(*reason);
    return message;
}

std::wstring webAddress(std::wstring_view parameter) {
    if (parameter.empty()) return L"about:blank";
    if (parameter.find(L':') == std::wstring_view::npos) return L"http://" + std::wstring(parameter);
    return std::wstring(parameter);
}

std::wstring mailLink(std::wstring_view to, std::wstring_view subject) {
    return L"mailto:" + std::wstring(to) + L"?subject=" + replaceAll(subject, L" ", L"%20");
}

ExploreChoice exploreChoiceFor(std::wstring_view secondParam) {
    switch (parseInteger(secondParam).value_or(0)) {
        case 1: return {L"explore", 3};
        case 2: return {L"open", 9};
        case 3: return {L"open", 3};
        default: return {L"explore", 9};
    }
}

std::optional<int32_t> jumpTarget(std::wstring_view parameter, int32_t activePage, int32_t pageCount,
                                  bool alwaysShowPageZero) {
    int64_t target;
    if (parameter == L"PREV") {
        target = int64_t{activePage} - 1;
        // Page zero is shown under every page then; going "back" to it alone would show nothing new.
        if (alwaysShowPageZero && target == 0) target = 1;
    } else if (parameter == L"NEXT") {
        target = int64_t{activePage} + 1;
    } else {
        auto number = parseInteger(parameter);
        if (!number) return std::nullopt;
        target = *number;
    }
    if (target < 0 || target > pageCount) return std::nullopt;
    return static_cast<int32_t>(target);
}

std::optional<int32_t> pageIndexByName(std::wstring_view argument, const std::vector<std::wstring>& pages,
                                       int32_t pageCount) {
    std::wstring wanted = replaceAll(upperCase(argument), L"%20", L" ");
    for (int32_t i = 0; i <= pageCount && static_cast<size_t>(i) < pages.size(); ++i)
        if (upperCase(pages[static_cast<size_t>(i)]) == wanted) return i;
    return std::nullopt;
}

ParsedLink parseLink(std::wstring_view link) {
    ParsedLink parsed;
    std::wstring_view s = link;
    if (!s.empty() && s.back() == L'/') s.remove_suffix(1);
    if (s.size() < 6 || lowerAscii(s.substr(0, 6)) != L"orb://") return parsed;
    parsed.isCommand = true;
    s.remove_prefix(6);
    size_t slash = s.find(L'/');
    if (slash == std::wstring_view::npos) {
        parsed.command = lowerAscii(s);
    } else {
        parsed.command = lowerAscii(trimmed(s.substr(0, slash)));
        parsed.argument = trimmed(s.substr(slash + 1));
    }
    return parsed;
}

std::wstring pathDecoded(std::wstring_view text) { return replaceAll(replaceAll(text, L"/", L"\\"), L"%20", L" "); }

std::wstring fullyDecoded(std::wstring_view text) {
    std::wstring s = replaceAll(pathDecoded(text), L"%22", L"\"");
    s = replaceAll(s, L"&nbsp;", L" ");
    return replaceAll(s, L"&quot;", L"\"");
}

std::pair<std::wstring, std::wstring> splitProgram(std::wstring_view decoded) {
    size_t bar = decoded.find(L'|');
    if (bar == std::wstring_view::npos) return {std::wstring(decoded), {}};
    return {std::wstring(decoded.substr(0, bar)), std::wstring(decoded.substr(bar + 1))};
}

LinkCommand linkCommandOf(std::wstring_view command) {
    struct Entry {
        const wchar_t* name;
        LinkCommand command;
    };
    static constexpr Entry kCommands[] = {
        {L"run", LinkCommand::Run},         {L"runas", LinkCommand::RunAs},   {L"open", LinkCommand::Open},
        {L"explore", LinkCommand::Explore}, {L"page", LinkCommand::Page},     {L"copy", LinkCommand::Copy},
        {L"print", LinkCommand::Print},     {L"message", LinkCommand::Message}, {L"minimize", LinkCommand::Minimize},
        {L"exit", LinkCommand::Exit},
    };
    for (const Entry& e : kCommands)
        if (command == e.name) return e.command;
    return LinkCommand::Unknown;
}

bool linkCommandAllowed(LinkCommand command, LinkOrigin origin) {
    if (origin != LinkOrigin::RemotePage) return true;
    switch (command) {
        case LinkCommand::Run:
        case LinkCommand::RunAs:
        case LinkCommand::Open:
        case LinkCommand::Explore:
        case LinkCommand::Unknown: return false;
        default: return true;
    }
}

bool linkAddressAllowed(std::wstring_view address, LinkOrigin origin) {
    if (origin != LinkOrigin::RemotePage) return true;
    std::wstring opened = lowerAscii(webAddress(address));
    for (std::wstring_view scheme : {L"http://", L"https://", L"mailto:"})
        if (opened.starts_with(scheme)) return true;
    return false;
}

}  // namespace orb
