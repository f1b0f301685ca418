#include <gtest/gtest.h>

#include "graphics/OrbGraphics.h"
#include "tests/win/DibCanvas.h"

using namespace orb;

using test::DibCanvas;

TEST(OrbGraphics, RegionFromBitmapKeepsOnlyTheOpaquePixels) {
    DibCanvas c(3, 1, 0xFFFFFF);
    c.set(1, 0, 0xFF0000);
    RegionHandle region;
    {
        DibCanvas::Released released(c);
        region = RegionFromBitmap(c.bitmap(), 0xFFFFFF, 0);
    }
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
    DibCanvas over(4, 2, 0xFF0000), under(4, 2, 0x0000FF), out(4, 2);  // red over blue
    DibCanvas::Released freeOver(over), freeUnder(under);
    for (auto [weight, expected] : {std::pair{0, Rgb{0xFF0000}}, std::pair{255, Rgb{0x0000FF}},
                                    std::pair{128, Rgb{0x7F0080}}}) {
        BlendBitmaps(over.bitmap(), under.bitmap(), out.dc(), weight);
        EXPECT_EQ(out.colorRefAt(3, 1), expected) << weight;
    }
}

TEST(OrbGraphics, DitherDarkensEveryOtherPixel) {
    DibCanvas c(4, 4, 0xFFFFFF);
    DitherRect(c.dc(), {0, 0, 4, 4}, 0x00FF00);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(c.colorRefAt(x, y), (x + y) % 2 == 0 ? 0x00FF00u : 0xFFFFFFu) << x << "," << y;
}

TEST(OrbGraphics, StrokesDrawOnADeviceContext) {
    DibCanvas c(12, 12, 0xFFFFFF);
    AALine(c.dc(), 0, 0, 10, 0, 0x0000FF);
    for (int x = 0; x <= 10; ++x) EXPECT_EQ(c.colorRefAt(x, 0), 0x0000FFu) << x;
    EXPECT_EQ(c.colorRefAt(5, 1), 0xFFFFFFu);
    DibCanvas arc(12, 12, 0xFFFFFF);
    AAArc(arc.dc(), 0, 0, 10, 10, 180.0f, 270.0f, 0x0000FF);
    bool drawn = false;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if (arc.colorRefAt(x, y) != 0xFFFFFFu) {
                drawn = true;
                EXPECT_TRUE(x <= 5 && y <= 5) << x << "," << y;
            }
    EXPECT_TRUE(drawn);
}
