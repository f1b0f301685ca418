// Looks at a top-level window of another process from outside and prints what
// a user would see: caption, geometry, style and the colour of client pixels.
//   wininspect CLASS [TIMEOUT_MS] [x,y ...]   (x,y in client coordinates)
//   wininspect --close CLASS                  asks the window to close
//   wininspect --key CLASS VK [VK ...]        posts key presses (virtual-key codes) to it
//   wininspect --click CLASS X Y [right]      puts the pointer there and posts a click (left or
//                                             right button) to the window or its child under the point
//   wininspect --move|--press|--release CLASS X Y   the same, one step at a time (left button)
//   wininspect --type CLASS TEXT              posts the characters to the window's first edit line
//   wininspect --text CLASS [TIMEOUT_MS]      the window's handle and caption, then one line per child window:
//                                             child=CLASS text=TEXT (line breaks as \n,
//                                             backslashes doubled)
//   wininspect --state CLASS                  found, visible, iconic and caption, without waiting
//   wininspect --wait-gone CLASS TIMEOUT_MS   waits until no visible window of the class is left
//   wininspect --show CLASS SW                ShowWindow with that show command (6 minimises, 9 restores)
//   wininspect --list                         class=CLASS caption=CAPTION of each visible top-level window
//   wininspect --clipboard                    bitmap=W,H of a bitmap on the clipboard, or bitmap=0
//   wininspect --clear-clipboard              empties the clipboard
// Prints lines of key=value pairs; exits 1 when no visible window appears in time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Text.h"

namespace {

std::string utf8(const std::wstring& w) { return orb::utf16ToUtf8(w); }

HWND waitForWindow(const wchar_t* cls, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        // A hidden window of the class may come first.
        for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h; h = FindWindowExW(nullptr, h, cls, nullptr))
            if (IsWindowVisible(h)) return h;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::wstring className(HWND h) {
    wchar_t name[256] = {};
    GetClassNameW(h, name, 256);
    return name;
}

// Another process's window text; WM_GETTEXT is answered across processes.
std::wstring textOf(HWND h) {
    auto n = static_cast<size_t>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(n + 1, L'\0');
    n = static_cast<size_t>(SendMessageW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(n, text.size()));
    return text;
}

std::string oneLine(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n') out += L"\\n";
        else if (c == L'\\') out += L"\\\\";
        else if (c != L'\r') out += c;
    }
    return utf8(out);
}

BOOL CALLBACK collect(HWND h, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
}

std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

constexpr unsigned kMove = 1, kDown = 2, kUp = 4;  // steps of a mouse action

// The pointer is moved there as well, so that the program's own idea of where
// the pointer is (leaving, hovering, menus) agrees with the posted messages.
int mouse(HWND h, int x, int y, unsigned steps, bool right) {
    POINT screen{x, y};
    ClientToScreen(h, &screen);
    HWND target = h;
    POINT at{x, y};
    if (HWND child = ChildWindowFromPointEx(h, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT); child && child != h) {
        target = child;
        at = screen;
        ScreenToClient(child, &at);
    }
    SetCursorPos(screen.x, screen.y);
    LPARAM where = MAKELPARAM(at.x, at.y);
    WPARAM held = right ? MK_RBUTTON : MK_LBUTTON;
    if (steps & kMove) PostMessageW(target, WM_MOUSEMOVE, 0, where);
    if (steps & kDown) PostMessageW(target, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, held, where);
    if (steps & kUp) PostMessageW(target, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, where);
    return 0;
}

