#include "app/ProjectFonts.h"

#include "app/StartupRules.h"
#include "framework/Win32.h"

namespace orb {

void ProjectFonts::load(const std::wstring& projectDir) {
    files_.emplace();
    std::wstring folder = projectDir;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    folder += L"FontData\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!IsProjectFontFile(found.cFileName)) continue;
        files_->push_back(folder + found.cFileName);
        AddFontResourceW(files_->back().c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void ProjectFonts::unload() {
    if (!files_) return;
    for (const auto& file : *files_) RemoveFontResourceW(file.c_str());
    files_.reset();
}

}  // namespace orb
