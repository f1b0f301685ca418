#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "graphics/OrbGradFill.h"

using namespace orb;
using S = TOrbGradFillStyle;

namespace {

constexpr int kStyles = 32;
S styleAt(int i) { return static_cast<S>(i); }
std::string nameOf(S s) { return gradFillStyleType().names.at(static_cast<size_t>(s)); }

// Black to white makes ramp entry i the grey level i, so a pattern pixel's
// blue byte is its ramp index.
RgbImage greyPattern(S style) { return makeGradPattern(style, makeGradRamp(0x000000, 0xFFFFFF)); }
int idx(const RgbImage& image, int x, int y) { return static_cast<int>(image.at(x, y) & 0xFF); }
uint32_t grey(int level) { return rgbPixel(level, level, level); }

struct XY {
    int x, y;
};

// The plain definition of the scaled pattern, pixel by pixel, to hold the
// row-copying and column-sharing fill against.
uint32_t scaledPixel(const RgbImage& pattern, int64_t width, int64_t height, int64_t x, int64_t y) {
    return pattern.at(stretchSource(x, width, pattern.width), stretchSource(y, height, pattern.height));
}

// A filled target of the given size, black to white.
RgbImage filled(S style, int width, int height) {
    RgbImage image = RgbImage::create(width, height, 0x00ABCDEF);
    gradFill(PixelTarget::of(image), {0, 0, width, height}, 0x000000, 0xFFFFFF, style, nullptr);
    return image;
}

}  // namespace

// ---- the ramp -------------------------------------------------------------------

TEST(GradRamp, EndsAreExactlyTheTwoColoursInPixelOrder) {
    // Colours come in as 0x00BBGGRR and leave as 0x00RRGGBB.
    const uint32_t pairs[][2] = {
        {0x000000, 0xFFFFFF}, {0x332211, 0xCCDDEE}, {0xFFFFFF, 0x000001}, {0x0000FF, 0xFF0000}};
    for (auto [b, e] : pairs) {
        GradRamp r = makeGradRamp(b, e);
        EXPECT_EQ(r[0], rgbPixel(b & 0xFF, b >> 8 & 0xFF, b >> 16)) << std::hex << b;
        EXPECT_EQ(r[255], rgbPixel(e & 0xFF, e >> 8 & 0xFF, e >> 16)) << std::hex << e;
    }
}

TEST(GradRamp, EachChannelTruncatesTowardItsBeginValue) {
    struct Case {
        int begin, end, entry, expected;
    };
    const Case cases[] = {
        {0, 100, 128, 50}, {0, 100, 255, 100}, {0, 100, 254, 99}, {0, 100, 3, 1},
        {100, 0, 128, 50}, {100, 0, 3, 99},    {100, 0, 1, 100},  {100, 0, 254, 1},
        {255, 0, 77, 178}, {10, 11, 254, 10},  {11, 10, 254, 11}, {200, 200, 128, 200},
    };
    for (const Case& c : cases) {
        // The same steps on red, green and blue, each on its own.
        for (int shift : {0, 8, 16}) {
            auto u = [&](int v) { return static_cast<uint32_t>(v) << shift; };
            GradRamp r = makeGradRamp(u(c.begin), u(c.end));
            uint32_t expected = shift == 0   ? rgbPixel(c.expected, 0, 0)
                                : shift == 8 ? rgbPixel(0, c.expected, 0)
                                             : rgbPixel(0, 0, c.expected);
            EXPECT_EQ(r[static_cast<size_t>(c.entry)], expected)
                << c.begin << " to " << c.end << " entry " << c.entry << " shift " << shift;
        }
    }
}

TEST(GradRamp, FullRedDownToNothingCountsDownOnePerEntry) {
    GradRamp r = makeGradRamp(0x0000FF, 0x000000);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(r[static_cast<size_t>(i)], rgbPixel(255 - i, 0, 0)) << i;
}

