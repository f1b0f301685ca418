#pragma once
// The eject program's command line: "X MUTEXNAME" after the program's own
// name. Kept free of the system so both the program and the native tests use it.
#include <cstddef>
#include <string_view>

namespace orb::ejector {

inline constexpr size_t kMaxMutexName = 255;

struct Request {
    char drive = 0;                        // 'A'..'Z'; 0: nothing to do
    char mutexName[kMaxMutexName + 1] = {};  // empty: eject at once
};

// commandLine is the whole line as the system gives it, program name first.
inline Request parseCommandLine(std::string_view commandLine) {
    std::string_view s = commandLine;
    if (!s.empty() && s.front() == '"') {
        size_t close = s.find('"', 1);
        s.remove_prefix(close == std::string_view::npos ? s.size() : close + 1);
    } else {
        while (!s.empty() && static_cast<unsigned char>(s.front()) > ' ') s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);

    Request request;
    if (s.empty()) return request;
    char letter = s.front();
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
    if (letter < 'A' || letter > 'Z') return request;
    request.drive = letter;

    size_t space = s.find(' ');
    if (space == std::string_view::npos) return request;
    std::string_view name = s.substr(space + 1);
    name = name.substr(0, name.find(' '));
    if (name.size() > kMaxMutexName) name = name.substr(0, kMaxMutexName);
    name.copy(request.mutexName, name.size());
    return request;
}

}  // namespace orb::ejector
