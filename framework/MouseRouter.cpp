#include "framework/MouseRouter.h"

#include <algorithm>
#include <memory>

#include "framework/CursorTable.h"
#include "framework/FormWindow.h"

namespace orb {

namespace {

constexpr wchar_t kInstalledProperty[] = L"OrbMouseRouter";

POINT pointOf(LPARAM lp) { return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

bool contains(const Control& c, POINT p) {
    return p.x >= c.left() && p.x < c.left() + c.width() && p.y >= c.top() && p.y < c.top() + c.height();
}

MouseState stateOf(WPARAM wp, bool doubleClick = false) {
    MouseState s;
    s.shift = (wp & MK_SHIFT) != 0;
    s.ctrl = (wp & MK_CONTROL) != 0;
    s.alt = GetKeyState(VK_MENU) < 0;
    s.left = (wp & MK_LBUTTON) != 0;
    s.right = (wp & MK_RBUTTON) != 0;
    s.middle = (wp & MK_MBUTTON) != 0;
    s.doubleClick = doubleClick;
    return s;
}

MouseTarget* targetOf(Control* c) { return dynamic_cast<MouseTarget*>(c); }

}  // namespace

bool MouseRouter::isChild(const Control* c) const {
    if (!c) return false;
    const auto& all = parent_.controls();
    return std::find(all.begin(), all.end(), c) != all.end();
}

Control* MouseRouter::controlAt(int x, int y) const {
    const auto& all = parent_.controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        Control* c = *it;
        if (!c->visible() || !c->enabled() || dynamic_cast<WinControl*>(c) || !targetOf(c)) continue;
        if (contains(*c, POINT{x, y})) return c;
    }
    return nullptr;
}

void MouseRouter::trackLeaving() {
    if (tracking_) return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
}

void MouseRouter::setHovered(Control* c) {
    if (!isChild(hovered_)) hovered_ = nullptr;
    if (c == hovered_) return;
    Control* old = hovered_;
    hovered_ = c;
    auto heldOn = [this](Control* x) { return x == captured_ && capturedButton_ == MouseButton::Left; };
    if (old) targetOf(old)->mouseLeave(heldOn(old));
    // Leaving may have changed the page under the pointer.
    if (c && hovered_ == c && isChild(c)) {
        trackLeaving();
        targetOf(c)->mouseEnter(heldOn(c));
    }
}

bool MouseRouter::buttonDown(MouseButton button, bool doubleClick, WPARAM wp, LPARAM lp) {
    POINT p = pointOf(lp);
    Control* c = controlAt(p.x, p.y);
    if (!c) return false;
    setHovered(c);
    if (!isChild(c)) return true;
    captured_ = c;
    capturedButton_ = button;
    clickArmed_ = button == MouseButton::Left && !doubleClick;
    SetCapture(hwnd_);
    MouseTarget* target = targetOf(c);
    if (doubleClick && button == MouseButton::Left) {
        target->doubleClick();
        if (!isChild(c)) return true;
    }
    target->mouseDown(button, stateOf(wp, doubleClick), p.x - c->left(), p.y - c->top());
    return true;
}

bool MouseRouter::buttonUp(MouseButton button, WPARAM wp, LPARAM lp) {
    POINT p = pointOf(lp);
    Control* c = nullptr;
    bool clicks = false;
    if (captured_ && capturedButton_ == button && isChild(captured_)) {
        c = captured_;
        clicks = clickArmed_ && contains(*c, p);
        captured_ = nullptr;
        clickArmed_ = false;
        releasing_ = true;
        ReleaseCapture();
        releasing_ = false;
    } else {
        c = controlAt(p.x, p.y);
    }
    if (!c) return false;
    // The click comes before the release is told, as the platform's controls have it.
    if (clicks) targetOf(c)->click();
    if (isChild(c)) targetOf(c)->mouseUp(button, stateOf(wp), p.x - c->left(), p.y - c->top());
    setHovered(controlAt(p.x, p.y));
    return true;
}

void MouseRouter::captureLost() {
    Control* c = std::exchange(captured_, nullptr);
    clickArmed_ = false;
    if (c && isChild(c) && capturedButton_ == MouseButton::Left)
        targetOf(c)->mouseUp(MouseButton::Left, MouseState{}, 0, 0);
}

bool MouseRouter::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    if (captured_ && !isChild(captured_)) captured_ = nullptr;
    switch (msg) {
        case WM_MOUSEMOVE: {
            POINT p = pointOf(lp);
            Control* c = captured_ ? (contains(*captured_, p) ? captured_ : nullptr) : controlAt(p.x, p.y);
            setHovered(c);
            if (!c || !isChild(c)) return false;
            targetOf(c)->mouseMove(stateOf(wp), p.x - c->left(), p.y - c->top());
            return true;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            if (!captured_) setHovered(nullptr);
            return false;
        case WM_LBUTTONDOWN: return buttonDown(MouseButton::Left, false, wp, lp);
        case WM_LBUTTONDBLCLK: return buttonDown(MouseButton::Left, true, wp, lp);
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: return buttonDown(MouseButton::Right, false, wp, lp);
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: return buttonDown(MouseButton::Middle, false, wp, lp);
        case WM_LBUTTONUP: return buttonUp(MouseButton::Left, wp, lp);
        case WM_RBUTTONUP: return buttonUp(MouseButton::Right, wp, lp);
        case WM_MBUTTONUP: return buttonUp(MouseButton::Middle, wp, lp);
        case WM_CAPTURECHANGED:
            if (!releasing_ && captured_) captureLost();
            return false;
        case WM_SETCURSOR: {
            if (reinterpret_cast<HWND>(wp) != hwnd_ || LOWORD(lp) != HTCLIENT) return false;
            POINT p;
            if (!GetCursorPos(&p) || !ScreenToClient(hwnd_, &p)) return false;
            Control* c = captured_ ? captured_ : controlAt(p.x, p.y);
            // The default cursor is the window's own.
            if (!c || c->cursor() == kCrDefault) return false;
            SetCursor(CursorTable::screen().get(c->cursor()));
            result = TRUE;
            return true;
        }
        case WM_SYSCHAR: {
            bool alt = GetKeyState(VK_MENU) < 0;
            // A copy: a click may change the controls.
            std::vector<Control*> all = parent_.controls();
            for (Control* c : all) {
                auto* target = dynamic_cast<AcceleratorTarget*>(c);
                if (target && isChild(c) && !dynamic_cast<WinControl*>(c) &&
                    target->dialogChar(static_cast<wchar_t>(wp), alt))
                    return true;
            }
            return false;
        }
        default: return false;
    }
}

void installMouseRouter(FormWindow& window, WinControl& form) {
    HWND hwnd = window.hwnd();
    if (!hwnd || GetPropW(hwnd, kInstalledProperty)) return;
    SetPropW(hwnd, kInstalledProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
    auto router = std::make_shared<MouseRouter>(form, hwnd);
    window.addMessageHandler(
        [router](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return router->handle(msg, wp, lp, result); });
}

}  // namespace orb
