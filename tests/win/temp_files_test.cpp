#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "actions/TempFiles.h"
#include "framework/Win32.h"

using namespace orb;
namespace fs = std::filesystem;

namespace {

std::string tempFolder() {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string shortOf(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buffer, n) : path;
}

}  // namespace

TEST(TempFiles, NewTempFileNameHandsOutAFreshEmptyOrbFile) {
    std::string a = NewTempFileName(), b = NewTempFileName();
    EXPECT_NE(a, b);
    for (const auto& name : {a, b}) {
        fs::path p(name);
        EXPECT_TRUE(fs::exists(p)) << name;
        EXPECT_EQ(fs::file_size(p), 0u);
        EXPECT_EQ(p.filename().string().rfind("orb", 0), 0u) << name;
        EXPECT_EQ(p.extension(), ".tmp");
        EXPECT_EQ(lower(p.parent_path().string() + "\\"), lower(tempFolder())) << name;
        fs::remove(p);
    }
}

TEST(TempFiles, UniqueFileNameAvoidsWhatExists) {
    std::string folder = tempFolder();
    std::string name = UniqueFileName(folder, ".tmp");
    fs::path p(name);
    EXPECT_FALSE(fs::exists(p));
    EXPECT_EQ(p.filename().string().size(), std::string("orb-XXXXX.tmp").size());
    EXPECT_EQ(p.filename().string().rfind("orb-", 0), 0u);
    std::string noSlash = folder.substr(0, folder.size() - 1);
    EXPECT_EQ(lower(fs::path(UniqueFileName(noSlash, ".x")).parent_path().string()), lower(noSlash));
}

TEST(TempFiles, WininitRewriteKeepsOtherSectionsAndAddsTheEntry) {
    std::string file = NewTempFileName();
    std::string ini = NewTempFileName();  // stands in for the Windows folder's WININIT.INI
    {
        std::ofstream(ini, std::ios::binary) << "[rename]\r\nNUL=C:\\OLD.TMP\r\n[other]\r\nk=v\r\n";
    }
    ScheduleRenameInWininit(ini, file, std::nullopt);
    EXPECT_EQ(readAll(ini), "[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=" + shortOf(file) + "\r\n[other]\r\nk=v\r\n");
    fs::remove(ini);
    ScheduleRenameInWininit(ini, file, std::nullopt);  // no file yet: written directly
    EXPECT_EQ(readAll(ini), "[rename]\r\nNUL=" + shortOf(file) + "\r\n");
    fs::remove(ini);
    fs::remove(file);
}

TEST(TempFiles, OnTheNtFamilyTheSystemKeepsThePendingDeletion) {
    std::string file = NewTempFileName();
    ScheduleDeleteAtRestart(file);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    DWORD size = 0;
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
    std::wstring value(size / 2 + 1, L'\0');
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()),
                     &size);
    RegCloseKey(key);
    std::wstring wide(file.begin(), file.end());
    EXPECT_NE(value.find(wide), std::wstring::npos) << "not registered for deletion at restart";
    EXPECT_TRUE(fs::exists(file)) << "the file goes at the restart, not now";
    fs::remove(file);
}