TEST(GradRamp, SystemColoursAreLookedUpAndOtherHighBytesDropped) {
    std::vector<int> asked;
    SystemColorLookup lookup = [&](int index) {
        asked.push_back(index);
        return index == 15 ? 0x00302010u : 0x00FFFFFFu;
    };
    EXPECT_EQ(resolveColor(static_cast<Color>(0xFF00000F), lookup), 0x302010u);
    EXPECT_EQ(asked, std::vector<int>{15});
    EXPECT_EQ(resolveColor(kClNone, lookup), 0xFFFFFFu);
    EXPECT_EQ(resolveColor(0x02123456, lookup), 0x123456u);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(resolveColor(static_cast<Color>(0xFF000005), nullptr), 0u);

    // And through the whole routine: a button-face begin colour, resolved first.
    RgbImage image = RgbImage::create(1, 2);
    gradFill(PixelTarget::of(image), {0, 0, 1, 2}, kClBtnFace, 0x000000, S::agsLinearH, lookup);
    EXPECT_EQ(image.at(0, 0), rgbPixel(0x10, 0x20, 0x30));
    EXPECT_EQ(image.at(0, 1), 0u);
}

// ---- pattern geometry -----------------------------------------------------------

TEST(GradPattern, SizeWhereBeginAndEndLieAndHowOftenTheDarkestShows) {
    struct Case {
        S style;
        int width, height;
        std::vector<XY> darkest;  // every pixel of the lowest index
        int lowest;
        std::vector<XY> brightest;  // some pixels of index 255
    };
    const Case cases[] = {
        {S::agsLinearH, 1, 256, {{0, 0}}, 0, {{0, 255}}},
        {S::agsLinearV, 256, 1, {{0, 0}}, 0, {{255, 0}}},
        {S::agsReflectedH, 1, 512, {{0, 255}, {0, 256}}, 0, {{0, 0}, {0, 511}}},
        {S::agsReflectedV, 512, 1, {{255, 0}, {256, 0}}, 0, {{0, 0}, {511, 0}}},
        {S::agsRectangleC,
         512,
         512,
         {{255, 255}, {256, 255}, {255, 256}, {256, 256}},
         0,
         {{0, 0}, {511, 511}, {0, 300}, {300, 511}}},
        {S::agsRectangleL, 256, 512, {{0, 255}, {0, 256}}, 0, {{255, 256}, {0, 0}, {0, 511}}},
        {S::agsRectangleR, 256, 512, {{255, 255}, {255, 256}}, 0, {{0, 255}, {255, 0}, {255, 511}}},
        {S::agsRectangleT, 512, 256, {{255, 0}, {256, 0}}, 0, {{255, 255}, {0, 0}, {511, 0}}},
        {S::agsRectangleB, 512, 256, {{255, 255}, {256, 255}}, 0, {{255, 0}, {0, 255}, {511, 255}}},
        {S::agsRectangleLT, 256, 256, {{0, 0}}, 0, {{255, 0}, {0, 255}, {255, 255}}},
        {S::agsRectangleLB, 256, 256, {{0, 255}}, 0, {{0, 0}, {255, 255}}},
        {S::agsRectangleRT, 256, 256, {{255, 0}}, 0, {{0, 0}, {255, 255}}},
        {S::agsRectangleRB, 256, 256, {{255, 255}}, 0, {{0, 0}, {255, 0}, {0, 255}}},
        {S::agsRadialC,
         362,
         362,
         {{180, 180}, {181, 180}, {180, 181}, {181, 181}},
         0,
         {{0, 0}, {361, 0}, {0, 361}, {361, 361}}},
        {S::agsRadialL, 181, 362, {{0, 180}, {0, 181}}, 0, {{180, 0}, {180, 361}}},
        {S::agsRadialR, 181, 362, {{180, 180}, {180, 181}}, 0, {{0, 0}, {0, 361}}},
        {S::agsRadialT, 362, 181, {{180, 0}, {181, 0}}, 0, {{0, 180}, {361, 180}}},
        {S::agsRadialB, 362, 181, {{180, 180}, {181, 180}}, 0, {{0, 0}, {361, 0}}},
        {S::agsRadialLT, 181, 181, {{0, 0}}, 0, {{180, 180}}},
        {S::agsRadialLB, 181, 181, {{0, 180}}, 0, {{180, 0}}},
        {S::agsRadialRT, 181, 181, {{180, 0}}, 0, {{0, 180}}},
        {S::agsRadialRB, 181, 181, {{180, 180}}, 0, {{0, 0}}},
        {S::agsDiagonalLF, 128, 129, {{127, 0}}, 0, {{0, 128}}},
        {S::agsDiagonalLB, 128, 129, {{0, 0}}, 0, {{127, 128}}},
        {S::agsDiagonalRF, 256, 256, {}, 0, {{255, 0}, {0, 255}}},  // the whole diagonal, checked below
        {S::agsDiagonalRB, 256, 256, {}, 0, {{0, 0}, {255, 255}}},
        {S::agsArrowL, 129, 256, {{128, 127}, {128, 128}}, 0, {{0, 0}, {0, 255}}},
        {S::agsArrowR, 129, 256, {{0, 127}, {0, 128}}, 0, {{128, 0}, {128, 255}}},
        {S::agsArrowU, 256, 129, {{127, 128}, {128, 128}}, 0, {{0, 0}, {255, 0}}},
        {S::agsArrowD, 256, 129, {{127, 0}, {128, 0}}, 0, {{0, 128}, {255, 128}}},
        {S::agsDiamond,
         256,
         256,
         {{127, 127}, {128, 127}, {127, 128}, {128, 128}},
         1,
         {{0, 0}, {255, 0}, {0, 255}, {255, 255}}},
        {S::agsButterfly, 256, 256, {{0, 128}}, 0, {{127, 0}, {128, 0}, {128, 255}}},
    };
    ASSERT_EQ(std::size(cases), size_t{kStyles});
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.style));
        EXPECT_EQ(gradPatternSize(c.style).width, c.width);
        EXPECT_EQ(gradPatternSize(c.style).height, c.height);
        RgbImage p = greyPattern(c.style);
        ASSERT_EQ(p.width, c.width);
        ASSERT_EQ(p.height, c.height);

        int lowest = 255, highest = 0, lowestCount = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                int i = idx(p, x, y);
                if (i < lowest) lowest = i, lowestCount = 0;
                if (i == lowest) ++lowestCount;
                highest = std::max(highest, i);
            }
        EXPECT_EQ(lowest, c.lowest);
        EXPECT_EQ(highest, 255);
        if (!c.darkest.empty()) {
            EXPECT_EQ(lowestCount, static_cast<int>(c.darkest.size()));
        }
        for (XY d : c.darkest) EXPECT_EQ(idx(p, d.x, d.y), c.lowest) << d.x << "," << d.y;
        for (XY b : c.brightest) EXPECT_EQ(idx(p, b.x, b.y), 255) << b.x << "," << b.y;
    }
}

