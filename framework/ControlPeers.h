#pragma once
// Peers for the controls a stream puts on a form: windowed controls get a
// child window, window-less ones repaint their area of the parent.
#include "core/Control.h"
#include "framework/Win32.h"

namespace orb {

// Gives every control below parent (recursively) its peer; parentWindow is the parent's HWND.
void attachControlPeers(WinControl& parent, HWND parentWindow);

// The child window behind a windowed control, if it has one.
HWND windowOf(const Control& control);

}  // namespace orb
