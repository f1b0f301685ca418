#pragma once
// Font descriptions of the component model turned into GDI fonts.
#include "core/Font.h"
#include "framework/Handles.h"

namespace orb {

// A GDI font for the description (height in screen pixels, as the stream gives it).
GdiObject createFont(const Font& font);

// Whether a font family of that name is among the screen fonts.
bool screenFontInstalled(const wchar_t* faceName);

}  // namespace orb