TEST(GradPattern, DiagonalBandsHaveTheirBeginColourAlongAWholeDiagonal) {
    RgbImage forward = greyPattern(S::agsDiagonalRF), backward = greyPattern(S::agsDiagonalRB);
    int onForward = 0, onBackward = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            onForward += idx(forward, x, y) == 0;
            onBackward += idx(backward, x, y) == 0;
        }
    EXPECT_EQ(onForward, 256);
    EXPECT_EQ(onBackward, 256);
    for (int i : {0, 77, 255}) {
        EXPECT_EQ(idx(forward, i, i), 0);
        EXPECT_EQ(idx(backward, i, 255 - i), 0);
    }
}

TEST(GradPattern, ChosenPixelsOfEachFamily) {
    struct Case {
        S style;
        int x, y, index;
    };
    const Case cases[] = {
        // Nested rectangles: the larger of the two axis distances.
        {S::agsRectangleC, 10, 300, 245},
        {S::agsRectangleC, 300, 260, 44},
        {S::agsRectangleL, 100, 400, 144},
        {S::agsRectangleB, 400, 200, 144},
        {S::agsRectangleRT, 200, 30, 55},
        // Circles: rounded to the nearest, not truncated (2.83 -> 3, 9.90 -> 10).
        {S::agsRadialLT, 2, 2, 3},
        {S::agsRadialLT, 7, 7, 10},
        {S::agsRadialLT, 1, 1, 1},
        {S::agsRadialLT, 30, 40, 50},
        {S::agsRadialLT, 100, 100, 141},
        {S::agsRadialC, 100, 50, 153},
        {S::agsRadialC, 0, 180, 180},
        {S::agsRadialC, 361, 181, 180},
        {S::agsRadialR, 90, 181, 90},
        {S::agsRadialB, 181, 0, 180},
        {S::agsRadialRB, 170, 100, 81},
        // Straight bands.
        {S::agsReflectedH, 0, 100, 155},
        {S::agsReflectedH, 0, 400, 144},
        {S::agsDiagonalLF, 50, 60, 137},
        {S::agsDiagonalLB, 50, 60, 110},
        {S::agsDiagonalRB, 10, 20, 225},
        {S::agsDiagonalRF, 10, 200, 190},
        // Chevrons: each half has its own formula.
        {S::agsArrowL, 10, 20, 225},
        {S::agsArrowL, 10, 200, 190},
        {S::agsArrowR, 10, 20, 117},
        {S::agsArrowR, 10, 200, 82},
        {S::agsArrowU, 20, 10, 225},
        {S::agsArrowU, 200, 10, 190},
        {S::agsArrowD, 20, 10, 117},
        {S::agsArrowD, 200, 10, 82},
        // Four quadrants each.
        {S::agsDiamond, 10, 20, 225},
        {S::agsDiamond, 200, 20, 180},
        {S::agsDiamond, 20, 200, 180},
        {S::agsDiamond, 200, 200, 145},
        {S::agsButterfly, 10, 20, 118},
        {S::agsButterfly, 200, 20, 163},
        {S::agsButterfly, 20, 200, 92},
        {S::agsButterfly, 200, 200, 128},
    };
    for (const Case& c : cases)
        EXPECT_EQ(idx(greyPattern(c.style), c.x, c.y), c.index) << nameOf(c.style) << " at " << c.x << "," << c.y;
}

