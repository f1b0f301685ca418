#include <gtest/gtest.h>

#include <memory>

#include "graphics/OrbGraphics.h"
#include "tests/win/DibCanvas.h"

using namespace orb;
using Surface = test::DibCanvas;

namespace {

// A stored graphic made from pixels by hand: a 24-bit bottom-up BMP file.
std::unique_ptr<Graphic> bmpGraphic(int w, int h, const std::vector<uint32_t>& rgbTopDown) {
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> f(54 + static_cast<size_t>(stride) * h, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, static_cast<uint32_t>(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = rgbTopDown[static_cast<size_t>(y * w + x)];
            size_t at = 54 + static_cast<size_t>(h - 1 - y) * stride + x * 3;
            f[at] = static_cast<uint8_t>(p);
            f[at + 1] = static_cast<uint8_t>(p >> 8);
            f[at + 2] = static_cast<uint8_t>(p >> 16);
        }
    auto g = GraphicRegistry::instance().create("TBitmap");
    g->setFileBytes(std::move(f));
    return g;
}

}  // namespace

TEST(PictureDraw, TilesRepeatUnscaledFromTheTopLeftAndRunOverTheEdge) {
    // 2 x 2 tile: red, green / blue, white (as 0x00RRGGBB).
    auto tile = bmpGraphic(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    Surface s(7, 5);
    TileGraphic(s.dc(), RECT{1, 1, 6, 4}, *tile);
    EXPECT_EQ(s.rgbAt(0, 0), 0u);  // outside the rectangle
    EXPECT_EQ(s.rgbAt(1, 1), 0xFF0000u);
    EXPECT_EQ(s.rgbAt(2, 1), 0x00FF00u);
    EXPECT_EQ(s.rgbAt(3, 2), 0x0000FFu);
    EXPECT_EQ(s.rgbAt(6, 1), 0x00FF00u);  // the last column runs past the right edge
    EXPECT_EQ(s.rgbAt(6, 4), 0xFFFFFFu);  // and the last row past the bottom
    Surface untouched(3, 3);
    TileGraphic(untouched.dc(), RECT{0, 0, 3, 3}, *GraphicRegistry::instance().create("TBitmap"));
    EXPECT_EQ(untouched.rgbAt(1, 1), 0u);
}

TEST(PictureDraw, RegionFromPictureCutsTheTopLeftColour) {
    auto shape = bmpGraphic(3, 2, {0xFF00FF, 0x123456, 0xFF00FF, 0x123456, 0x123456, 0xFF00FF});
    RegionHandle region = RegionFromPicture(*shape);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 0, 1));
    EXPECT_FALSE(PtInRegion(region.get(), 2, 1));
}

