#include <gtest/gtest.h>

#include <vector>

#include "graphics/PixelRoutines.h"

using namespace orb;

namespace {

class Surface final : public PixelSurface {
public:
    Surface(int w, int h, Rgb fill) : w_(w), h_(h), pixels_(static_cast<size_t>(w * h), fill) {}
    bool contains(int x, int y) const override { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Rgb pixel(int x, int y) const override { return pixels_[static_cast<size_t>(y * w_ + x)]; }
    void setPixel(int x, int y, Rgb c) override { pixels_[static_cast<size_t>(y * w_ + x)] = c; }
    int w_, h_;
    std::vector<Rgb> pixels_;
};

constexpr Rgb kWhite = 0xFFFFFF, kRed = 0x0000FF;

}  // namespace

TEST(PixelRoutines, GraphicKindsByExtension) {
    EXPECT_EQ(GraphicClassForExtension(L".JPEG"), "TJPEGImage");
    EXPECT_EQ(GraphicClassForExtension(L".jpg"), "TJPEGImage");
    EXPECT_EQ(GraphicClassForExtension(L".Png"), "TPNGObject");
    EXPECT_EQ(GraphicClassForExtension(L".pcx"), "TJvPcx");
    EXPECT_EQ(GraphicClassForExtension(L".emf"), "TMetafile");
    EXPECT_EQ(GraphicClassForExtension(L".txt"), std::nullopt);
    EXPECT_EQ(GraphicClassForExtension(L""), std::nullopt);
}

TEST(PixelRoutines, BlendColorTruncatesPerChannel) {
    EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 1, 2), 0x7F7F7Fu);
    EXPECT_EQ(BlendColor(0x0000FF, 0xFF0000, 0, 4), 0x0000FFu);
    EXPECT_EQ(BlendColor(0x0000FF, 0xFF0000, 4, 4), 0xFF0000u);
    EXPECT_EQ(BlendColor(0x000010, 0x000020, 1, 0), 0x000020u);  // no steps counts as one
}

TEST(PixelRoutines, MasterAlphaBlendEndsAreExactAndMiddleMixes) {
    const Rgb over[] = {0x102030, 0xFFFFFF, 0x000000};
    const Rgb under[] = {0xA0B0C0, 0x000000, 0xFFFFFF};
    Rgb out[3];
    blendRow(over, under, out, 3, 0);
    EXPECT_EQ(std::vector<Rgb>(out, out + 3), std::vector<Rgb>(under, under + 3));
    blendRow(over, under, out, 3, 255);
    EXPECT_EQ(std::vector<Rgb>(out, out + 3), std::vector<Rgb>(over, over + 3));
    blendRow(over, under, out, 3, 128);
    EXPECT_EQ(out[1], 0x808080u);
    EXPECT_EQ(out[2], 0x7F7F7Fu);
}

TEST(PixelRoutines, OpaqueRunsLeaveOutTheKeyColour) {
    const Rgb oneRow[] = {kWhite, kRed, kWhite};
    EXPECT_EQ(opaqueRuns(3, 1, oneRow, kWhite, 0), (std::vector<IntRect>{{1, 0, 2, 1}}));
    const Rgb shape[] = {kRed, kRed, kWhite, kRed,  //
                         kWhite, kWhite, kWhite, kWhite,  //
                         kWhite, kRed, kRed, kRed};
    EXPECT_EQ(opaqueRuns(4, 3, shape, kWhite, 0), (std::vector<IntRect>{{0, 0, 2, 1}, {3, 0, 4, 1}, {1, 2, 4, 3}}));
    EXPECT_TRUE(opaqueRuns(3, 1, oneRow, 0x0000F0, 0x10).size() == 2);  // red lies within key + tolerance
    const Rgb allKey[] = {kWhite, kWhite};
    EXPECT_TRUE(opaqueRuns(2, 1, allKey, kWhite, 0).empty());
}

TEST(PixelRoutines, HorizontalLineCoversItsRowOnlyInEitherDirection) {
    for (auto [x1, x2] : {std::pair{0, 10}, std::pair{10, 0}}) {
        Surface s(12, 3, kWhite);
        AALine(s, x1, 0, x2, 0, kRed);
        for (int x = 0; x <= 10; ++x) EXPECT_EQ(s.pixel(x, 0), kRed) << x;
        EXPECT_EQ(s.pixel(11, 0), kWhite);
        for (int x = 0; x < 12; ++x) EXPECT_EQ(s.pixel(x, 1), kWhite) << x;
    }
}

TEST(PixelRoutines, SlopedLineSharesCoverageBetweenTwoPixels) {
    Surface s(5, 5, kWhite);
    AALine(s, 0, 0, 4, 2, 0x000000);  // slope one half: x = 1 sits half way between rows 0 and 1
    EXPECT_EQ(s.pixel(1, 0), 0x7F7F7Fu);
    EXPECT_EQ(s.pixel(1, 1), 0x7F7F7Fu);
    EXPECT_EQ(s.pixel(2, 1), 0x000000u);  // exactly on row 1
    EXPECT_EQ(s.pixel(2, 2), 0xFFFFFFu);
}

TEST(PixelRoutines, QuarterArcStaysInItsQuarter) {
    Surface s(12, 12, kWhite);
    AAArc(s, 0, 0, 10, 10, 180.0f, 270.0f, kRed);
    bool any = false;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if (s.pixel(x, y) != kWhite) {
                any = true;
                EXPECT_LE(x, 5) << x << "," << y;
                EXPECT_LE(y, 5) << x << "," << y;
            }
    EXPECT_TRUE(any);
}

TEST(PixelRoutines, IconImageChoice) {
    const std::vector<IconImageInfo> images = {{16, 16, 32}, {32, 32, 32}, {48, 48, 32}};
    EXPECT_EQ(chooseIconImage(images, 40, 40, 32, false), 1u);
    EXPECT_EQ(chooseIconImage(images, 40, 40, 32, true), 2u);
    EXPECT_EQ(chooseIconImage(images, 8, 8, 32, false), 0u);  // none fits: the first
    const std::vector<IconImageInfo> depths = {{32, 32, 4}, {32, 32, 32}, {32, 32, 8}};
    EXPECT_EQ(chooseIconImage(depths, 32, 32, 32, false), 1u);  // equal size: the deepest
    EXPECT_EQ(chooseIconImage(depths, 32, 32, 8, false), 2u);   // but not deeper than the display
    EXPECT_EQ(chooseIconImage({}, 32, 32, 32, true), 0u);
}

TEST(PixelRoutines, FittingAPictureIntoARectangle) {
    const IntRect target{10, 20, 110, 70};  // 100 x 50
    EXPECT_EQ(fitImage(target, 40, 40, 0), (IntRect{10, 20, 50, 60}));
    EXPECT_EQ(fitImage(target, 40, 40, kFitCentre), (IntRect{40, 25, 80, 65}));
    EXPECT_EQ(fitImage(target, 40, 40, kFitStretch), target);
    EXPECT_EQ(fitImage(target, 40, 40, kFitStretch | kFitKeepAspect), (IntRect{35, 20, 85, 70}));
    EXPECT_EQ(fitImage(target, 400, 100, kFitStretch | kFitKeepAspect), (IntRect{10, 32, 110, 57}));
}