TEST(GradPattern, MiddlesAreOffCentreTheWayTheIntegerGeometryMakesThem) {
    // The diamond's four middle pixels take entry 1; entry 0 never shows.
    RgbImage diamond = greyPattern(S::agsDiamond);
    for (XY m : {XY{127, 127}, XY{128, 127}, XY{127, 128}, XY{128, 128}}) EXPECT_EQ(idx(diamond, m.x, m.y), 1);

    // The butterfly: exact black only at the left edge's middle, grey 1 at the
    // right's; the centre and the corners take 127 or 128.
    RgbImage b = greyPattern(S::agsButterfly);
    struct Case {
        int x, y, index;
    };
    for (Case c :
         {Case{0, 128, 0}, Case{0, 127, 1}, Case{255, 127, 1}, Case{255, 128, 1}, Case{127, 0, 255}, Case{128, 0, 255},
          Case{127, 255, 254}, Case{128, 255, 255}, Case{127, 127, 128}, Case{128, 127, 128}, Case{127, 128, 127},
          Case{128, 128, 128}, Case{0, 0, 128}, Case{255, 0, 128}, Case{0, 255, 127}, Case{255, 255, 128}})
        EXPECT_EQ(idx(b, c.x, c.y), c.index) << c.x << "," << c.y;

    // Reflected and centred styles: the middle two rows are both the begin colour.
    RgbImage r = greyPattern(S::agsReflectedH);
    EXPECT_EQ(idx(r, 0, 254), 1);
    EXPECT_EQ(idx(r, 0, 257), 1);
}

