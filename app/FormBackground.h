#pragma once
#include "app/OrbForm.h"
#include "framework/Win32.h"

namespace orb {

// What the main window shows behind its controls, over its plain colour:
// the gradient, the tiled picture, or the shaped window's own picture.
void paintFormBackground(HDC dc, const RECT& client, const TOrbForm& form);

}  // namespace orb
