#pragma once
// Window-less controls that draw themselves. Each paints into an off-screen
// bitmap of its own size that starts as a copy of what lies behind it, and the
// parent copies that bitmap into its own off-screen picture in control order.
#include "core/Control.h"
#include "framework/Win32.h"

namespace orb {

class DrawnControl {
public:
    virtual ~DrawnControl() = default;
    // dc is the control's own bitmap, (0, 0) at the control's top-left, its
    // content undefined: controls start with PaintParentBackground.
    virtual void paintControl(HDC dc) = 0;
};

// What a windowed control shows behind its window-less children.
class BackgroundPainter {
public:
    virtual ~BackgroundPainter() = default;
    // Paints the background of the whole client area; dc may be offset and clipped.
    virtual void paintBackground(HDC dc) = 0;
};

// Paints into dc, at the control's offset, what its parent shows behind it:
// the parent's background, then every visible window-less sibling earlier in
// the parent's control order that meets the control. Nothing without a parent window.
void PaintParentBackground(const Control& control, HDC dc);

// Composes parent's window-less children in control order onto dc, which holds
// the parent's background in parent coordinates over the whole client area.
void paintDrawnChildren(const WinControl& parent, HDC dc);

}  // namespace orb