TEST(GradPattern, EqualColoursGiveOneFlatColourForEveryStyle) {
    const uint32_t colour = 0x00336699;  // 0x00BBGGRR
    const uint32_t pixel = rgbPixel(0x99, 0x66, 0x33);
    for (int s = 0; s < kStyles; ++s) {
        RgbImage image = RgbImage::create(37, 23, 0x00ABCDEF);
        gradFill(PixelTarget::of(image), {0, 0, 37, 23}, colour, colour, styleAt(s), nullptr);
        EXPECT_TRUE(std::all_of(image.pixels.begin(), image.pixels.end(), [&](uint32_t p) { return p == pixel; }))
            << nameOf(styleAt(s));
    }
}

TEST(GradPattern, AStyleOutsideTheEnumerationDrawsAsTheFirst) {
    RgbImage odd = greyPattern(static_cast<S>(99)), first = greyPattern(S::agsLinearH);
    EXPECT_EQ(odd.width, first.width);
    EXPECT_EQ(odd.pixels, first.pixels);
}

// ---- scaling ----------------------------------------------------------------------

TEST(GradStretch, EvenlyRepeatsWhenGrowingAndEvenlyDropsWhenShrinking) {
    struct Case {
        int src, dst;
    };
    const Case cases[] = {{1, 1},     {1, 5},   {5, 1},      {256, 256},  {256, 512}, {256, 800}, {256, 3000},
                          {512, 100}, {512, 2}, {512, 3},    {362, 1000}, {129, 5},   {129, 130}, {130, 129},
                          {3, 10},    {10, 3},  {181, 4000}, {2, 3},      {3, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.src) + " onto " + std::to_string(c.dst));
        std::vector<int> map(static_cast<size_t>(c.dst));
        for (int d = 0; d < c.dst; ++d) map[static_cast<size_t>(d)] = stretchSource(d, c.dst, c.src);
        EXPECT_EQ(map.front(), 0);
        EXPECT_EQ(map.back(), c.dst == 1 ? 0 : c.src - 1);  // the far edge keeps the far edge
        EXPECT_TRUE(std::is_sorted(map.begin(), map.end()));
        if (c.dst >= c.src) {
            // Every source pixel shows, each as often as the others give or take one.
            std::vector<int> count(static_cast<size_t>(c.src));
            for (int s : map) ++count[static_cast<size_t>(s)];
            auto [lo, hi] = std::minmax_element(count.begin(), count.end());
            EXPECT_GE(*lo, c.dst / c.src);
            EXPECT_LE(*hi - *lo, 1);
        } else if (c.dst > 1) {
            // No source pixel twice, and the skipped ones spread evenly.
            std::vector<int> steps;
            for (size_t d = 1; d < map.size(); ++d) steps.push_back(map[d] - map[d - 1]);
            auto [lo, hi] = std::minmax_element(steps.begin(), steps.end());
            EXPECT_GE(*lo, 1);
            EXPECT_LE(*hi - *lo, 1);
        }
    }
}

TEST(GradStretch, TargetCornersTakeThePatternCorners) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {2, 2}, {3, 5}, {127, 128}, {128, 129}, {100, 7}, {511, 513}, {2000, 1}, {1, 2000}};
    // Styles whose four corners all differ, or differ in one place.
    for (S style : {S::agsDiagonalLB, S::agsButterfly, S::agsArrowR, S::agsRadialLT}) {
        RgbImage p = greyPattern(style);
        for (Size s : sizes) {
            SCOPED_TRACE(nameOf(style) + " " + std::to_string(s.w) + "x" + std::to_string(s.h));
            RgbImage t = filled(style, s.w, s.h);
            int farX = s.w == 1 ? 0 : p.width - 1, farY = s.h == 1 ? 0 : p.height - 1;
            EXPECT_EQ(t.at(0, 0), p.at(0, 0));
            EXPECT_EQ(t.at(s.w - 1, 0), p.at(farX, 0));
            EXPECT_EQ(t.at(0, s.h - 1), p.at(0, farY));
            EXPECT_EQ(t.at(s.w - 1, s.h - 1), p.at(farX, farY));
        }
    }
}

