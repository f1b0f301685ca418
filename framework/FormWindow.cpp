#include "framework/FormWindow.h"

#include "framework/Colors.h"
#include "framework/Handles.h"

namespace orb {

namespace {

enum BorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum BorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };

void registerClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;  // backgrounds scale with the window
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace

FormWindow::FormWindow(CustomForm& form, const wchar_t* windowClass, HWND owner) : form_(form) {
    registerClass(windowClass, &WindowProc::proc);
    hwnd_ = CreateWindowExW(exStyle(), windowClass, form.caption().c_str(), style(), form.left(), form.top(),
                            form.width(), form.height(), owner, nullptr, GetModuleHandleW(nullptr), this);
    applyStyle();
}

FormWindow::~FormWindow() { WindowProc::destroy(hwnd_); }

DWORD FormWindow::style() const {
    uint32_t icons = form_.borderIcons();
    DWORD s = WS_CLIPCHILDREN;
    switch (form_.borderStyle()) {
        case bsNone: s |= WS_POPUP; break;
        case bsSingle:
        case bsToolWindow: s |= WS_CAPTION | WS_BORDER; break;
        case bsSizeable:
        case bsSizeToolWin: s |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog: s |= WS_CAPTION | WS_DLGFRAME; break;
    }
    if (form_.borderStyle() != bsNone && (icons & setBit(biSystemMenu))) {
        s |= WS_SYSMENU;
        if (form_.borderStyle() != bsDialog && form_.borderStyle() < bsToolWindow) {
            if (icons & setBit(biMinimize)) s |= WS_MINIMIZEBOX;
            if (icons & setBit(biMaximize)) s |= WS_MAXIMIZEBOX;
        }
    }
    if (form_.visible()) s |= WS_VISIBLE;
    return s;
}

DWORD FormWindow::exStyle() const {
    switch (form_.borderStyle()) {
        case bsDialog: return WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        case bsToolWindow:
        case bsSizeToolWin: return WS_EX_TOOLWINDOW;
        default: return 0;
    }
}

// Measures the frame for the current style and lets the form size itself around its client.
void FormWindow::applyStyle() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style()));
    // Opacity and top-most placement are the main window's business; a new border keeps them.
    LONG_PTR kept = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TOPMOST);
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle()) | kept);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style(), FALSE, exStyle());
    form_.setFrameExtent(frame.right - frame.left, frame.bottom - frame.top);
    SetWindowPos(hwnd_, nullptr, form_.left(), form_.top(), form_.width(), form_.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void FormWindow::changed(ControlChange what) {
    if (!hwnd_ || syncing_) return;
    switch (what) {
        case ControlChange::Bounds:
            SetWindowPos(hwnd_, nullptr, form_.left(), form_.top(), form_.width(), form_.height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        case ControlChange::Visible: ShowWindow(hwnd_, form_.visible() ? SW_SHOW : SW_HIDE); break;
        case ControlChange::Caption: SetWindowTextW(hwnd_, form_.caption().c_str()); break;
        case ControlChange::Repaint: applyStyle(); [[fallthrough]];
        default: InvalidateRect(hwnd_, nullptr, FALSE); break;
    }
}

void FormWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right > 0 && client.bottom > 0) {
        MemoryDc memory(CreateCompatibleDC(dc));
        GdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        SelectedObject selected(memory.get(), bitmap.get());
        paintBackground(memory.get());
        paintDrawnChildren(form_, memory.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

void FormWindow::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    GdiObject brush(CreateSolidBrush(colorToRgb(form_.color())));
    FillRect(dc, &client, static_cast<HBRUSH>(brush.get()));
    if (onPaint) onPaint(dc, client);
}

LRESULT FormWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    for (const MessageHandler& handler : handlers_) {
        LRESULT result = 0;
        if (handler(msg, wp, lp, result)) return result;
    }
    switch (msg) {
        case WM_ERASEBKGND: return 1;  // painting covers everything, off-screen
        case WM_PAINT: paint(); return 0;
        case WM_CLOSE:
            if (onCloseRequest) onCloseRequest();
            else DestroyWindow(hwnd_);
            return 0;
        case WM_WINDOWPOSCHANGED: {
            RECT r;
            GetWindowRect(hwnd_, &r);
            syncing_ = true;
            form_.setBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            syncing_ = false;
            break;
        }
        default: break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace orb
