#include "app/MainWindow.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "actions/OrbAction.h"
#include "framework/Application.h"
#include "framework/CursorTable.h"
#include "graphics/OrbGraphics.h"

namespace orb {

namespace {

constexpr UINT_PTR kCopyTimer = 1954, kPrintTimer = 1955;
constexpr UINT kCopyPrintDelayMs = 200;
constexpr UINT kTrayIconId = 1;
constexpr wchar_t kAboutItemText[] = L"&About...";
constexpr wchar_t kDefaultDocumentTitle[] = L"Lumora";

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// The compositor's idea of the window's outline, which leaves out invisible
// resize borders; the plain window rectangle where there is no compositor.
RECT visibleWindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (HMODULE dwm = LoadLibraryW(L"dwmapi.dll")) {
        using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
        auto get = reinterpret_cast<GetAttribute>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
        RECT bounds{};
        constexpr DWORD kExtendedFrameBounds = 9;
        if (get && SUCCEEDED(get(hwnd, kExtendedFrameBounds, &bounds, sizeof bounds)) && bounds.right > bounds.left)
            r = bounds;
        FreeLibrary(dwm);
    }
    return r;
}

}  // namespace

const wchar_t* aboutNoticeText() {
    return L"This menu is shown by menuhost, the run-time of a disc-menu package.\\n"
           L"Its pages, pictures and actions are the work of the menu's author.";
}

MainWindow::MainWindow(TOrbForm& form, FormWindow& window)
    : form_(form), window_(window), hwnd_(window.hwnd()), alive_(std::make_shared<bool>(true)) {
    taskbarCreatedMessage();
    showAbout = [this](const std::wstring& notice) {
        PerformAction(form_, TOrbActionType::aatPopupMessage, notice, L"", TOrbWindowMode::awmNormal);
    };
    window.addMessageHandler([this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        return handle(msg, wp, lp, result);
    });
    std::weak_ptr<bool> alive = alive_;
    Application::instance().addMessageFilter([this, alive](MSG& msg) { return !alive.expired() && previewKey(msg); });
    form_.setEffects(this);
    if (!form_.hideAboutMenu()) showAboutItem(true);
}

MainWindow::~MainWindow() {
    alive_.reset();
    form_.setEffects(nullptr);
    if (IsWindow(hwnd_)) {
        KillTimer(hwnd_, kCopyTimer);
        KillTimer(hwnd_, kPrintTimer);
    }
    if (trayShown_) RemoveTrayIcon();
}

void MainWindow::screenSize(int32_t& width, int32_t& height) const {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
}

void MainWindow::applyShape(const Picture& shape) {
    if (!shape.graphic()) return;
    RegionHandle region = RegionFromPicture(*shape.graphic());
    // The window owns the region from here on.
    if (region && SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();
}

void MainWindow::applyAlphaBlend(bool on, uint8_t value) {
    LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    if (on) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd_, 0, value, LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void MainWindow::applyTopMost(bool on) {
    SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::showAboutItem(bool shown) {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    if (shown && !aboutAdded_) {
        AppendMenuW(menu, MF_SEPARATOR, kAboutSeparatorCommand, nullptr);
        AppendMenuW(menu, MF_STRING, kAboutCommand, kAboutItemText);
        aboutAdded_ = true;
    } else if (!shown && aboutAdded_) {
        DeleteMenu(menu, kAboutCommand, MF_BYCOMMAND);
        DeleteMenu(menu, kAboutSeparatorCommand, MF_BYCOMMAND);
        aboutAdded_ = false;
    }
}

void MainWindow::applicationTitle(const std::wstring& title) { Application::instance().setTitle(title); }

void MainWindow::copyWindowImage(bool clientOnly) {
    copyClientOnly_ = clientOnly;
    SetTimer(hwnd_, kCopyTimer, kCopyPrintDelayMs, nullptr);
}

void MainWindow::printWindowImage(bool clientOnly) {
    printClientOnly_ = clientOnly;
    SetTimer(hwnd_, kPrintTimer, kCopyPrintDelayMs, nullptr);
}

void MainWindow::AddTrayIcon() {
    RemoveTrayIcon();
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = hwnd_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(hwnd_, WM_GETICON, ICON_BIG, 0));
    data.hIcon = icon;
    // The first version of the record holds 63 characters and the terminator.
    std::wstring tip = form_.caption().substr(0, 63);
    std::copy(tip.begin(), tip.end(), data.szTip);
    Shell_NotifyIconW(NIM_ADD, &data);
    trayShown_ = true;
}

void MainWindow::RemoveTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = hwnd_;
    data.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    trayShown_ = false;
}

bool MainWindow::minimizesToTray() const {
    return !form_.designMode() && (form_.minimizeToTrayIcon || form_.hideTaskBar);
}

void MainWindow::minimizeToTray() {
    ShowWindow(hwnd_, SW_HIDE);
    AddTrayIcon();
}

void MainWindow::restoreFromTray() {
    RemoveTrayIcon();
    ShowWindow(hwnd_, SW_SHOW);
    ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
}

// The form previews keys meant for any of its windows: ESC closes the menu
// even while a text box has the focus.
bool MainWindow::previewKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (!form_.exitWithESC || form_.designMode()) return false;
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    return true;
}

