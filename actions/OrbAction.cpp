#include "actions/OrbAction.h"

#include <cstdlib>
#include <fstream>

#include "actions/OrbMacros.h"
#include "actions/OrbMsgForm.h"
#include "actions/RunMutex.h"
#include "actions/TempFiles.h"
#include "app/OrbModalForm.h"
#include "core/Errors.h"
#include "core/Text.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "framework/Win32.h"

#include <shellapi.h>

namespace orb {

namespace {

MessageCapture g_capture;

// The 9x family has the 8-bit calls only.
bool isNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

const wchar_t* orNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

std::string ansi(const std::wstring& s) { return ansiCodePage().toAnsi(s); }
const char* orNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

intptr_t shellExecute(HWND owner, const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                      const std::wstring& directory, int showCommand) {
    HINSTANCE result;
    if (isNtFamily()) {
        result = ShellExecuteW(owner, orNull(verb), file.c_str(), orNull(parameters), orNull(directory), showCommand);
    } else {
        std::string v = ansi(verb), f = ansi(file), p = ansi(parameters), d = ansi(directory);
        result = ShellExecuteA(owner, orNull(v), f.c_str(), orNull(p), orNull(d), showCommand);
    }
    return reinterpret_cast<intptr_t>(result);
}

// The system services of actions on the real main window.
class WinActionSystem final : public ActionSystem {
public:
    explicit WinActionSystem(TOrbForm& form) : form_(form), window_(windowOfComponent(&form)) {}

    uint32_t windowsMajorVersion() const override { return orb::windowsMajorVersion(); }

    intptr_t shellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                          const std::wstring& directory, int showCommand) override {
        return orb::shellExecute(window_, verb, file, parameters, directory, showCommand);
    }

    ElevatedLaunch shellExecuteElevated(const std::wstring& file, const std::wstring& parameters,
                                        const std::wstring& directory, int showCommand) override {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = window_;
        info.lpVerb = L"runas";
        info.lpFile = file.c_str();
        info.lpParameters = orNull(parameters);
        info.lpDirectory = orNull(directory);
        info.nShow = showCommand;
        ElevatedLaunch result;
        result.started = ShellExecuteExW(&info) != FALSE;
        result.lastError = GetLastError();
        result.instance = reinterpret_cast<intptr_t>(info.hInstApp);
        return result;
    }

    void systemMessage(const std::wstring& text, const std::wstring& title, uint32_t flags) override {
        if (g_capture) return g_capture({text, title, flags, true});
        MessageBoxW(window_, text.c_str(), title.c_str(), flags);
    }

    void menuMessage(const std::wstring& text) override {
        if (g_capture) return g_capture({text, form_.caption(), 0, false});
        ShowMessageBox(&form_, text);
    }

    void reportFailure(const std::wstring& text) override {
        if (g_capture) return g_capture({text, Application::instance().title(), MB_ICONERROR, true});
        MessageBoxW(window_, text.c_str(), Application::instance().title().c_str(), MB_ICONERROR);
    }

    void minimize() override {
        if (window_) SendMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }

    // Posted, so that the control that was clicked finishes its click before
    // the window and its children go; the eject program waits for the run
    // mutex, not for the window.
    void close() override {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    }

    void ejectDisc(wchar_t letter) override {
        try {
            EjectDisc(letter);
        } catch (...) {
            // The menu is closing: there is no one left to tell.
        }
    }

private:
    TOrbForm& form_;
    HWND window_;
};

// An owner the shell cannot find: a random non-zero value that is no window.
HWND unusedWindowHandle() {
    for (;;) {
        uint32_t value = (static_cast<uint32_t>(std::rand()) << 30) ^ (static_cast<uint32_t>(std::rand()) << 15) ^
                         static_cast<uint32_t>(std::rand());
        HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
        if (value != 0 && !IsWindow(h)) return h;
    }
}

// Blocks until the process ends. Windows keep painting and messages other
// programs send us are answered (a launched installer may broadcast and wait
// for every top-level window); clicks and keys stay queued, so the menu does
// not act while its program runs.
void waitForProcess(HANDLE process) {
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) return;  // ended, or the wait itself failed
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&msg);
    }
}

std::wstring currentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    n = GetCurrentDirectoryW(n, dir.data());
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

