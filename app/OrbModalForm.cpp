#include "app/OrbModalForm.h"

#include "core/Form.h"
#include "core/Text.h"
#include "framework/ControlPeers.h"
#include "framework/FormWindow.h"
#include "framework/Fonts.h"

namespace orb {

namespace {

constexpr wchar_t kModalClass[] = L"TOrbModalForm";

void registerModalClass(WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kModalClass, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kModalClass;
    RegisterClassExW(&wc);
}

}  // namespace

HWND windowOfComponent(const Component* component) {
    auto* control = dynamic_cast<const Control*>(component);
    if (!control) return nullptr;
    if (auto* form = dynamic_cast<const FormWindow*>(control->peer())) return form->hwnd();
    return windowOf(*control);
}

TOrbModalForm::TOrbModalForm(Component* owner)
    : owner_(owner), ownerWindow_(windowOfComponent(owner)), color_(GetSysColor(COLOR_BTNFACE)) {
    // Without a windowed owner the window still belongs to whatever the user was working in.
    if (!ownerWindow_) ownerWindow_ = GetActiveWindow();
}

TOrbModalForm::~TOrbModalForm() {
    if (hwnd_) {
        // Hand activation back before the window disappears, so the owner is not left behind other programs.
        if (ownerWindow_ && GetActiveWindow() == hwnd_) SetActiveWindow(ownerWindow_);
        WindowProc::destroy(hwnd_);
    }
}

void TOrbModalForm::createWindow(DWORD style, DWORD exStyle, const std::wstring& caption, const RECT& bounds) {
    registerModalClass(&WindowProc::proc);
    hwnd_ = CreateWindowExW(exStyle, kModalClass, caption.c_str(), style & ~WS_VISIBLE, bounds.left, bounds.top,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, ownerWindow_, nullptr,
                            GetModuleHandleW(nullptr), this);
}

void TOrbModalForm::setFont(GdiObject font) {
    if (!font) return;
    font_ = std::move(font);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TOrbModalForm::setColor(COLORREF color) {
    color_ = color;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

int TOrbModalForm::showModal() {
    if (!hwnd_ || inLoop_) return mrCancel;
    modalResult_ = mrNone;
    // An owner window that is top-most makes its owned windows top-most too, so
    // nothing has to be lowered for the modal window to show above the menu.
    bool disabledOwner = ownerWindow_ && IsWindowEnabled(ownerWindow_);
    if (disabledOwner) EnableWindow(ownerWindow_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetActiveWindow(hwnd_);
    UpdateWindow(hwnd_);

    inLoop_ = true;
    MSG msg;
    while (modalResult_ == mrNone) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: let the outer loop see the quit request too.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = mrCancel;
            break;
        }
        if (preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    inLoop_ = false;

    // The owner comes back before the window hides, so activation returns to it.
    if (disabledOwner) EnableWindow(ownerWindow_, TRUE);
    if (ownerWindow_ && GetActiveWindow() == hwnd_) SetActiveWindow(ownerWindow_);
    ShowWindow(hwnd_, SW_HIDE);
    return modalResult_;
}

void TOrbModalForm::close(int result) { modalResult_ = result == mrNone ? mrCancel : result; }

void TOrbModalForm::paintWindow() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right > 0 && client.bottom > 0) {
        MemoryDc memory(CreateCompatibleDC(dc));
        GdiObject bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        SelectedObject selected(memory.get(), bitmap.get());
        GdiObject brush(CreateSolidBrush(color_));
        FillRect(memory.get(), &client, static_cast<HBRUSH>(brush.get()));
        paint(memory.get(), client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

LRESULT TOrbModalForm::defaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

LRESULT TOrbModalForm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;  // painting covers everything, off-screen
        case WM_PAINT: paintWindow(); return 0;
        case WM_CLOSE: close(mrCancel); return 0;
        default: return defaultHandling(msg, wp, lp);
    }
}

bool IsWindowsVistaOrLater() { return windowsMajorVersion() > 5; }

void ApplyVistaFont(Font& font, bool vistaOrLater, bool segoeInstalled) {
    if (!vistaOrLater || equalsIgnoreCaseAscii(font.name, "Segoe UI") || !segoeInstalled) return;
    font.setSize(font.size() + 1);
    font.name = "Segoe UI";
}

void ApplyVistaFont(Font& font) {
    if (!IsWindowsVistaOrLater() || equalsIgnoreCaseAscii(font.name, "Segoe UI")) return;
    ApplyVistaFont(font, true, screenFontInstalled(L"Segoe UI"));
}

}  // namespace orb
