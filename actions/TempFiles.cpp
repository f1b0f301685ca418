#include "actions/TempFiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "actions/RestartRename.h"
#include "core/Errors.h"
#include "framework/Win32.h"

namespace orb {

namespace {

bool nameExists(const std::string& path) {
    // No "insert a disk" boxes while probing removable drives.
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    DWORD attributes = GetFileAttributesA(path.c_str());
    SetErrorMode(old);
    return attributes != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(std::string path) {
    if (path.size() > 1 && path.back() == '\\' && path[path.size() - 2] != ':') path.pop_back();
    UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    DWORD attributes = GetFileAttributesA(path.c_str());
    SetErrorMode(old);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string shortName(const std::string& path) {
    std::string buffer(MAX_PATH, '\0');
    DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), MAX_PATH);
    if (n > MAX_PATH) {
        buffer.resize(n);
        n = GetShortPathNameA(path.c_str(), buffer.data(), n);
    }
    if (n == 0 || n > buffer.size()) return path;
    buffer.resize(n);
    return buffer;
}

std::string windowsFolder() {
    char folder[MAX_PATH];
    UINT n = GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder, n < MAX_PATH ? n : 0);
}

bool isNtFamily() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return !GetVersionExA(&info) || info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

}  // namespace

std::string NewTempFileName() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(folder, "orb", 0, name)) throw OrbError("Unable to create a temporary file");
    return name;
}

std::string UniqueFileName(const std::string& folder, const std::string& extension) {
    std::string base = folder;
    if (base.empty() || base.back() != '\\') base += '\\';
    uint32_t start = ((static_cast<uint32_t>(std::rand()) << 15) ^ static_cast<uint32_t>(std::rand())) %
                     kUniqueNameCount;
    uint32_t i = start;
    for (;;) {
        i = (i + 1) % kUniqueNameCount;
        if (i == start) throw OrbError("Too many file in directory " + folder);
        std::string name = base + uniqueNameStem(i) + extension;
        if (!nameExists(name)) return name;
    }
}

void ScheduleRenameInWininit(const std::string& ini, const std::string& file,
                             const std::optional<std::string>& newName) {
    bool existed = fileExists(ini);
    std::string text;
    std::string target = ini;
    if (existed) {
        target = UniqueFileName(windowsFolder(), ".tmp");
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush the profile cache
        std::ifstream in(ini, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string entry = (newName ? shortName(*newName) : std::string("NUL")) + "=" + shortName(file);
    std::string out = addRenameEntry(text, entry);
    {
        std::ofstream o(target, std::ios::binary | std::ios::trunc);
        o.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!o) {
            o.close();
            if (existed) DeleteFileA(target.c_str());
            throw OrbError("Cannot write " + target);
        }
    }
    if (existed) {
        DeleteFileA(ini.c_str());
        if (!MoveFileA(target.c_str(), ini.c_str())) throw OrbError("Cannot replace " + ini);
    }
}

void ScheduleDeleteAtRestart(const std::string& file, const std::optional<std::string>& newName) {
    if (isNtFamily()) {
        // The system keeps the request; a refusal (no rights) leaves nothing to do.
        MoveFileExA(file.c_str(), newName ? newName->c_str() : nullptr,
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    ScheduleRenameInWininit(windowsFolder() + "\\WININIT.INI", file, newName);
}

}  // namespace orb
