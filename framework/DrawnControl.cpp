#include "framework/DrawnControl.h"

#include <utility>

#include "framework/OffscreenBitmap.h"

namespace orb {

namespace {

RECT boundsOf(const Control& c) { return {c.left(), c.top(), c.left() + c.width(), c.top() + c.height()}; }

bool meets(const RECT& a, const RECT& b) {
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

bool isDrawnAndShowing(const Control* c) {
    return c && c->visible() && c->width() > 0 && c->height() > 0 && !dynamic_cast<const WinControl*>(c) &&
           dynamic_cast<const DrawnControl*>(c);
}

// While a parent composes its children, what lies behind the child being
// painted is exactly the composed picture so far: a copy of it stands in for
// painting the background and the earlier siblings all over again.
struct Composition {
    const WinControl* parent = nullptr;
    const Control* current = nullptr;
    HDC picture = nullptr;
};
thread_local Composition* t_composition = nullptr;

void paintOneInto(Control& control, HDC dc) {
    OffscreenBitmap own(control.width(), control.height());
    if (!own.valid()) return;
    try {
        dynamic_cast<DrawnControl&>(control).paintControl(own.dc());
    } catch (...) {
        return;  // a control that cannot paint leaves what lies behind it showing
    }
    own.copyTo(dc, control.left(), control.top());
}

}  // namespace

void PaintParentBackground(const Control& control, HDC dc) {
    const WinControl* parent = control.parent();
    if (!parent) return;
    if (Composition* c = t_composition; c && c->parent == parent && c->current == &control) {
        BitBlt(dc, 0, 0, control.width(), control.height(), c->picture, control.left(), control.top(), SRCCOPY);
        return;
    }
    auto* painter = dynamic_cast<BackgroundPainter*>(parent->peer());
    if (!painter) return;

    RECT area = boundsOf(control);
    int saved = SaveDC(dc);
    POINT origin;
    OffsetViewportOrgEx(dc, -control.left(), -control.top(), &origin);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    painter->paintBackground(dc);
    for (Control* sibling : parent->controls()) {
        if (sibling == &control) break;
        if (isDrawnAndShowing(sibling) && meets(boundsOf(*sibling), area)) paintOneInto(*sibling, dc);
    }
    RestoreDC(dc, saved);
}

void paintDrawnChildren(const WinControl& parent, HDC dc) {
    Composition composition{&parent, nullptr, dc};
    struct Scope {
        Composition* outer;
        explicit Scope(Composition* c) : outer(std::exchange(t_composition, c)) {}
        ~Scope() { t_composition = outer; }
    } scope(&composition);
    for (Control* child : parent.controls()) {
        if (!isDrawnAndShowing(child)) continue;
        composition.current = child;
        paintOneInto(*child, dc);
    }
}

}  // namespace orb
