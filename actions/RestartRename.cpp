#include "actions/RestartRename.h"

#include <vector>

#include "core/Text.h"

namespace orb {

namespace {

std::vector<std::string_view> splitIniLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string addRenameEntry(std::string_view iniText, std::string_view entry) {
    auto lines = splitIniLines(iniText);
    std::string out;
    auto emit = [&](std::string_view line) {
        out += line;
        out += "\r\n";
    };
    bool renameFound = false;
    size_t next = 0;
    std::string_view pending;
    bool hasPending = false;
    for (; next < lines.size(); ++next) {
        std::string_view t = trimmed(lines[next]);
        if (!t.empty() && t.front() == '[') {
            if (equalsIgnoreCaseAscii(t, "[rename]")) {
                renameFound = true;
            } else if (renameFound) {
                // The rename section ends here: the new entry goes before this header.
                pending = lines[next++];
                hasPending = true;
                break;
            }
        }
        emit(lines[next]);
    }
    if (!renameFound) emit("[rename]");
    emit(entry);
    if (hasPending) emit(pending);
    for (; next < lines.size(); ++next) emit(lines[next]);
    return out;
}

std::string uniqueNameStem(uint32_t number) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
    std::string stem = "orb-";
    for (int shift = 20; shift >= 0; shift -= 5) stem += digits[(number >> shift) & 31];
    return stem;
}

}  // namespace orb
