#pragma once
// The start-up's decisions that need no window: splitting and reading the
// command line, where the project is looked for, which fonts are taken, which
// page opens, where the window is centred.
#include <string>
#include <string_view>
#include <vector>

namespace orb {

class TOrbForm;

// Arguments as the program sees them, argument 0 (the program) included.
// Splitting ends at the first empty argument, as counting arguments does.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

struct CommandLineOptions {
    std::wstring projectPath;
    std::wstring startPageName;
    bool runAsRequested = false;
};
CommandLineOptions ParseCommandLine(const std::vector<std::wstring>& arguments);

// The program's own name with ".orb" in place of its extension.
std::wstring DefaultProjectPath(std::wstring_view programPath);
// The folder of a path, without a trailing backslash.
std::wstring ProjectDirOf(std::wstring_view projectPath);
bool IsProjectFontFile(std::wstring_view fileName);
// The page "-p NAME" picks, compared without letter case; StartupPage otherwise.
int32_t SelectStartPage(const TOrbForm& form, std::wstring_view startPageName);
// The elevated second instance's parameters: each argument quoted, then " -runas".
std::wstring RelaunchParameters(const std::vector<std::wstring>& arguments);
// Centre of the screen, rounded toward zero.
inline int centredOrigin(int screenExtent, int windowExtent) { return (screenExtent - windowExtent) / 2; }

}  // namespace orb
