#include "graphics/OrbGraphics.h"

#include <algorithm>
#include <cstring>

#include "framework/Colors.h"
#include "framework/DrawnControl.h"
#include "framework/OffscreenBitmap.h"
#include "graphics/PictureDecode.h"
#include "graphics/PictureRoutines.h"

namespace orb {

namespace {

BITMAPINFO topDown32(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// DIB pixels are 0x00RRGGBB; the routines work in 0x00BBGGRR.
Rgb swapRedBlue(uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }

}  // namespace

std::vector<Rgb> bitmapPixels(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    width = height = 0;
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return {};
    width = info.bmWidth;
    height = info.bmHeight;
    std::vector<Rgb> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO bi = topDown32(width, height);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        width = height = 0;
        return {};
    }
    for (auto& p : pixels) p = swapRedBlue(p);
    return pixels;
}

RegionHandle regionFromRuns(const std::vector<IntRect>& runs) {
    RegionHandle result(CreateRectRgn(0, 0, 0, 0));
    // One region per run is slow for big shapes; batches of 2000 rectangles are not.
    constexpr size_t kBatch = 2000;
    std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + kBatch * sizeof(RECT));
    for (size_t start = 0; start < runs.size(); start += kBatch) {
        size_t n = std::min(kBatch, runs.size() - start);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(n);
        data->rdh.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
        RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        auto* rects = reinterpret_cast<RECT*>(data->Buffer);
        for (size_t i = 0; i < n; ++i) {
            const IntRect& r = runs[start + i];
            rects[i] = {r.left, r.top, r.right, r.bottom};
            bounds.left = std::min<LONG>(bounds.left, r.left);
            bounds.top = std::min<LONG>(bounds.top, r.top);
            bounds.right = std::max<LONG>(bounds.right, r.right);
            bounds.bottom = std::max<LONG>(bounds.bottom, r.bottom);
        }
        data->rdh.rcBound = bounds;
        RegionHandle batch(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
        if (batch) CombineRgn(result.get(), result.get(), batch.get(), RGN_OR);
    }
    return result;
}

RegionHandle RegionFromBitmap(HBITMAP bitmap, Rgb key, int tolerance) {
    int width, height;
    std::vector<Rgb> pixels = bitmapPixels(bitmap, width, height);
    return regionFromRuns(opaqueRuns(width, height, pixels.data(), key, tolerance));
}

void BlendBitmaps(HBITMAP over, HBITMAP under, HDC surface, int weight) {
    int ow, oh, uw, uh;
    std::vector<Rgb> top = bitmapPixels(over, ow, oh);
    std::vector<Rgb> bottom = bitmapPixels(under, uw, uh);
    if (bottom.empty()) return;
    // Over covers what it covers; the rest of under shows as it is.
    std::vector<Rgb> out = bottom;
    int w = std::min(ow, uw), h = std::min(oh, uh);
    for (int y = 0; y < h; ++y)
        blendRow(top.data() + static_cast<size_t>(y) * ow, bottom.data() + static_cast<size_t>(y) * uw,
                 out.data() + static_cast<size_t>(y) * uw, static_cast<size_t>(w), weight);
    for (auto& p : out) p = swapRedBlue(p);
    BITMAPINFO bi = topDown32(uw, uh);
    SetDIBitsToDevice(surface, 0, 0, static_cast<DWORD>(uw), static_cast<DWORD>(uh), 0, 0, 0, static_cast<UINT>(uh),
                      out.data(), &bi, DIB_RGB_COLORS);
}

void BlendWithColor(HDC dc, const RECT& rect, const Control& control, Color color) {
    OffscreenBitmap background(control.width(), control.height());
    OffscreenBitmap tint(control.width(), control.height());
    OffscreenBitmap mixed(control.width(), control.height());
    if (!background.valid() || !tint.valid() || !mixed.valid()) return;
    PaintParentBackground(control, background.dc());
    COLORREF rgb = colorToRgb(color);
    tint.fill((GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb));
    {
        OffscreenBitmap::Released a(background), b(tint);
        BlendBitmaps(background.bitmap(), tint.bitmap(), mixed.dc(), 128);
    }
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, mixed.dc(), rect.left, rect.top,
           SRCCOPY);
}

void DrawAlphaIcon(HDC dc, int x, int y, const Graphic& icon) {
    DecodedPicture decoded = decodeGraphic(icon);
    if (!decoded.frames.empty()) drawBitmap32(dc, x, y, decoded.frames[0].image);
}