TEST(GradFill, VerticalLinearOn256RowsIsOneGreyPerRowAndOn512RowsTwoRowsEach) {
    RgbImage single = filled(S::agsLinearH, 7, 256);
    RgbImage twice = filled(S::agsLinearH, 7, 512);
    for (int y = 0; y < 256; ++y)
        for (int x : {0, 3, 6}) {
            ASSERT_EQ(single.at(x, y), grey(y)) << x << "," << y;
            ASSERT_EQ(twice.at(x, 2 * y), grey(y)) << x << "," << 2 * y;
            ASSERT_EQ(twice.at(x, 2 * y + 1), grey(y)) << x << "," << 2 * y + 1;
        }
}

TEST(GradFill, WideTargetsShowEveryRampEntryAsABandInOrder) {
    struct Case {
        S style;
        int width, height;
        int narrowest, widest;
    };
    // 800 / 256 = 3.1 and 3000 / 256 = 11.7 pixels a band.
    for (Case c : {Case{S::agsLinearV, 800, 3, 3, 4}, Case{S::agsLinearV, 3000, 1, 11, 12}}) {
        RgbImage t = filled(c.style, c.width, c.height);
        std::vector<int> bandWidth(256);
        int last = 0;
        for (int x = 0; x < c.width; ++x) {
            int level = static_cast<int>(t.at(x, c.height - 1) & 0xFF);
            ASSERT_GE(level, last) << x;
            ASSERT_EQ(t.at(x, 0), t.at(x, c.height - 1)) << x;
            last = level;
            ++bandWidth[static_cast<size_t>(level)];
        }
        auto [lo, hi] = std::minmax_element(bandWidth.begin(), bandWidth.end());
        EXPECT_EQ(*lo, c.narrowest) << c.width;
        EXPECT_EQ(*hi, c.widest) << c.width;
    }
}

TEST(GradFill, OneLineTargetsShowTheFirstRowOrColumnOfThePattern) {
    struct Case {
        S style;
        int width, height;
        uint32_t everywhere;
    };
    const Case cases[] = {
        {S::agsRectangleC, 3000, 1, grey(255)},  // the top row of nested rectangles is all edge
        {S::agsLinearV, 1, 3000, grey(0)},       // the first column of vertical bands
        {S::agsLinearH, 3000, 1, grey(0)},
        {S::agsRadialC, 1, 1, grey(255)},  // a single pixel is the top-left corner
        {S::agsDiagonalLF, 1, 1, grey(127)},
    };
    for (const Case& c : cases) {
        RgbImage t = filled(c.style, c.width, c.height);
        EXPECT_TRUE(std::all_of(t.pixels.begin(), t.pixels.end(), [&](uint32_t p) { return p == c.everywhere; }))
            << nameOf(c.style) << " " << c.width << "x" << c.height;
    }
    // A tall one-pixel column of horizontal bands still shows every grey.
    RgbImage column = filled(S::agsLinearH, 1, 3000);
    EXPECT_EQ(column.at(0, 0), grey(0));
    EXPECT_EQ(column.at(0, 2999), grey(255));
    EXPECT_EQ(column.at(0, 1500), grey(128));
}

