#include <gtest/gtest.h>

#include "graphics/OrbGraphics.h"

using namespace orb;

namespace {

// A 32-bit DIB section with its own memory DC, for painting and reading back.
struct Canvas {
    Canvas(int w, int h) : width(w), height(h) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<uint32_t*>(bits);
        dc.reset(CreateCompatibleDC(nullptr));
        old = SelectObject(dc.get(), bitmap.get());
    }
    ~Canvas() { SelectObject(dc.get(), old); }
    HBITMAP hbitmap() const { return static_cast<HBITMAP>(bitmap.get()); }
    Rgb at(int x, int y) const {  // as 0x00BBGGRR
        GdiFlush();
        uint32_t v = pixels[y * width + x];
        return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
    }
    void fill(Rgb c) {
        for (int i = 0; i < width * height; ++i) pixels[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    int width, height;
    GdiObject bitmap;
    MemoryDc dc;
    HGDIOBJ old = nullptr;
    uint32_t* pixels = nullptr;
};

}  // namespace

TEST(OrbGraphics, RegionFromBitmapKeepsOnlyTheOpaquePixels) {
    Canvas c(3, 1);
    c.fill(0xFFFFFF);
    SetPixel(c.dc.get(), 1, 0, RGB(255, 0, 0));
    GdiFlush();
    SelectObject(c.dc.get(), c.old);  // a bitmap is read while no DC holds it
    RegionHandle region = RegionFromBitmap(c.hbitmap(), 0xFFFFFF, 0);
    c.old = SelectObject(c.dc.get(), c.bitmap.get());
    RECT box;
    ASSERT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 2);
    EXPECT_EQ(box.bottom, 1);
}

TEST(OrbGraphics, RegionsOfManyRunsAreBuiltInBatches) {
    std::vector<IntRect> runs;
    for (int y = 0; y < 2500; ++y) runs.push_back({y % 2, y, y % 2 + 1, y + 1});  // a checker column
    RegionHandle region = regionFromRuns(runs);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 1, 2499));  // beyond the first batch
    EXPECT_FALSE(PtInRegion(region.get(), 0, 2499));
    RegionHandle none = regionFromRuns({});
    RECT box;
    EXPECT_EQ(GetRgnBox(none.get(), &box), NULLREGION);
}

TEST(OrbGraphics, BlendBitmapsWeightsTheTwoPictures) {
    Canvas over(4, 2), under(4, 2), out(4, 2);
    over.fill(0x0000FF);
    under.fill(0xFF0000);
    SelectObject(over.dc.get(), over.old);
    SelectObject(under.dc.get(), under.old);
    for (auto [weight, expected] : {std::pair{0, Rgb{0xFF0000}}, std::pair{255, Rgb{0x0000FF}},
                                    std::pair{128, Rgb{0x7F0080}}}) {
        BlendBitmaps(over.hbitmap(), under.hbitmap(), out.dc.get(), weight);
        EXPECT_EQ(out.at(3, 1), expected) << weight;
    }
    over.old = SelectObject(over.dc.get(), over.bitmap.get());
    under.old = SelectObject(under.dc.get(), under.bitmap.get());
}

TEST(OrbGraphics, DitherDarkensEveryOtherPixel) {
    Canvas c(4, 4);
    c.fill(0xFFFFFF);
    DitherRect(c.dc.get(), {0, 0, 4, 4}, 0x00FF00);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(c.at(x, y), (x + y) % 2 == 0 ? 0x00FF00u : 0xFFFFFFu) << x << "," << y;
}
