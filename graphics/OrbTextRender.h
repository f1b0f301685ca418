#pragma once
// Measuring and drawing text in the device context's font and text colour,
// plainly through the system's text output or anti-aliased through the 2D
// vector library when the system has it.
#include <string_view>

#include "framework/Win32.h"
#include "graphics/OrbTypes.h"

namespace orb {

void MeasureText(HDC dc, std::wstring_view text, bool antiAlias, UINT flags, int& width, int& height);
void DrawTextAt(HDC dc, std::wstring_view text, int x, int y, UINT flags, bool antiAlias);
void DrawTextInRect(HDC dc, std::wstring_view text, const RECT& rect, UINT flags, bool antiAlias);
void DrawTextInBox(HDC dc, std::wstring_view text, int left, int top, int width, int height, UINT flags,
                   bool antiAlias);

// Whether anti-aliased text can be had here.
bool vectorTextAvailable();

}  // namespace orb