bool startsWith(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

void setMessageCapture(MessageCapture capture) { g_capture = std::move(capture); }

void PerformAction(TOrbForm& form, TOrbActionType kind, const std::wstring& parameter,
                   const std::wstring& secondParam, TOrbWindowMode mode) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).performAction(kind, parameter, secondParam, mode);
}

void ControlBackgroundMusic(TOrbForm& form, TOrbBGMusicControl control) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).controlBackgroundMusic(control);
}

void HandleLink(TOrbForm& form, const std::wstring& link, LinkOrigin origin) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).handleLink(link, origin);
}

void ExecuteCommandLink(TOrbForm& form, const std::wstring& command, const std::wstring& argument) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).executeCommandLink(command, argument);
}

void LocateTarget(TOrbForm& form, TOrbActionType kind, const std::wstring& parameter, const std::wstring&) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).locateTarget(kind, parameter);
}

void ShellOpen(TOrbForm& form, const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
               const std::wstring& directory, int showCommand) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).shellOpen(verb, file, parameters, directory, showCommand);
}

void ReportShellError(TOrbForm& form, const std::wstring& file, intptr_t code) {
    WinActionSystem system(form);
    ActionDispatcher(form, system).reportShellError(file, code);
}

bool LaunchProgram(const std::wstring& fileText, const std::wstring& parametersText, TOrbWindowMode mode, bool wait) {
    if (fileText.empty()) return false;
    std::wstring file = ExpandMacros(fileText), parameters = ExpandMacros(parametersText);
    int show = showCommandFor(mode);
    // Systems of version 4 open addresses only through the plain call.
    if ((startsWith(file, L"http://") || startsWith(file, L"https://") || startsWith(file, L"ftp://")) &&
        windowsMajorVersion() <= 4)
        return shellExecute(nullptr, L"open", file, {}, {}, show) > 32;

    bool started;
    HANDLE process = nullptr;
    std::wstring directory = currentDirectory();
    if (isNtFamily()) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.hwnd = unusedWindowHandle();
        info.lpVerb = L"open";
        info.lpFile = file.c_str();
        info.lpParameters = orNull(parameters);
        info.lpDirectory = orNull(directory);
        info.nShow = show;
        started = ShellExecuteExW(&info) != FALSE;
        process = info.hProcess;
    } else {
        std::string f = ansi(file), p = ansi(parameters), d = ansi(directory);
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.hwnd = unusedWindowHandle();
        info.lpVerb = "open";
        info.lpFile = f.c_str();
        info.lpParameters = orNull(p);
        info.lpDirectory = orNull(d);
        info.nShow = show;
        started = ShellExecuteExA(&info) != FALSE;
        process = info.hProcess;
    }
    KernelHandle owned(process);
    if (started && wait && owned) waitForProcess(owned.get());
    return started;
}

std::string StartEjector(char letter, const std::string& mutexName) {
    std::vector<uint8_t> program = resourceBytes(L"BINDATA", L"BINE");
    if (program.empty()) throw OrbError("The eject program is missing");
    std::string tmp, exe;
    for (;;) {
        tmp = NewTempFileName();
        exe = tmp.substr(0, tmp.find_last_of('.')) + ".exe";
        if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) break;
        DeleteFileA(tmp.c_str());
    }
    {
        std::ofstream out(exe, std::ios::binary);
        out.write(reinterpret_cast<const char*>(program.data()), static_cast<std::streamsize>(program.size()));
        if (!out) {
            DeleteFileA(tmp.c_str());
            throw OrbError("Unable to write the eject program");
        }
    }
    DeleteFileA(tmp.c_str());
    try {
        // It cannot delete itself, and menuhost is gone by the time it ends.
        ScheduleDeleteAtRestart(exe);
    } catch (...) {
    }
    std::string parameters = std::string(1, letter) + ' ' + mutexName;
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    ShellExecuteA(nullptr, "open", exe.c_str(), parameters.c_str(), folder.c_str(), SW_HIDE);
    return exe;
}

void EjectDisc(wchar_t letter) {
    if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - 32);
    if (letter < L'A' || letter > L'Z') return;
    const char root[] = {static_cast<char>(letter), ':', '\0'};
    if (GetDriveTypeA(root) != DRIVE_CDROM) return;
    StartEjector(static_cast<char>(letter), RunMutexName());
}

}  // namespace orb
