#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "actions/MacroFolders.h"
#include "actions/OrbAction.h"
#include "actions/OrbMacros.h"
#include "app/OrbResource.h"
#include "framework/Handles.h"
#include "framework/Win32.h"

#include <tlhelp32.h>

using namespace orb;

namespace {

class CapturedMessages {
public:
    CapturedMessages() {
        setMessageCapture([this](const CapturedMessage& m) { got.push_back(m); });
    }
    ~CapturedMessages() { setMessageCapture(nullptr); }
    std::vector<CapturedMessage> got;
};

// The process's macro values for one test.
class MacroScope {
public:
    MacroScope() : saved_(processMacroValues()) {}
    ~MacroScope() { processMacroValues() = saved_; }

private:
    MacroValues saved_;
};

std::filesystem::path tempFolder() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

std::string uniqueMutexName() {
    return "orbtest" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
}

KernelHandle startProgram(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return KernelHandle();
    CloseHandle(pi.hThread);
    return KernelHandle(pi.hProcess);
}

DWORD exitCode(HANDLE process) {
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    return code;
}

bool processRunning(const std::wstring& exeName) {
    KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!snapshot || !Process32FirstW(snapshot.get(), &entry)) return false;
    do {
        if (_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) return true;
    } while (Process32NextW(snapshot.get(), &entry));
    return false;
}

std::wstring builtProgram(const char* path) { return std::filesystem::path(path).make_preferred().wstring(); }

template <class F>
bool eventually(F condition, int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 100) {
        if (condition()) return true;
        Sleep(100);
    }
    return condition();
}

}  // namespace

TEST(ShellErrors, AMissingProgramIsReportedWithItsPathIntact) {
    CapturedMessages messages;
    resetEffectiveTexts();
    TOrbForm form(nullptr);
    form.setCaption(L"Menu");
    // \n, \t and \b in the path would become control characters if the message were not escaped.
    const std::wstring missing = L"C:\\no\\such\\new\\tools\\bin\\setup.exe";
    PerformAction(form, TOrbActionType::aatRunProgram, missing, L"", TOrbWindowMode::awmNormal);
    ASSERT_EQ(messages.got.size(), 1u);
    EXPECT_EQ(messages.got[0].text, L"Unable to open '" + missing + L"'. The file or path doesn't exist.");
    EXPECT_EQ(messages.got[0].title, L"Menu");
    EXPECT_EQ(messages.got[0].flags, 0x30u);
    EXPECT_TRUE(messages.got[0].systemBox);

    form.sysMsgBox = false;
    PerformAction(form, TOrbActionType::aatOpenDocument, missing, L"", TOrbWindowMode::awmNormal);
    ASSERT_EQ(messages.got.size(), 2u);
    EXPECT_EQ(messages.got[1].text, messages.got[0].text);
    EXPECT_FALSE(messages.got[1].systemBox);
}

TEST(ShellErrors, ReplacedTextsAreShown) {
    CapturedMessages messages;
    TOrbTextTranslation translation;
    translation.texts[static_cast<size_t>(TextId::ActionCannotOpen)] = L"Ouverture de \u00ab %s \u00bb impossible.";
    translation.texts[static_cast<size_t>(TextId::ActionFileNotFound)] = L"Fichier introuvable.";
    applyTextTranslation(translation);
    TOrbForm form(nullptr);
    ReportShellError(form, L"D:\\x.exe", 2);
    resetEffectiveTexts();
    ASSERT_EQ(messages.got.size(), 1u);
    EXPECT_EQ(messages.got[0].text, L"Ouverture de \u00ab D:\\x.exe \u00bb impossible. Fichier introuvable.");
}

