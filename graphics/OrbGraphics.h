#pragma once
// Picture routines on the system's device contexts and bitmaps.
#include <vector>

#include "core/Control.h"
#include "core/Picture.h"
#include "framework/Handles.h"
#include "graphics/Bitmap32.h"
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

// The control's parent background mixed half and half with color inside rect
// (control coordinates) of dc: the see-through face of semi-transparent buttons.
void BlendWithColor(HDC dc, const RECT& rect, const Control& control, Color color);

// An icon graphic at its natural size with its alpha channel honoured, for
// systems before XP that draw icons with a mask only.
void DrawAlphaIcon(HDC dc, int x, int y, const Graphic& icon);

// A rectangle of the screen into dest at (0, 0).
void CaptureScreenRect(HDC dest, const RECT& screenRect);

// Every pixel whose x + y is even is ANDed with the brush colour.
void DitherRect(HDC dc, const RECT& rect, Rgb brushColor);

// Draws a straight-alpha image unscaled at (x, y), blending where it is not opaque.
void drawBitmap32(HDC dc, int x, int y, const Bitmap32& image);
// The same stretched into dest, averaging when it shrinks.
void drawBitmap32(HDC dc, const IntRect& dest, const Bitmap32& image);

// The most suitable image of a multi-image icon into rect; flags kFitCentre,
// kFitStretch, kFitKeepAspect. Other graphics draw as they decode.
void DrawIconBestFit(HDC dc, const RECT& rect, const Graphic& graphic, int flags);

// Metafiles are drawn by the system: an enhanced metafile as it is, an older
// one (with or without its placeable header) converted. Size in pixels.
struct EnhMetafileTraits {
    static HENHMETAFILE invalid() { return nullptr; }
    static void close(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
};
using EnhMetafile = UniqueResource<HENHMETAFILE, EnhMetafileTraits>;
EnhMetafile metafileFromBytes(const std::vector<uint8_t>& bytes, int& width, int& height);

// The graphic repeated unscaled from the rectangle's top-left; the last row and
// column run over the edge for the surface to clip. Empty graphics draw nothing.
void TileGraphic(HDC dc, const RECT& rect, const Graphic& graphic);

// The shape of a picture: its transparent pixels, or its top-left pixel's colour, left out.
RegionHandle RegionFromPicture(const Graphic& graphic);

// Stretches source of bitmap onto the destination rectangle, leaving out every
// source pixel of the key colour; the stretch averages (halftone).
void StretchBltKeyed(HDC surface, HBITMAP bitmap, const RECT& source, int destX, int destY, int destWidth,
                     int destHeight, Rgb key);
// The graphic rendered at its own size, its top-left pixel's colour left out.
void StretchDrawKeyed(HDC surface, int x, int y, int width, int height, const Graphic& graphic, const RECT& source);

// The anti-aliased strokes on a device context (for short strokes: they go pixel by pixel).
void AALine(HDC dc, int x1, int y1, int x2, int y2, Rgb color);
void AAArc(HDC dc, int x1, int y1, int x2, int y2, float startAngle, float endAngle, Rgb color);

// A PNG resource of the program (type "PNG"), decoded; empty when absent or broken.
Bitmap32 LoadPngResource(const wchar_t* name, const wchar_t* type = L"PNG");

}  // namespace orb
