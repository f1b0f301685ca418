#pragma once
// The platform-free arithmetic of the picture routines: blends, the opaque
// runs that shaped windows are made of, anti-aliased strokes, the choice of an
// icon image and the fitting of a picture into a rectangle.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

using Rgb = uint32_t;  // 0x00BBGGRR, system colours already resolved

struct IntRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const IntRect&) const = default;
};

// The graphic class a file extension (with its dot, any case) selects; none for others.
std::optional<std::string> GraphicClassForExtension(std::wstring_view extension);

// Per channel trunc(c1 + (c2 - c1) * step / steps); steps 0 counts as 1.
Rgb BlendColor(Rgb c1, Rgb c2, int step, int steps);

// Master-alpha blend of two rows of opaque pixels: 255 gives over, 0 gives under.
void blendRow(const Rgb* over, const Rgb* under, Rgb* out, size_t count, int weight);

// Rows of pixels (top-down, 0x00BBGGRR) outside [key, key + tolerance] in at
// least one channel, as one-pixel-high rectangles of the longest runs.
std::vector<IntRect> opaqueRuns(int width, int height, const Rgb* pixels, Rgb key, int tolerance);

// A surface the strokes read and write pixel by pixel.
class PixelSurface {
public:
    virtual ~PixelSurface() = default;
    virtual bool contains(int x, int y) const = 0;
    virtual Rgb pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, Rgb color) = 0;
};

void AALine(PixelSurface& surface, int x1, int y1, int x2, int y2, Rgb color);
void AAArc(PixelSurface& surface, int x1, int y1, int x2, int y2, float startAngle, float endAngle, Rgb color);

// One image of a multi-image icon, as far as choosing matters.
struct IconImageInfo {
    int width = 0, height = 0, bitsPerPixel = 0;
};
// The image to draw into a W x H rectangle on a display of the given depth.
size_t chooseIconImage(const std::vector<IconImageInfo>& images, int width, int height, int displayBits, bool stretch);

inline constexpr int kFitCentre = 1, kFitStretch = 2, kFitKeepAspect = 4;
// Where an image of imageWidth x imageHeight goes in target for the fit flags.
IntRect fitImage(const IntRect& target, int imageWidth, int imageHeight, int flags);

}  // namespace orb