namespace {

// An icon file of square images, each filled with one colour (0x00RRGGBB).
std::unique_ptr<Graphic> iconGraphic(const std::vector<std::pair<int, uint32_t>>& images) {
    std::vector<uint8_t> f(6 + 16 * images.size(), 0);
    auto put16 = [&](std::vector<uint8_t>& b, size_t at, uint32_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](std::vector<uint8_t>& b, size_t at, uint32_t v) {
        put16(b, at, v);
        put16(b, at + 2, v >> 16);
    };
    put16(f, 2, 1);
    put16(f, 4, static_cast<uint32_t>(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        auto [size, colour] = images[i];
        size_t maskStride = ((static_cast<size_t>(size) + 31) / 32) * 4;
        std::vector<uint8_t> dib(40 + static_cast<size_t>(size) * size * 4 + maskStride * size, 0);
        put32(dib, 0, 40);
        put32(dib, 4, static_cast<uint32_t>(size));
        put32(dib, 8, static_cast<uint32_t>(size * 2));
        put16(dib, 12, 1);
        put16(dib, 14, 32);
        // Colours without an alpha byte are opaque.
        uint32_t pixel = colour >> 24 ? colour : 0xFF000000u | colour;
        for (int p = 0; p < size * size; ++p) put32(dib, 40 + static_cast<size_t>(p) * 4, pixel);
        size_t e = 6 + 16 * i;
        f[e] = static_cast<uint8_t>(size);
        f[e + 1] = static_cast<uint8_t>(size);
        put16(f, e + 4, 1);
        put16(f, e + 6, 32);
        put32(f, e + 8, static_cast<uint32_t>(dib.size()));
        put32(f, e + 12, static_cast<uint32_t>(f.size()));
        f.insert(f.end(), dib.begin(), dib.end());
    }
    auto g = GraphicRegistry::instance().create("TIcon");
    g->setFileBytes(std::move(f));
    return g;
}

}  // namespace

TEST(PictureDraw, IconBestFitPicksTheImageForTheRectangle) {
    auto icon = iconGraphic({{16, 0xFF0000}, {32, 0x00FF00}, {48, 0x0000FF}});
    Surface plain(40, 40), stretched(40, 40);
    DrawIconBestFit(plain.dc(), RECT{0, 0, 40, 40}, *icon, 0);
    EXPECT_EQ(plain.rgbAt(0, 0), 0x00FF00u);    // the 32-pixel image, unscaled at the top-left
    EXPECT_EQ(plain.rgbAt(31, 31), 0x00FF00u);
    EXPECT_EQ(plain.rgbAt(35, 35), 0u);
    DrawIconBestFit(stretched.dc(), RECT{0, 0, 40, 40}, *icon, kFitStretch);
    EXPECT_EQ(stretched.rgbAt(0, 0), 0x0000FFu);  // the 48-pixel image, shrunk into the whole rectangle
    EXPECT_EQ(stretched.rgbAt(39, 39), 0x0000FFu);
}

TEST(PictureDraw, MetafilesAreTiledByTheSystem) {
    // An enhanced metafile of our own: a 10 x 10 green square.
    HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    RECT square{0, 0, 10, 10};
    GdiObject green(CreateSolidBrush(RGB(0, 255, 0)));
    FillRect(recorder, &square, static_cast<HBRUSH>(green.get()));
    HENHMETAFILE recorded = CloseEnhMetaFile(recorder);
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(recorded, 0, nullptr));
    GetEnhMetaFileBits(recorded, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(recorded);
    int w = 0, h = 0;
    ASSERT_TRUE(metafileFromBytes(bytes, w, h));
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    auto graphic = GraphicRegistry::instance().create("TMetafile");
    graphic->setFileBytes(bytes);
    Surface s(30, 30);
    TileGraphic(s.dc(), RECT{0, 0, 30, 30}, *graphic);
    EXPECT_EQ(s.rgbAt(2, 2), 0x00FF00u);
    EXPECT_EQ(s.rgbAt(25, 25), 0x00FF00u);
    EXPECT_FALSE(metafileFromBytes({1, 2, 3}, w, h));
}

TEST(PictureDraw, KeyedStretchLeavesTheKeyColourOut) {
    // Source 2 x 1: magenta (the key) and blue, stretched to 4 x 2 over a white surface.
    auto source = bmpGraphic(2, 1, {0xFF00FF, 0x0000FF});
    for (auto [key, leftColour] : {std::pair{Rgb{0xFF00FF}, 0xFFFFFFu}, std::pair{Rgb{0x123456}, 0xFF00FFu}}) {
        Surface s(4, 2, 0xFFFFFF);
        Surface src(2, 1);
        src.set(0, 0, 0xFF00FF);
        src.set(1, 0, 0x0000FF);
        Surface::Released released(src);
        StretchBltKeyed(s.dc(), src.bitmap(), RECT{0, 0, 2, 1}, 0, 0, 4, 2, key);
        EXPECT_EQ(s.rgbAt(0, 0), leftColour) << std::hex << key;   // the key shows the surface, other colours copy
        EXPECT_EQ(s.rgbAt(3, 1), 0x0000FFu) << std::hex << key;
    }
    Surface drawn(4, 2, 0x00FF00);
    StretchDrawKeyed(drawn.dc(), 0, 0, 4, 2, *source, RECT{0, 0, 2, 1});  // the top-left pixel is the key
    EXPECT_EQ(drawn.rgbAt(0, 0), 0x00FF00u);
    EXPECT_EQ(drawn.rgbAt(3, 0), 0x0000FFu);
}

TEST(PictureDraw, AlphaIconBlendsAtItsNaturalSize) {
    auto icon = iconGraphic({{16, 0x80FF0000u}});  // half-transparent red
    Surface s(30, 30, 0x0000FF);
    DrawAlphaIcon(s.dc(), 4, 4, *icon);
    uint32_t mixed = s.rgbAt(10, 10);
    EXPECT_NEAR(static_cast<int>(mixed >> 16), 128, 2);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 127, 2);
    EXPECT_EQ(s.rgbAt(3, 3), 0x0000FFu);
    EXPECT_EQ(s.rgbAt(20, 20), 0x0000FFu);
    EXPECT_NE(s.rgbAt(19, 19), 0x0000FFu);
}