void CaptureScreenRect(HDC dest, const RECT& r) {
    HDC screen = GetDC(nullptr);
    BitBlt(dest, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
}

void DitherRect(HDC dc, const RECT& rect, Rgb brushColor) {
    // Rows alternate 0xAA and 0x55; white where set, the brush colour elsewhere, ANDed in.
    const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    GdiObject pattern(CreateBitmap(8, 8, 1, 1, rows));
    GdiObject brush(CreatePatternBrush(static_cast<HBITMAP>(pattern.get())));
    COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    COLORREF oldBack = SetBkColor(dc, brushColor);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    SelectedObject selected(dc, brush.get());
    PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0x00A000C9);  // DPa
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

void drawBitmap32(HDC dc, const IntRect& dest, const Bitmap32& image) {
    if (image.empty() || dest.right <= dest.left || dest.bottom <= dest.top) return;
    int w = image.width(), h = image.height();
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    bool opaque = std::all_of(image.pixels().begin(), image.pixels().end(), [](uint32_t p) { return alphaOf(p) == 255; });
    BITMAPINFO bi = topDown32(w, h);
    if (opaque) {
        int oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, dest.left, dest.top, dw, dh, 0, 0, w, h, image.pixels().data(), &bi, DIB_RGB_COLORS, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        return;
    }
    // The system blends premultiplied pixels only.
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section) return;
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < image.pixels().size(); ++i) {
        uint32_t p = image.pixels()[i];
        uint32_t a = alphaOf(p);
        out[i] = a << 24 | (redOf(p) * a / 255) << 16 | (greenOf(p) * a / 255) << 8 | (blueOf(p) * a / 255);
    }
    MemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), section.get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, dest.left, dest.top, dw, dh, source.get(), 0, 0, w, h, blend);
}

void drawBitmap32(HDC dc, int x, int y, const Bitmap32& image) {
    drawBitmap32(dc, IntRect{x, y, x + image.width(), y + image.height()}, image);
}

void DrawIconBestFit(HDC dc, const RECT& rect, const Graphic& graphic, int flags) {
    IntRect target{rect.left, rect.top, rect.right, rect.bottom};
    Bitmap32 image;
    std::vector<IconEntry> entries = readIconDirectory(graphic.fileBytes());
    if (!entries.empty()) {
        std::vector<IconImageInfo> infos(entries.begin(), entries.end());
        size_t chosen = chooseIconImage(infos, target.right - target.left, target.bottom - target.top,
                                        GetDeviceCaps(dc, BITSPIXEL), (flags & kFitStretch) != 0);
        DecodedPicture d = decodeIconImage(graphic.fileBytes(), chosen);
        if (d.ok()) image = std::move(d.frames.front().image);
    } else {
        image = PictureToRGBA(graphic);
    }
    if (image.empty()) return;
    drawBitmap32(dc, fitImage(target, image.width(), image.height(), flags), image);
}

EnhMetafile metafileFromBytes(const std::vector<uint8_t>& bytes, int& width, int& height) {
    width = height = 0;
    EnhMetafile meta;
    bool enhanced = bytes.size() >= 44 && std::memcmp(bytes.data() + 40, " EMF", 4) == 0;
    if (enhanced) {
        meta.reset(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
    } else {
        // A placeable header of 22 bytes may stand before the metafile itself.
        size_t skip = bytes.size() >= 22 && bytes[0] == 0xD7 && bytes[1] == 0xCD && bytes[2] == 0xC6 && bytes[3] == 0x9A
                          ? 22 : 0;
        if (bytes.size() > skip)
            meta.reset(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - skip), bytes.data() + skip, nullptr, nullptr));
    }
    if (!meta) return meta;
    ENHMETAHEADER header{};
    if (GetEnhMetaFileHeader(meta.get(), sizeof header, &header)) {
        width = header.rclBounds.right - header.rclBounds.left + 1;
        height = header.rclBounds.bottom - header.rclBounds.top + 1;
    }
    return meta;
}

void TileGraphic(HDC dc, const RECT& rect, const Graphic& graphic) {
    if (graphic.classInfo().name == "TMetafile") {
        int w, h;
        EnhMetafile meta = metafileFromBytes(graphic.fileBytes(), w, h);
        if (!meta || w <= 0 || h <= 0) return;
        for (int y = rect.top; y < rect.bottom; y += h)
            for (int x = rect.left; x < rect.right; x += w) {
                RECT cell{x, y, x + w, y + h};
                PlayEnhMetaFile(dc, meta.get(), &cell);
            }
        return;
    }
    Bitmap32 image = PictureToRGBA(graphic);
    if (image.empty() || image.width() <= 0 || image.height() <= 0) return;
    for (int y = rect.top; y < rect.bottom; y += image.height())
        for (int x = rect.left; x < rect.right; x += image.width()) drawBitmap32(dc, x, y, image);
}

RegionHandle RegionFromPicture(const Graphic& graphic) { return regionFromRuns(pictureRegionRuns(graphic)); }