TEST(LaunchProgram, WaitsForTheProgramWithExpandedArguments) {
    MacroScope scope;
    InitMacroValues(std::filesystem::path(builtProgram(ORB_ARGWRITER_EXE)).parent_path().wstring());
    std::filesystem::path out = tempFolder() / ("orb-launch-" + std::to_string(GetCurrentProcessId()) + ".txt");
    std::filesystem::remove(out);
    SetEnvironmentVariableW(L"ORB_TEST_OUT", out.wstring().c_str());
    // The program takes its time: only a caller that waits finds the file written.
    SetEnvironmentVariableW(L"ARGWRITER_DELAY_MS", L"1500");
    std::wstring program = L"%CDROM%\\" + std::filesystem::path(ORB_ARGWRITER_EXE).filename().wstring();
    bool started = LaunchProgram(program, L"\"%%ENV-ORB_TEST_OUT%%\" %WinDir%\\x \"two words\"",
                                 TOrbWindowMode::awmHidden, true);
    SetEnvironmentVariableW(L"ARGWRITER_DELAY_MS", nullptr);
    ASSERT_TRUE(started);
    std::ifstream in(out);
    ASSERT_TRUE(in) << "LaunchProgram returned before the program had written its file";
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(out);
    std::string winDir(processMacroValues().winDir.begin(), processMacroValues().winDir.end());
    EXPECT_EQ(all, winDir + "\\x\ntwo words\n");
}

TEST(LaunchProgram, NothingToStart) {
    EXPECT_FALSE(LaunchProgram(L"", L"x", TOrbWindowMode::awmNormal, true));
    EXPECT_FALSE(LaunchProgram(L"C:\\no\\such\\program.exe", L"", TOrbWindowMode::awmHidden, true));
}

TEST(Ejector, WaitsUntilTheMenusMutexIsGone) {
    std::string name = uniqueMutexName();
    KernelHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
    ASSERT_TRUE(mutex);
    KernelHandle ejector = startProgram(builtProgram(ORB_EJECTOR_EXE), L"z " + std::wstring(name.begin(), name.end()));
    ASSERT_TRUE(ejector);
    EXPECT_EQ(WaitForSingleObject(ejector.get(), 1500), static_cast<DWORD>(WAIT_TIMEOUT)) << "did not wait";
    mutex.reset();
    // Well inside the ten seconds after which it would give up on its own.
    ASSERT_EQ(WaitForSingleObject(ejector.get(), 8000), WAIT_OBJECT_0);
    EXPECT_EQ(exitCode(ejector.get()), 0u);
}

TEST(Ejector, GivesUpWhenTheMenuDoesNotEnd) {
    std::string name = uniqueMutexName();
    KernelHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
    KernelHandle ejector = startProgram(builtProgram(ORB_EJECTOR_EXE), L"Z " + std::wstring(name.begin(), name.end()));
    ASSERT_TRUE(ejector);
    ASSERT_EQ(WaitForSingleObject(ejector.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(exitCode(ejector.get()), 0u);
}

TEST(Ejector, ALetterAloneOrNothingEndsAtOnce) {
    for (const wchar_t* arguments : {L"Z", L"", L"? name"}) {
        KernelHandle ejector = startProgram(builtProgram(ORB_EJECTOR_EXE), arguments);
        ASSERT_TRUE(ejector);
        ASSERT_EQ(WaitForSingleObject(ejector.get(), 8000), WAIT_OBJECT_0) << arguments;
        EXPECT_EQ(exitCode(ejector.get()), 0u);
    }
}

TEST(Ejector, StartedFromTheResourceAsATemporaryProgram) {
    std::string name = uniqueMutexName();
    KernelHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
    std::string exe = StartEjector('Z', name);
    std::filesystem::path path(exe);
    EXPECT_EQ(path.extension(), ".exe");
    EXPECT_EQ(path.filename().string().substr(0, 3), "orb");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).replace_extension(".tmp")));
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_EQ(written, resourceBytes(L"BINDATA", L"BINE"));

    std::wstring exeName = path.filename().wstring();
    EXPECT_TRUE(eventually([&] { return processRunning(exeName); }, 5000)) << "not started";
    mutex.reset();
    EXPECT_TRUE(eventually([&] { return !processRunning(exeName); }, 8000)) << "still running";
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

TEST(Ejector, NothingForADriveThatIsNoCdRom) {
    // The build's files are on a fixed drive: no eject program is written.
    std::filesystem::path folder = tempFolder();
    auto count = [&] {
        size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            n += entry.path().extension() == ".exe" && entry.path().filename().string().starts_with("orb");
        return n;
    };
    size_t before = count();
    EjectDisc(L'z');
    EjectDisc(L'1');
    EXPECT_EQ(count(), before);
}
