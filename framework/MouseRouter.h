#pragma once
// Mouse input for window-less controls: the window they are drawn on finds
// the topmost one under the pointer and tells it of entering and leaving,
// buttons, clicks and double clicks, and gives the pointer its cursor.
#include "core/Control.h"
#include "framework/MouseTarget.h"
#include "framework/Win32.h"

namespace orb {

class FormWindow;

class MouseRouter {
public:
    MouseRouter(WinControl& parent, HWND window) : parent_(parent), hwnd_(window) {}
    MouseRouter(const MouseRouter&) = delete;
    MouseRouter& operator=(const MouseRouter&) = delete;

    // A message of the parent's window; true when it was a window-less control's.
    bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The visible, enabled window-less control at a client point, the last in control order first.
    Control* controlAt(int x, int y) const;
    Control* hovered() const { return hovered_; }

private:
    bool isChild(const Control* c) const;
    void setHovered(Control* c);
    void trackLeaving();
    bool buttonDown(MouseButton button, bool doubleClick, WPARAM wp, LPARAM lp);
    bool buttonUp(MouseButton button, WPARAM wp, LPARAM lp);
    void captureLost();

    WinControl& parent_;
    HWND hwnd_;
    Control* hovered_ = nullptr;
    Control* captured_ = nullptr;  // a button went down on it and is still down
    MouseButton capturedButton_ = MouseButton::Left;
    bool clickArmed_ = false;  // a plain press, not the second of a double click
    bool tracking_ = false, releasing_ = false;
};

// Routes the form window's mouse messages to its window-less controls; once per window.
void installMouseRouter(FormWindow& window, WinControl& form);

}  // namespace orb