void StretchBltKeyed(HDC surface, HBITMAP bitmap, const RECT& source, int destX, int destY, int destWidth,
                     int destHeight, Rgb key) {
    int sw = source.right - source.left, sh = source.bottom - source.top;
    if (sw <= 0 || sh <= 0 || destWidth <= 0 || destHeight <= 0) return;
    MemoryDc sourceDc(CreateCompatibleDC(surface));
    SelectedObject sourceSelected(sourceDc.get(), bitmap);
    // One bit per pixel: set where the source has the key colour.
    GdiObject maskBitmap(CreateBitmap(sw, sh, 1, 1, nullptr));
    MemoryDc maskDc(CreateCompatibleDC(surface));
    SelectedObject maskSelected(maskDc.get(), maskBitmap.get());
    COLORREF oldBack = SetBkColor(sourceDc.get(), key);
    BitBlt(maskDc.get(), 0, 0, sw, sh, sourceDc.get(), source.left, source.top, SRCCOPY);
    SetBkColor(sourceDc.get(), oldBack);
    // The source with its key pixels black, so that adding it changes nothing there.
    GdiObject cleanBitmap(CreateCompatibleBitmap(surface, sw, sh));
    MemoryDc cleanDc(CreateCompatibleDC(surface));
    SelectedObject cleanSelected(cleanDc.get(), cleanBitmap.get());
    BitBlt(cleanDc.get(), 0, 0, sw, sh, sourceDc.get(), source.left, source.top, SRCCOPY);
    COLORREF oldText = SetTextColor(cleanDc.get(), RGB(0, 0, 0));
    oldBack = SetBkColor(cleanDc.get(), RGB(255, 255, 255));
    BitBlt(cleanDc.get(), 0, 0, sw, sh, maskDc.get(), 0, 0, 0x00220326);  // DSna: blacken the key pixels
    SetTextColor(cleanDc.get(), oldText);
    SetBkColor(cleanDc.get(), oldBack);
    int oldMode = SetStretchBltMode(surface, HALFTONE);
    POINT oldOrigin;
    SetBrushOrgEx(surface, 0, 0, &oldOrigin);
    COLORREF surfaceText = SetTextColor(surface, RGB(0, 0, 0));
    COLORREF surfaceBack = SetBkColor(surface, RGB(255, 255, 255));
    StretchBlt(surface, destX, destY, destWidth, destHeight, maskDc.get(), 0, 0, sw, sh, SRCAND);    // clear the opaque part
    StretchBlt(surface, destX, destY, destWidth, destHeight, cleanDc.get(), 0, 0, sw, sh, SRCPAINT);  // add the source
    SetTextColor(surface, surfaceText);
    SetBkColor(surface, surfaceBack);
    SetBrushOrgEx(surface, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(surface, oldMode);
}

void StretchDrawKeyed(HDC surface, int x, int y, int width, int height, const Graphic& graphic, const RECT& source) {
    Bitmap32 image = PictureToRGBA(graphic);
    if (image.empty()) return;
    BITMAPINFO bi = topDown32(image.width(), image.height());
    void* bits = nullptr;
    GdiObject section(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section) return;
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < image.pixels().size(); ++i) out[i] = image.pixels()[i] & 0x00FFFFFFu;
    uint32_t corner = image.pixel(0, 0);
    Rgb key = static_cast<Rgb>(redOf(corner)) | static_cast<Rgb>(greenOf(corner)) << 8 |
              static_cast<Rgb>(blueOf(corner)) << 16;
    StretchBltKeyed(surface, static_cast<HBITMAP>(section.get()), source, x, y, width, height, key);
}

namespace {

// Pixels of a device context as the stroke routines see them.
class DcSurface final : public PixelSurface {
public:
    explicit DcSurface(HDC dc) : dc_(dc) {}
    bool contains(int x, int y) const override { return PtVisible(dc_, x, y) != FALSE; }
    Rgb pixel(int x, int y) const override { return GetPixel(dc_, x, y) & 0xFFFFFF; }
    void setPixel(int x, int y, Rgb color) override { SetPixelV(dc_, x, y, color); }

private:
    HDC dc_;
};

}  // namespace

void AALine(HDC dc, int x1, int y1, int x2, int y2, Rgb color) {
    DcSurface surface(dc);
    AALine(surface, x1, y1, x2, y2, color);
}

void AAArc(HDC dc, int x1, int y1, int x2, int y2, float startAngle, float endAngle, Rgb color) {
    DcSurface surface(dc);
    AAArc(surface, x1, y1, x2, y2, startAngle, endAngle, color);
}

Bitmap32 LoadPngResource(const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(nullptr, name, type);
    if (!found) return {};
    auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    if (!data) return {};
    DecodedPicture d = decodePicture(std::span<const uint8_t>(data, SizeofResource(nullptr, found)));
    return d.ok() ? std::move(d.frames.front().image) : Bitmap32{};
}

}  // namespace orb
