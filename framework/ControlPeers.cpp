#include "framework/ControlPeers.h"

#include "framework/Colors.h"
#include "framework/DrawnControl.h"
#include "framework/FormWindow.h"
#include "framework/Handles.h"
#include "framework/InstanceWindowProc.h"
#include "framework/MouseRouter.h"
#include "framework/OffscreenBitmap.h"

namespace orb {

namespace {

constexpr wchar_t kChildClass[] = L"TOrbWinControl";

class ChildWindow final : public ControlPeer, public BackgroundPainter {
public:
    ChildWindow(WinControl& control, HWND parent) : control_(control) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExW(GetModuleHandleW(nullptr), kChildClass, &wc)) {
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = &WindowProc::proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            wc.lpszClassName = kChildClass;
            RegisterClassExW(&wc);
        }
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (control.visible() ? WS_VISIBLE : 0);
        hwnd_ = CreateWindowExW(0, kChildClass, control.caption().c_str(), style, control.left(), control.top(),
                                control.width(), control.height(), parent, nullptr, GetModuleHandleW(nullptr), this);
        router_ = std::make_unique<MouseRouter>(control, hwnd_);
    }
    ~ChildWindow() override { WindowProc::destroy(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    void paintBackground(HDC dc) override {
        RECT r;
        GetClientRect(hwnd_, &r);
        GdiObject brush(CreateSolidBrush(colorToRgb(control_.color())));
        FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
    }

    void changed(ControlChange what) override {
        switch (what) {
            case ControlChange::Bounds:
                SetWindowPos(hwnd_, nullptr, control_.left(), control_.top(), control_.width(), control_.height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            case ControlChange::Visible: ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE); break;
            case ControlChange::Enabled: EnableWindow(hwnd_, control_.enabled()); break;
            case ControlChange::Caption: SetWindowTextW(hwnd_, control_.caption().c_str()); break;
            default: InvalidateRect(hwnd_, nullptr, FALSE); break;
        }
    }

private:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) {
        if (router_) {
            LRESULT result = 0;
            if (router_->handle(msg, wp, lp, result)) return result;
        }
        if (msg == WM_ERASEBKGND) return 1;  // painting covers everything, off-screen
        if (msg == WM_PAINT) {
            paint();
            return 0;
        }
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

    void paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT client;
        GetClientRect(hwnd_, &client);
        OffscreenBitmap picture(client.right, client.bottom);
        if (picture.valid() && client.right > 0 && client.bottom > 0) {
            paintBackground(picture.dc());
            paintDrawnChildren(control_, picture.dc());
            picture.copyTo(dc, 0, 0);
        }
        EndPaint(hwnd_, &ps);
    }

    WinControl& control_;
    HWND hwnd_ = nullptr;
    std::unique_ptr<MouseRouter> router_;  // the window-less controls inside

    using WindowProc = InstanceWindowProc<ChildWindow, &ChildWindow::hwnd_, &ChildWindow::handle>;
};

// A window-less control: what changes is its rectangle on the parent.
class GraphicArea final : public ControlPeer {
public:
    GraphicArea(Control& control, HWND parent) : control_(control), parent_(parent) { remember(); }
    void changed(ControlChange) override {
        InvalidateRect(parent_, &last_, FALSE);
        remember();
        InvalidateRect(parent_, &last_, FALSE);
    }

private:
    void remember() {
        last_ = {control_.left(), control_.top(), control_.left() + control_.width(), control_.top() + control_.height()};
    }
    Control& control_;
    HWND parent_;
    RECT last_{};
};

}  // namespace

void attachControlPeers(WinControl& parent, HWND parentWindow) {
    if (auto* form = dynamic_cast<FormWindow*>(parent.peer())) installMouseRouter(*form, parent);
    for (Control* control : parent.controls()) {
        if (control->peer()) continue;
        if (auto* windowed = dynamic_cast<WinControl*>(control)) {
            auto peer = std::make_unique<ChildWindow>(*windowed, parentWindow);
            HWND hwnd = peer->hwnd();
            windowed->setPeer(std::move(peer));
            attachControlPeers(*windowed, hwnd);
        } else {
            control->setPeer(std::make_unique<GraphicArea>(*control, parentWindow));
        }
    }
}

HWND windowOf(const Control& control) {
    auto* child = dynamic_cast<ChildWindow*>(control.peer());
    return child ? child->hwnd() : nullptr;
}

}  // namespace orb
