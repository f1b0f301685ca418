// Looks at what a menu leaves in the shell, from outside its process, as a
// user would see it: the notification-area icons with their tips, and the
// state of a top-level window even while it is hidden.
//   shellinspect tray [COUNT [TIMEOUT_MS]]   the icons shown now; with COUNT, waits until that many show
//   shellinspect tray-dblclick INDEX         double-clicks the INDEX-th icon shown
//   shellinspect window CLASS [TIMEOUT_MS]   caption and visibility of a window of that class
//   shellinspect syscommand CLASS COMMAND    posts a system command (decimal or 0x hex) to it
//   shellinspect close CLASS                 asks it to close, shown or hidden
//
// With no desktop tray to dock into, the display driver keeps the icons in a
// stand-alone tray window of its own ("Wine System Tray"): one child window
// per icon shown, laid out left to right, each with a tooltip window carrying
// the tip. Taking an icon away destroys both. The tips are read through
// memory lent in the tray's own process, since the tooltip messages carry
// pointers that mean nothing across processes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Text.h"

namespace {

std::string utf8(const std::wstring& w) { return orb::utf16ToUtf8(w); }

struct TrayIcon {
    HWND window = nullptr;  // the icon's own window in the tray
    std::wstring tip;
};

struct ProcessHandle {
    HANDLE h = nullptr;
    ~ProcessHandle() {
        if (h) CloseHandle(h);
    }
};

// Memory in another process, given back when done.
struct RemoteBlock {
    HANDLE process;
    void* address;
    RemoteBlock(HANDLE p, size_t size)
        : process(p), address(VirtualAllocEx(p, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
};

constexpr wchar_t kTrayClass[] = L"__winex11_standalone_tray", kIconClass[] = L"__winex11_tray_icon";

std::wstring classOf(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

struct WindowSearch {
    const wchar_t* cls;
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    if (classOf(h) == s->cls && (!s->owner || GetWindow(h, GW_OWNER) == s->owner)) s->found.push_back(h);
    return TRUE;
}

// Children of parent, or top-level windows when parent is null, of a class
// (and, when given, of an owner).
std::vector<HWND> windowsOf(HWND parent, const wchar_t* cls, HWND owner) {
    WindowSearch search{cls, owner, {}};
    if (parent)
        EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The icons the tray shows now, from left to right, with their tips.
std::vector<TrayIcon> shownIcons() {
    std::vector<TrayIcon> icons;
    HWND tray = FindWindowW(kTrayClass, nullptr);
    if (!tray) return icons;
    for (HWND h : windowsOf(tray, kIconClass, nullptr))
        if (IsWindowVisible(h)) icons.push_back({h, {}});
    auto leftOf = [](HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return r.left;
    };
    std::sort(icons.begin(), icons.end(),
              [&](const TrayIcon& a, const TrayIcon& b) { return leftOf(a.window) < leftOf(b.window); });

    DWORD pid = 0;
    GetWindowThreadProcessId(tray, &pid);
    ProcessHandle process{OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)};
    if (!process.h) return icons;
    constexpr size_t kTextChars = 1024;
    RemoteBlock block(process.h, sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t));
    if (!block.address) return icons;
    auto* remoteInfo = static_cast<TTTOOLINFOW*>(block.address);
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(block.address) + sizeof(TTTOOLINFOW));
    // A tooltip's owner is the top-level window above the icon: the tray.
    for (HWND tooltip : windowsOf(nullptr, TOOLTIPS_CLASSW, tray)) {
        auto tools = static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < tools; ++i) {
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.lpszText = remoteText;
            std::vector<wchar_t> text(kTextChars, L'\0');
            if (!WriteProcessMemory(process.h, remoteInfo, &info, sizeof info, nullptr) ||
                !WriteProcessMemory(process.h, remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr) ||
                !SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remoteInfo)) ||
                !ReadProcessMemory(process.h, remoteInfo, &info, sizeof info, nullptr) ||
                !ReadProcessMemory(process.h, remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr))
                continue;
            text.back() = L'\0';
            for (TrayIcon& icon : icons)
                if (reinterpret_cast<HWND>(info.uId) == icon.window) icon.tip = text.data();
        }
    }
    return icons;
}

HWND waitForWindow(const wchar_t* cls, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = FindWindowW(cls, nullptr)) return h;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

int printTray(int wanted, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    std::vector<TrayIcon> icons = shownIcons();
    while (wanted >= 0 && static_cast<int>(icons.size()) != wanted && GetTickCount() - start < timeoutMs) {
        Sleep(100);
        icons = shownIcons();
    }
    std::printf("tray=%d\n", static_cast<int>(icons.size()));
    for (size_t i = 0; i < icons.size(); ++i) std::printf("tip%d=%s\n", static_cast<int>(i), utf8(icons[i].tip).c_str());
    return wanted < 0 || static_cast<int>(icons.size()) == wanted ? 0 : 1;
}

// What the tray hears when the user double-clicks an icon.
int doubleClick(int index) {
    std::vector<TrayIcon> icons = shownIcons();
    if (index < 0 || index >= static_cast<int>(icons.size())) return 1;
    HWND icon = icons[static_cast<size_t>(index)].window;
    LPARAM at = MAKELPARAM(4, 4);
    PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(icon, WM_LBUTTONUP, 0, at);
    PostMessageW(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(icon, WM_LBUTTONUP, 0, at);
    return 0;
}

int printWindow(const wchar_t* cls, DWORD timeoutMs) {
    HWND h = waitForWindow(cls, timeoutMs);
    if (!h) {
        std::printf("found=0\n");
        return 1;
    }
    wchar_t caption[512] = {};
    GetWindowTextW(h, caption, 512);
    std::printf("found=1 visible=%d iconic=%d\ncaption=%s\n", IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0,
                utf8(caption).c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring command = argv[1];
    if (command == L"tray") {
        int wanted = argc >= 3 ? _wtoi(argv[2]) : -1;
        DWORD timeout = argc >= 4 ? static_cast<DWORD>(_wtoi(argv[3])) : 10000;
        return printTray(wanted, timeout);
    }
    if (command == L"tray-dblclick" && argc >= 3) return doubleClick(_wtoi(argv[2]));
    if (command == L"window" && argc >= 3)
        return printWindow(argv[2], argc >= 4 ? static_cast<DWORD>(_wtoi(argv[3])) : 10000);
    if (command == L"syscommand" && argc >= 4) {
        HWND h = waitForWindow(argv[2], 10000);
        if (!h) return 1;
        PostMessageW(h, WM_SYSCOMMAND, static_cast<WPARAM>(std::wcstoul(argv[3], nullptr, 0)), 0);
        return 0;
    }
    if (command == L"close" && argc >= 3) {
        HWND h = waitForWindow(argv[2], 10000);
        if (!h) return 1;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
