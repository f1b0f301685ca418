#pragma once
// GradFill onto a device context: the gradient of OrbGradFill.h, painted into
// rect (right and bottom exclusive, in the DC's logical coordinates).
#include "framework/Win32.h"
#include "graphics/OrbGradFill.h"

namespace orb {

// System colour references are resolved to the current system colours. Only
// the part of rect inside the DC's clipping area is computed and painted; pen,
// brush, font, stretch mode and brush origin are as before when it returns.
void GradFill(HDC dc, const RECT& rect, Color beginColor, Color endColor, TOrbGradFillStyle style);

}  // namespace orb