bool MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    if (msg == taskbarCreatedMessage() && msg != 0) {
        if (trayShown_) AddTrayIcon();  // the shell restarted and forgot it
        return trayShown_;
    }
    switch (msg) {
        case WM_SYSCOMMAND:
            if (LOWORD(wp) == kAboutCommand) {
                if (showAbout) showAbout(aboutNoticeText());
                return true;
            }
            if (wp == SC_MINIMIZE && minimizesToTray()) {
                minimizeToTray();
                return true;
            }
            return false;
        case kTrayCallbackMessage:
            if (lp == WM_LBUTTONDBLCLK) restoreFromTray();
            return true;
        case WM_TIMER:
            if (wp != kCopyTimer && wp != kPrintTimer) return false;
            KillTimer(hwnd_, wp);
            runPending(wp);
            return true;
        case WM_LBUTTONDOWN:
            if (!form_.moveWithAnyPoint || form_.windowStyle() == TOrbWindowStyle::awsFullScreen) return false;
            ReleaseCapture();
            SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return true;
        case WM_DESTROY:
            // Taken away while the window still exists, so the shell has
            // no icon left over that answers nobody.
            if (trayShown_) RemoveTrayIcon();
            return false;
        case WM_SHOWWINDOW:
            if (wp && !shown_) FormShow();
            return false;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wp) != hwnd_ || LOWORD(lp) != HTCLIENT) return false;
            SetCursor(CursorTable::screen().get(form_.cursor()));
            result = TRUE;
            return true;
        default: return false;
    }
}

// Runs once, the first time the window shows.
void MainWindow::FormShow() {
    shown_ = true;
    for (Control* child : form_.controls()) {
        if (auto* aware = dynamic_cast<ShowAware*>(child)) {
            try {
                aware->formShown();
            } catch (...) {
                // a control that cannot start its content stays as it is
            }
        }
    }
}

void MainWindow::runPending(UINT_PTR timer) {
    try {
        if (timer == kCopyTimer) {
            GdiObject image = captureImage(copyClientOnly_);
            if (!image || !OpenClipboard(hwnd_)) return;
            EmptyClipboard();
            // The clipboard owns the bitmap once it takes it.
            if (SetClipboardData(CF_BITMAP, image.get())) image.release();
            CloseClipboard();
        } else {
            PRINTDLGW setup{};
            setup.lStructSize = sizeof setup;
            setup.hwndOwner = hwnd_;
            setup.Flags = PD_PRINTSETUP | PD_RETURNDC;
            if (!PrintDlgW(&setup)) return;
            MemoryDc printer(setup.hDC);  // DeleteDC frees printer contexts too
            if (setup.hDevMode) GlobalFree(setup.hDevMode);
            if (setup.hDevNames) GlobalFree(setup.hDevNames);
            GdiObject image = captureImage(printClientOnly_);
            if (printer && image) printImage(printer.get(), static_cast<HBITMAP>(image.get()));
        }
    } catch (...) {
        // copying and printing are optional: a failure leaves nothing behind
    }
}

bool MainWindow::printWindowImageOn(const std::wstring& printerName, bool clientOnly) {
    MemoryDc printer(CreateDCW(L"WINSPOOL", printerName.c_str(), nullptr, nullptr));
    GdiObject image = captureImage(clientOnly);
    return printer && image && printImage(printer.get(), static_cast<HBITMAP>(image.get()));
}

bool MainWindow::printImage(HDC printer, HBITMAP image) const {
    std::wstring title = form_.caption().empty() ? kDefaultDocumentTitle : form_.caption();
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = title.c_str();
    if (StartDocW(printer, &doc) <= 0) return false;
    StartPage(printer);
    PrinterPage page{GetDeviceCaps(printer, PHYSICALWIDTH),   GetDeviceCaps(printer, PHYSICALHEIGHT),
                     GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY),
                     GetDeviceCaps(printer, LOGPIXELSX),      GetDeviceCaps(printer, LOGPIXELSY)};
    if (page.width <= 0) page.width = GetDeviceCaps(printer, HORZRES);
    if (page.height <= 0) page.height = GetDeviceCaps(printer, VERTRES);
    HDC screen = GetDC(hwnd_);
    int ppi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(hwnd_, screen);
    int w = 0, h = 0;
    std::vector<Rgb> pixels = bitmapPixels(image, w, h);
    PrintPlacement at = fitWindowImageOnPage(w, h, ppi ? ppi : 96, page);
    for (Rgb& p : pixels) p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    // The placement is on the whole sheet; the printer's origin is the corner
    // of what it can print, that many dots in from the sheet's edges.
    StretchDIBits(printer, at.left - page.offsetX, at.top - page.offsetY, at.width, at.height, 0, 0, w, h,
                  pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
    EndPage(printer);
    return EndDoc(printer) > 0;
}

GdiObject MainWindow::captureImage(bool clientOnly) const {
    RECT area{};
    if (clientOnly) {
        GetClientRect(hwnd_, &area);
        MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&area), 2);
    } else {
        area = visibleWindowRect(hwnd_);
    }
    int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return {};
    HDC screen = GetDC(nullptr);
    GdiObject bitmap(CreateCompatibleBitmap(screen, w, h));
    MemoryDc memory(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!bitmap || !memory) return {};
    {
        SelectedObject selected(memory.get(), bitmap.get());
        if (clientOnly) {
            HDC own = GetDC(hwnd_);
            BitBlt(memory.get(), 0, 0, w, h, own, 0, 0, SRCCOPY);
            ReleaseDC(hwnd_, own);
        } else {
            CaptureScreenRect(memory.get(), area);
        }
    }
    return bitmap;
}

}  // namespace orb
