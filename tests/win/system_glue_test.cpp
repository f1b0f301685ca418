#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>

#include "actions/RunMutex.h"
#include "app/ControlClasses.h"
#include "core/Errors.h"
#include "app/ProjectFonts.h"
#include "core/ComponentStream.h"
#include "core/TextForm.h"
#include "framework/Win32.h"
#include "project/Container.h"
#include "project/OrbFileStream.h"
#include "project/ReadProject.h"

using namespace orb;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = fs::path(base) / (L"orbtest" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter_++));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path write(const std::wstring& name, const std::vector<uint8_t>& bytes) const {
        fs::path p = path_ / name;
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    fs::path path_;
    static inline int counter_ = 0;
};

std::vector<uint8_t> projectBytes(const std::string& text, ContainerOptions options = {}) {
    return buildContainer(objectTreeToBytes(parseTextForm(text)), options);
}

std::unique_ptr<TfrmMain> defaultForm() {
    auto form = std::make_unique<TfrmMain>(nullptr);
    form->setCaption(L"Lumora");
    return form;
}

ClassRegistry& registry() {
    static ClassRegistry r = [] {
        ClassRegistry x;
        RegisterControlClasses(x);
        return x;
    }();
    return r;
}

const char* kProject = "object frmMain: TfrmMain\n  Caption = 'From disc'\n  ClientWidth = 640\nend\n";

}  // namespace

TEST(OrbFileStream, MissingFileNamesTheFullPathAndTheSystemReason) {
    TempDir dir;
    fs::path missing = dir.path() / L"nothing.orb";
    try {
        TOrbFileStream stream(missing.wstring());
        FAIL() << "opened a missing file";
    } catch (const OrbError& e) {
        std::string message = e.what();
        EXPECT_EQ(message.rfind("Cannot open file \"", 0), 0u) << message;
        EXPECT_NE(message.find("nothing.orb\". "), std::string::npos) << message;
        EXPECT_GT(message.size(), message.find("\". ") + 3) << "the system's reason is missing: " << message;
    }
}

TEST(OrbFileStream, ReadsSeeksAndSharesReading) {
    TempDir dir;
    fs::path file = dir.write(L"data.bin", {1, 2, 3, 4, 5, 6, 7, 8});
    TOrbFileStream stream(file.wstring());
    EXPECT_EQ(stream.size(), 8);
    EXPECT_EQ(stream.seek(5, SeekOrigin::Begin), 5);
    uint8_t b[8] = {};
    EXPECT_EQ(stream.read(b, 8), 3u);  // short at the end
    EXPECT_EQ(b[0], 6);
    TOrbFileStream second(file.wstring());  // a second reader is allowed
    EXPECT_EQ(second.readU8(), 1);
}

TEST(ReadProject, LoadsAGoodProjectWithoutReplacingTheWindow) {
    TempDir dir;
    fs::path file = dir.write(L"menu.orb", projectBytes(kProject));
    auto form = defaultForm();
    TfrmMain* before = form.get();
    bool rebuilt = false;
    ReadProject({file.wstring()}, form, registry(), [&] {
        rebuilt = true;
        return defaultForm();
    });
    EXPECT_FALSE(rebuilt);
    EXPECT_EQ(form.get(), before);
    EXPECT_EQ(form->caption(), L"From disc");
    EXPECT_EQ(form->clientWidth(), 640);
}

TEST(ReadProject, BrokenProjectRebuildsTheDefaultWindow) {
    TempDir dir;
    auto bytes = projectBytes(kProject);
    bytes.resize(bytes.size() - 10);  // the zlib block is cut short
    fs::path file = dir.write(L"menu.orb", bytes);
    auto form = defaultForm();
    ReadProject({file.wstring()}, form, registry(), [] { return defaultForm(); });
    EXPECT_EQ(form->caption(), L"Lumora");
    EXPECT_EQ(form->clientWidth(), 0);
}

TEST(ReadProject, MissingFolderOrLockedFileKeepsTheWindowAsItIs) {
    TempDir dir;
    fs::path file = dir.write(L"menu.orb", projectBytes(kProject));
    HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    for (const fs::path& path : {file, dir.path(), dir.path() / L"absent.orb"}) {
        auto form = defaultForm();
        bool rebuilt = false;
        ReadProject({path.wstring()}, form, registry(), [&] {
            rebuilt = true;
            return defaultForm();
        });
        EXPECT_FALSE(rebuilt) << path;
        EXPECT_EQ(form->caption(), L"Lumora") << path;
    }
    CloseHandle(lock);
}

// The test program is a real 64-bit image: the appended container must be found
// behind its sections, whose table follows a 240-byte optional header.
TEST(ReadProject, FindsAContainerAppendedToARealProgramInEachPlacement) {
    TempDir dir;
    auto program = readWholeFile(moduleFileName());
    auto container = projectBytes(kProject, {true, true, std::make_pair(uint16_t{640}, uint16_t{480})});
    for (auto placement : {AppendPlacement::Direct, AppendPlacement::RelativeTrailer, AppendPlacement::AbsoluteTrailer}) {
        fs::path exe = dir.write(L"menu" + std::to_wstring(static_cast<int>(placement)) + L".exe",
                                 appendContainer(program, container, placement));
        ProjectLocation location = FindAppendedProjectIn(exe.wstring());
        ASSERT_TRUE(location.appended) << static_cast<int>(placement);
        auto form = defaultForm();
        ReadProject(location, form, registry(), [] { return defaultForm(); });
        EXPECT_EQ(form->caption(), L"From disc") << static_cast<int>(placement);
        EXPECT_EQ(form->clientHeight(), 480) << static_cast<int>(placement);
    }
    EXPECT_FALSE(FindAppendedProjectIn(moduleFileName()).appended);
}

TEST(ProjectFonts, TakesFontFilesOfFiveOrMoreCharactersAndSkipsFolders) {
    TempDir dir;
    fs::create_directories(dir.path() / L"FontData" / L"sub.ttf");
    dir.write(L"FontData\\.ttf", {0});
    dir.write(L"FontData\\a.ttf", {0});
    dir.write(L"FontData\\B.OTF", {0});
    dir.write(L"FontData\\notes.txt", {0});
    ProjectFonts fonts;
    fonts.load(dir.path().wstring());
    ASSERT_TRUE(fonts.files().has_value());
    std::vector<std::wstring> names;
    for (const auto& f : *fonts.files()) names.push_back(fs::path(f).filename().wstring());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"B.OTF", L"a.ttf"}));
    fonts.unload();
    EXPECT_FALSE(fonts.files().has_value());
    fonts.unload();  // a second call does nothing
}

TEST(RunMutex, NamedByLocalTimeAndARandomNumberAndGoneAfterRelease) {
    CreateRunMutex();
    std::string name = RunMutexName();
    ASSERT_GE(name.size(), 15u);
    for (size_t i = 0; i < 14; ++i) EXPECT_TRUE(isdigit(static_cast<unsigned char>(name[i]))) << name;
    HANDLE other = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    EXPECT_NE(other, nullptr);
    if (other) CloseHandle(other);
    ReleaseRunMutex();
    EXPECT_TRUE(RunMutexName().empty());
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, name.c_str()), nullptr);
}