TEST(GradFill, EmptyInvertedOrMissedRectanglesLeaveTheTargetAlone) {
    const uint32_t untouched = 0x00ABCDEF;
    const GradRect rects[] = {{10, 10, 10, 50}, {10, 10, 50, 10}, {50, 10, 10, 50},
                              {10, 50, 50, 10}, {0, 0, 0, 0},     {100, 0, 200, 80},
                              {-50, 0, 0, 80},  {0, 80, 100, 90}, {INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
    for (int s : {0, 4, 13, 31})
        for (const GradRect& r : rects) {
            RgbImage image = RgbImage::create(100, 80, untouched);
            gradFill(PixelTarget::of(image), r, 0, 0xFFFFFF, styleAt(s), nullptr);
            EXPECT_TRUE(
                std::all_of(image.pixels.begin(), image.pixels.end(), [&](uint32_t p) { return p == untouched; }))
                << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }
    // No pixels to draw on at all.
    gradFill(PixelTarget{}, {0, 0, 10, 10}, 0, 0xFFFFFF, S::agsRadialC, nullptr);
    EXPECT_TRUE(stretchImage(greyPattern(S::agsRadialC), 0, 5).pixels.empty());
    EXPECT_TRUE(stretchImage(greyPattern(S::agsRadialC), 5, -1).pixels.empty());
}

TEST(GradFill, AClippedRectangleShowsThePartOfTheWholeFill) {
    struct Case {
        S style;
        GradRect rect;
    };
    const Case cases[] = {
        {S::agsRadialC, {-50, -30, 250, 170}},  // larger than the target on all sides
        {S::agsButterfly, {10, 20, 60, 50}},    // inside: the rest stays as it was
        {S::agsArrowD, {70, 60, 1070, 1060}},   // hanging off the bottom right
        {S::agsReflectedV, {-400, 5, 30, 25}},  // shrunk horizontally, grown vertically
    };
    const uint32_t untouched = 0x00ABCDEF;
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.style));
        RgbImage target = RgbImage::create(100, 80, untouched);
        gradFill(PixelTarget::of(target), c.rect, 0, 0xFFFFFF, c.style, nullptr);
        const RgbImage pattern = greyPattern(c.style);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                bool inside = x >= c.rect.left && x < c.rect.right && y >= c.rect.top && y < c.rect.bottom;
                uint32_t expected = inside ? scaledPixel(pattern, c.rect.right - c.rect.left,
                                                         c.rect.bottom - c.rect.top, x - c.rect.left, y - c.rect.top)
                                           : untouched;
                ASSERT_EQ(target.at(x, y), expected) << x << "," << y;
            }
    }
}

TEST(GradFill, ARectangleSpanningTheWholeIntRangeShowsItsMiddle) {
    RgbImage image = RgbImage::create(4, 3, 0x00ABCDEF);
    gradFill(PixelTarget::of(image), {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0, 0xFFFFFF, S::agsLinearV, nullptr);
    // Pixel 0 lies 2^31 into a 2^32 - 1 wide rectangle: the middle band.
    for (uint32_t p : image.pixels) EXPECT_EQ(p, grey(128));
}

TEST(GradFill, EveryStyleAndSizeGivesThePatternPixelEachTargetPixelMapsTo) {
    struct Size {
        int w, h;
    };
    // Shrinking, growing, one of each, equal, one pixel more than the pattern, single lines.
    const Size sizes[] = {{5, 3},     {37, 600},  {700, 41}, {600, 530}, {256, 256},
                          {257, 130}, {129, 363}, {1, 700},  {700, 1}};
    for (int s = 0; s < kStyles; ++s) {
        const RgbImage pattern = greyPattern(styleAt(s));
        for (Size z : sizes) {
            SCOPED_TRACE(nameOf(styleAt(s)) + " " + std::to_string(z.w) + "x" + std::to_string(z.h));
            RgbImage fill = filled(styleAt(s), z.w, z.h);
            RgbImage stretched = stretchImage(pattern, z.w, z.h);
            for (int y = 0; y < z.h; ++y)
                for (int x = 0; x < z.w; ++x) {
                    uint32_t expected = scaledPixel(pattern, z.w, z.h, x, y);
                    ASSERT_EQ(fill.at(x, y), expected) << x << "," << y;
                    ASSERT_EQ(stretched.at(x, y), expected) << x << "," << y;
                }
        }
    }
}
