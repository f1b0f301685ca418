#include "app/StartupRules.h"

#include "app/OrbForm.h"
#include "core/Text.h"

namespace orb {

namespace {

bool isSeparator(wchar_t c) { return c >= 1 && c <= 32; }

// One argument from p onwards; quotes are dropped, "" before an argument skipped.
size_t nextArgument(std::wstring_view s, size_t p, std::wstring& arg) {
    arg.clear();
    for (;;) {
        while (p < s.size() && s[p] != 0 && isSeparator(s[p])) ++p;
        if (p + 1 < s.size() && s[p] == L'"' && s[p + 1] == L'"') p += 2;
        else break;
    }
    while (p < s.size() && s[p] != 0 && !isSeparator(s[p])) {
        if (s[p] == L'"') {
            ++p;
            while (p < s.size() && s[p] != 0 && s[p] != L'"') arg += s[p++];
            if (p < s.size() && s[p] == L'"') ++p;
        } else {
            arg += s[p++];
        }
    }
    return p;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine) {
    std::vector<std::wstring> out;
    std::wstring arg;
    size_t p = nextArgument(commandLine, 0, arg);
    out.push_back(arg);  // the program, whatever it looks like
    for (;;) {
        p = nextArgument(commandLine, p, arg);
        if (arg.empty()) break;
        out.push_back(arg);
    }
    return out;
}

CommandLineOptions ParseCommandLine(const std::vector<std::wstring>& args) {
    CommandLineOptions o;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == L"-runas") {
            o.runAsRequested = true;
        } else if (args[i] == L"-p") {
            if (i + 1 < args.size()) o.startPageName = args[++i];
        } else {
            o.projectPath = args[i];
        }
    }
    return o;
}

std::wstring DefaultProjectPath(std::wstring_view programPath) {
    size_t dot = programPath.find_last_of(L".\\:");
    std::wstring base(programPath);
    if (dot != std::wstring_view::npos && programPath[dot] == L'.') base.resize(dot);
    return base + L".orb";
}

std::wstring ProjectDirOf(std::wstring_view projectPath) {
    size_t sep = projectPath.find_last_of(L"\\:");
    std::wstring dir(sep == std::wstring_view::npos ? std::wstring_view() : projectPath.substr(0, sep + 1));
    if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    return dir;
}

bool IsProjectFontFile(std::wstring_view name) {
    if (name.size() < 5) return false;
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring_view::npos) return false;
    std::wstring ext(name.substr(dot));
    for (auto& c : ext)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    for (const wchar_t* known : {L".fon", L".fnt", L".ttf", L".ttc", L".fot", L".otf", L".mmm", L".pfb", L".pfm"})
        if (ext == known) return true;
    return false;
}

int32_t SelectStartPage(const TOrbForm& form, std::wstring_view name) {
    if (!name.empty()) {
        std::wstring wanted = upperCase(name);
        const auto& pages = form.pages.lines;
        for (size_t i = 0; i < pages.size(); ++i)
            if (upperCase(pages[i]) == wanted) return static_cast<int32_t>(i);
    }
    return form.startupPage();
}

std::wstring RelaunchParameters(const std::vector<std::wstring>& args) {
    std::wstring params;
    for (size_t i = 1; i < args.size(); ++i) {
        if (i > 1) params += L' ';
        params += L'"' + args[i] + L'"';
    }
    return params + L" -runas";
}

}  // namespace orb