int printClipboard() {
    int w = 0, h = 0;
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt) Sleep(50);
    if (HANDLE data = IsClipboardFormatAvailable(CF_BITMAP) ? GetClipboardData(CF_BITMAP) : nullptr) {
        BITMAP info{};
        if (GetObjectW(data, sizeof info, &info)) {
            w = info.bmWidth;
            h = info.bmHeight;
        }
    }
    CloseClipboard();
    if (w) std::printf("bitmap=%d,%d\n", w, h);
    else std::printf("bitmap=0\n");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--close") {
        HWND h = waitForWindow(argv[2], 10000);
        if (!h) return 1;
        PostMessageW(h, WM_CLOSE, 0, 0);
        return 0;
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"--key") {
        HWND h = waitForWindow(argv[2], 10000);
        if (!h) return 1;
        for (int i = 3; i < argc; ++i) {
            auto vk = static_cast<WPARAM>(_wtoi(argv[i]));
            PostMessageW(h, WM_KEYDOWN, vk, 1);
            PostMessageW(h, WM_KEYUP, vk, 0xC0000001);
        }
        return 0;
    }
    if (argc >= 5) {
        std::wstring option = argv[1];
        unsigned steps = option == L"--click"     ? kMove | kDown | kUp
                         : option == L"--move"    ? kMove
                         : option == L"--press"   ? kMove | kDown
                         : option == L"--release" ? kUp
                                                  : 0u;
        if (steps) {
            HWND h = waitForWindow(argv[2], 10000);
            if (!h) return 1;
            return mouse(h, _wtoi(argv[3]), _wtoi(argv[4]), steps, argc >= 6 && std::wstring(argv[5]) == L"right");
        }
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"--type") {
        HWND h = waitForWindow(argv[2], 10000);
        if (!h) return 1;
        for (HWND child : childrenOf(h)) {
            if (lstrcmpiW(className(child).c_str(), L"Edit") != 0) continue;
            for (const wchar_t* c = argv[3]; *c; ++c) PostMessageW(child, WM_CHAR, *c, 1);
            return 0;
        }
        return 1;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"--text") {
        HWND h = waitForWindow(argv[2], argc >= 4 ? static_cast<DWORD>(_wtoi(argv[3])) : 10000);
        if (!h) {
            std::printf("found=0\n");
            return 1;
        }
        std::printf("found=1 handle=%llx caption=%s\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)),
                    oneLine(textOf(h)).c_str());
        for (HWND child : childrenOf(h))
            std::printf("child=%s text=%s\n", utf8(className(child)).c_str(), oneLine(textOf(child)).c_str());
        return 0;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"--state") {
        HWND h = FindWindowW(argv[2], nullptr);
        if (!h) {
            std::printf("found=0\n");
            return 0;
        }
        std::printf("found=1 visible=%d iconic=%d caption=%s\n", IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0,
                    oneLine(textOf(h)).c_str());
        return 0;
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"--wait-gone") {
        DWORD start = GetTickCount(), timeout = static_cast<DWORD>(_wtoi(argv[3]));
        for (;;) {
            HWND h = FindWindowW(argv[2], nullptr);
            if (!h || !IsWindowVisible(h)) {
                std::printf("gone=1\n");
                return 0;
            }
            if (GetTickCount() - start > timeout) {
                std::printf("gone=0\n");
                return 1;
            }
            Sleep(50);
        }
    }
    if (argc >= 4 && std::wstring(argv[1]) == L"--show") {
        HWND h = FindWindowW(argv[2], nullptr);
        if (!h) return 1;
        ShowWindow(h, _wtoi(argv[3]));
        return 0;
    }
    if (argc >= 2 && std::wstring(argv[1]) == L"--list") {
        std::vector<HWND> all;
        EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
        for (HWND h : all)
            if (IsWindowVisible(h))
                std::printf("class=%s caption=%s\n", utf8(className(h)).c_str(), oneLine(textOf(h)).c_str());
        return 0;
    }
    if (argc >= 2 && std::wstring(argv[1]) == L"--clipboard") return printClipboard();
    if (argc >= 2 && std::wstring(argv[1]) == L"--clear-clipboard") {
        if (!OpenClipboard(nullptr)) return 1;
        EmptyClipboard();
        CloseClipboard();
        return 0;
    }
    if (argc < 2) return 2;
    DWORD timeout = argc >= 3 ? static_cast<DWORD>(_wtoi(argv[2])) : 10000;
    HWND h = waitForWindow(argv[1], timeout);
    if (!h) {
        std::printf("found=0\n");
        return 1;
    }
    Sleep(300);  // let it paint
    wchar_t caption[512] = {};
    GetWindowTextW(h, caption, 512);
    RECT wr, cr;
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    std::printf("found=1 caption=%s window=%ld,%ld,%ld,%ld client=%ld,%ld origin=%ld,%ld style=0x%08lx owned=%d",
                utf8(caption).c_str(), wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top, cr.right, cr.bottom,
                origin.x, origin.y, static_cast<unsigned long>(GetWindowLongW(h, GWL_STYLE)),
                GetWindow(h, GW_OWNER) != nullptr ? 1 : 0);
    auto ex = static_cast<unsigned long>(GetWindowLongW(h, GWL_EXSTYLE));
    std::printf(" exstyle=0x%08lx", ex);
    BYTE alpha = 255;
    DWORD flags = 0;
    if ((ex & WS_EX_LAYERED) && GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
        std::printf(" alpha=%u", static_cast<unsigned>(alpha));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool hasRegion = GetWindowRgn(h, region) != ERROR;
    if (hasRegion) {
        RECT box;
        GetRgnBox(region, &box);
        std::printf(" region=%ld,%ld,%ld,%ld", box.left, box.top, box.right, box.bottom);
    }
    HDC screen = GetDC(nullptr);
    for (int i = 3; i < argc; ++i) {
        int x = 0, y = 0;
        if (swscanf(argv[i], L"%d,%d", &x, &y) != 2) continue;
        COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
        std::printf(" pixel%d,%d=%02x%02x%02x", x, y, GetRValue(c), GetGValue(c), GetBValue(c));
        // Regions are in window coordinates.
        if (hasRegion)
            std::printf(" inregion%d,%d=%d", x, y,
                        PtInRegion(region, origin.x + x - wr.left, origin.y + y - wr.top) ? 1 : 0);
    }
    DeleteObject(region);
    ReleaseDC(nullptr, screen);
    std::printf("\n");
    return 0;
}
