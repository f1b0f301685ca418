#pragma once
// Picture routines on the system's device contexts and bitmaps.
#include <vector>

#include "framework/Handles.h"
#include "graphics/PixelRoutines.h"

namespace orb {

struct RegionTraits {
    static HRGN invalid() { return nullptr; }
    static void close(HRGN h) { DeleteObject(h); }
};
using RegionHandle = UniqueResource<HRGN, RegionTraits>;

// The pixels of a bitmap as 0x00BBGGRR, top-down.
std::vector<Rgb> bitmapPixels(HBITMAP bitmap, int& width, int& height);

// The window region of every pixel outside key .. key + tolerance; empty when none is opaque.
RegionHandle RegionFromBitmap(HBITMAP bitmap, Rgb key, int tolerance);
RegionHandle regionFromRuns(const std::vector<IntRect>& runs);

// Over drawn on under with master alpha weight (255: over only), copied to surface at (0, 0).
void BlendBitmaps(HBITMAP over, HBITMAP under, HDC surface, int weight);

// A rectangle of the screen into dest at (0, 0).
void CaptureScreenRect(HDC dest, const RECT& screenRect);

// Every pixel whose x + y is even is ANDed with the brush colour.
void DitherRect(HDC dc, const RECT& rect, Rgb brushColor);

}  // namespace orb
