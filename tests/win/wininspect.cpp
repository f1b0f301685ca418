// Looks at a top-level window of another process from outside and prints what
// a user would see: caption, geometry, style and the colour of client pixels.
//   wininspect CLASS [TIMEOUT_MS] [x,y ...]   (x,y in client coordinates)
//   wininspect --close CLASS                  asks the window to close
//   wininspect --key CLASS VK                 posts a key press (virtual-key code) to it
// Prints one line of key=value pairs; exits 1 when no visible window appears in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

HWND waitForWindow(const wchar_t* cls, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND h = FindWindowW(cls, nullptr);
        if (h && IsWindowVisible(h)) return h;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
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
        auto vk = static_cast<WPARAM>(_wtoi(argv[3]));
        PostMessageW(h, WM_KEYDOWN, vk, 1);
        PostMessageW(h, WM_KEYUP, vk, 0xC0000001);
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
