#include "graphics/GradFillWin.h"

#include <algorithm>
#include <vector>

namespace orb {

namespace {

// Pixels scaled per StretchDIBits call: small enough to stay in the cache and
// to keep a full-screen fill from needing a full-screen buffer.
constexpr int64_t kBandPixels = 64 * 1024;

}  // namespace

void GradFill(HDC dc, const RECT& rect, Color beginColor, Color endColor, TOrbGradFillStyle style) {
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (!dc || width <= 0 || height <= 0) return;

    int64_t x0 = rect.left, x1 = rect.right, y0 = rect.top, y1 = rect.bottom;
    RECT clip;
    switch (GetClipBox(dc, &clip)) {
        case NULLREGION: return;
        case ERROR: break;  // no clip box to be had (some metafile DCs): paint it all
        default:
            x0 = std::max<int64_t>(x0, clip.left);
            x1 = std::min<int64_t>(x1, clip.right);
            y0 = std::max<int64_t>(y0, clip.top);
            y1 = std::min<int64_t>(y1, clip.bottom);
    }
    if (x0 >= x1 || y0 >= y1) return;

    // The scaling is ours, not the system's stretch: the system's choice of
    // which rows and columns to drop when shrinking differs between versions,
    // and ours keeps the target's corners on the pattern's corners everywhere.
    const SystemColorLookup sysColor = [](int index) { return static_cast<uint32_t>(GetSysColor(index)); };
    const GradRamp ramp = makeGradRamp(resolveColor(beginColor, sysColor), resolveColor(endColor, sysColor));

    const int bandWidth = static_cast<int>(x1 - x0);
    const int bandRows = static_cast<int>(std::clamp<int64_t>(kBandPixels / bandWidth, 1, y1 - y0));
    std::vector<uint32_t> band(static_cast<size_t>(bandWidth) * static_cast<size_t>(bandRows));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bandWidth;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    // Palette displays get the system's halftone, which dithers instead of
    // snapping every ramp entry to the nearest of a few palette colours.
    const bool palette = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) <= 8;
    const int oldMode = SetStretchBltMode(dc, palette ? HALFTONE : COLORONCOLOR);
    POINT oldOrigin{};
    if (palette) SetBrushOrgEx(dc, 0, 0, &oldOrigin);

    for (int64_t y = y0; y < y1; y += bandRows) {
        const int rows = static_cast<int>(std::min<int64_t>(bandRows, y1 - y));
        paintGradPart(style, ramp, width, height, x0 - rect.left, y - rect.top, bandWidth, rows, band.data(),
                      bandWidth);
        info.bmiHeader.biHeight = -rows;  // top-down, as the rows lie in memory
        StretchDIBits(dc, static_cast<int>(x0), static_cast<int>(y), bandWidth, rows, 0, 0, bandWidth, rows,
                      band.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }

    if (palette) SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

}  // namespace orb
