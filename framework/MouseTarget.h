#pragma once
// What a window-less control hears of the mouse. The parent window finds the
// control under the pointer and tells it; nothing here needs the system's
// headers, so controls built without a window system implement it too.
#include <cstdint>

namespace orb {

enum class MouseButton { Left, Right, Middle };

// Modifier and button state of a mouse event.
struct MouseState {
    bool shift = false, ctrl = false, alt = false;
    bool left = false, right = false, middle = false;
    bool doubleClick = false;
};

class MouseTarget {
public:
    virtual ~MouseTarget() = default;
    // leftHeldHere: the left button went down on this control and is still down,
    // the pointer coming back over it (enter) or going away (leave).
    virtual void mouseEnter(bool leftHeldHere) = 0;
    virtual void mouseLeave(bool leftHeldHere) = 0;
    // Positions are in the control's own coordinates.
    virtual void mouseDown(MouseButton button, const MouseState& state, int32_t x, int32_t y) = 0;
    virtual void mouseMove(const MouseState& state, int32_t x, int32_t y) = 0;
    virtual void mouseUp(MouseButton button, const MouseState& state, int32_t x, int32_t y) = 0;
    // The left button went down and came up over the control.
    virtual void click() = 0;
    virtual void doubleClick() = 0;
};

}  // namespace orb

namespace orb {

// A control that clicks itself on Alt plus its accelerator letter.
class AcceleratorTarget {
public:
    virtual ~AcceleratorTarget() = default;
    // True when the character was the control's and it acted on it.
    virtual bool dialogChar(wchar_t ch, bool altDown) = 0;
};

}  // namespace orb
