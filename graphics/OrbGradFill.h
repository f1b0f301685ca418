#pragma once
// Two-colour gradients of the 32 TOrbGradFillStyle shapes, without the system.
//
// A gradient is never computed per target pixel. A 256-entry colour ramp is
// built, a small pattern of fixed size per style (at most 512 x 512) holds one
// ramp entry per pixel, and the pattern is scaled onto the target by plain
// nearest-pixel sampling. The visible banding on large areas and the slightly
// off-centre middles of some styles come from that, and are meant.
//
// Pixels here are one uint32_t each, 0x00RRGGBB with the top byte zero: on a
// little-endian machine the bytes B, G, R, 0 of a 32-bit top-down DIB, so
// rows go to the system as they are (Bitmap32 uses the same layout).
// Colours coming in are project colours, 0x00BBGGRR or a system colour
// reference; they pass through resolveColor before any arithmetic.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Identifiers.h"
#include "graphics/OrbTypes.h"

namespace orb {

constexpr uint32_t rgbPixel(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // rows top to bottom, width pixels each

    static RgbImage create(int width, int height, uint32_t fill = 0);
    uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// A writable window onto someone else's 32-bit pixels (a DIB section, a
// Bitmap32); stride counts pixels, not bytes.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;

    static PixelTarget of(RgbImage& image) { return {image.pixels.data(), image.width, image.height, image.width}; }
};

// Right and bottom exclusive, as the system's rectangles are.
struct GradRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Given the system colour index (the low byte of a 0xFF0000nn reference),
// answers the current colour as 0x00BBGGRR.
using SystemColorLookup = std::function<uint32_t(int index)>;

// A project colour as 0x00BBGGRR. The high byte of anything that is not a
// system colour reference is dropped, as the system's own colour macros do;
// without a lookup, system colours count as black.
uint32_t resolveColor(Color color, const SystemColorLookup& systemColor);

// Entry 0 is exactly begin, entry 255 exactly end; inputs are resolved
// 0x00BBGGRR colours, entries are pixels (0x00RRGGBB).
using GradRamp = std::array<uint32_t, 256>;
GradRamp makeGradRamp(uint32_t beginBgr, uint32_t endBgr);

struct PatternSize {
    int width = 0;
    int height = 0;
};
// Styles outside the enumeration are drawn as agsLinearH, the stored default.
PatternSize gradPatternSize(TOrbGradFillStyle style);
RgbImage makeGradPattern(TOrbGradFillStyle style, const GradRamp& ramp);

// The source pixel (along one axis) that target pixel dst of dstLen takes
// when srcLen source pixels are scaled onto dstLen. Growing, every source
// pixel is repeated evenly (exactly k times for a k-fold size); shrinking,
// pixels are dropped evenly and the first and last target pixels keep the
// first and last source pixels, so a target's corners show the source's corners.
int stretchSource(int64_t dst, int64_t dstLen, int srcLen);

// src scaled to width x height; empty for a size of zero or less.
RgbImage stretchImage(const RgbImage& src, int width, int height);

// Part [fromX, fromX + width) x [fromY, fromY + height) of makeGradPattern's
// image scaled to dstWidth x dstHeight, written to out, without making that
// image: only the pattern pixels the part shows are computed. The part must
// lie inside the scaled size; a clipped or banded target paints just its part.
void paintGradPart(TOrbGradFillStyle style, const GradRamp& ramp, int64_t dstWidth, int64_t dstHeight, int64_t fromX,
                   int64_t fromY, int width, int height, uint32_t* out, ptrdiff_t outStride);

// The whole routine onto a pixel target: resolve, ramp, pattern, scale into
// rect. Pixels of rect outside the target are left out, the visible ones are
// those the whole rectangle would have; an empty or inverted rect draws nothing.
void gradFill(PixelTarget target, const GradRect& rect, Color beginColor, Color endColor, TOrbGradFillStyle style,
              const SystemColorLookup& systemColor);

}  // namespace orb
