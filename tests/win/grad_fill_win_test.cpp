#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/Handles.h"
#include "graphics/GradFillWin.h"

using namespace orb;
using S = TOrbGradFillStyle;

namespace {

constexpr uint32_t kUntouched = 0x00ABCDEF;

// A memory DC over a 32-bit top-down DIB section whose pixels we can read.
struct DibCanvas {
    DibCanvas(int w, int h) : width(w), height(h), dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        bits = static_cast<uint32_t*>(pixels);
        old = SelectObject(dc.get(), bitmap.get());
        std::fill_n(bits, static_cast<size_t>(w) * static_cast<size_t>(h), kUntouched);
    }
    ~DibCanvas() { SelectObject(dc.get(), old); }
    uint32_t at(int x, int y) const {
        GdiFlush();
        return bits[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] & 0x00FFFFFF;
    }

    int width, height;
    MemoryDc dc;
    GdiObject bitmap;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
};

// What the platform-free routine paints for the same rectangle on a target of the canvas's size.
RgbImage expectedFill(int w, int h, const RECT& r, Color begin, Color end, S style) {
    RgbImage image = RgbImage::create(w, h, kUntouched);
    gradFill(PixelTarget::of(image), {r.left, r.top, r.right, r.bottom}, begin, end, style,
             [](int index) { return static_cast<uint32_t>(GetSysColor(index)); });
    return image;
}

std::string nameOf(S s) { return gradFillStyleType().names.at(static_cast<size_t>(s)); }

}  // namespace

TEST(GradFillWin, PaintsTheSamePixelsAsThePlatformFreeFillAndNothingElse) {
    struct Case {
        S style;
        RECT rect;
    };
    const Case cases[] = {
        {S::agsRectangleC, {10, 20, 110, 70}},     // shrunk from 512 x 512
        {S::agsRadialC, {5, 5, 605, 405}},         // grown, several bands of rows
        {S::agsButterfly, {-40, -30, 200, 150}},   // hanging off the top left
        {S::agsArrowR, {500, 400, 900, 700}},      // hanging off the bottom right
        {S::agsLinearV, {0, 0, 640, 480}},         // the whole canvas
        {S::agsDiagonalLF, {300, 100, 301, 400}},  // one column
        {S::agsReflectedH, {20, 450, 620, 451}},   // one row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(nameOf(c.style));
        DibCanvas canvas(640, 480);
        GradFill(canvas.dc.get(), c.rect, 0x00102030, 0x00F0E0D0, c.style);
        RgbImage expected = expectedFill(640, 480, c.rect, 0x00102030, 0x00F0E0D0, c.style);
        int mismatches = 0;
        for (int y = 0; y < 480 && mismatches < 5; ++y)
            for (int x = 0; x < 640 && mismatches < 5; ++x)
                if (canvas.at(x, y) != expected.at(x, y)) {
                    ADD_FAILURE() << "at " << x << "," << y << std::hex << ": " << canvas.at(x, y) << " expected "
                                  << expected.at(x, y);
                    ++mismatches;
                }
    }
}

TEST(GradFillWin, SystemColoursAreTheCurrentOnes) {
    DibCanvas canvas(4, 256);
    GradFill(canvas.dc.get(), {0, 0, 4, 256}, kClBtnFace, kClWindowText, S::agsLinearH);
    auto pixelOf = [](COLORREF c) { return rgbPixel(GetRValue(c), GetGValue(c), GetBValue(c)); };
    EXPECT_EQ(canvas.at(0, 0), pixelOf(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(canvas.at(3, 255), pixelOf(GetSysColor(COLOR_WINDOWTEXT)));
}

TEST(GradFillWin, KeepsToTheClipAreaAndTheLogicalCoordinates) {
    DibCanvas canvas(200, 150);
    HDC dc = canvas.dc.get();
    SetViewportOrgEx(dc, 30, 20, nullptr);  // logical (0,0) is pixel (30,20)
    IntersectClipRect(dc, 10, 10, 60, 40);  // logical, so pixels (40,30)-(90,60)
    const RECT rect{0, 0, 120, 100};        // pixels (30,20)-(150,120)
    GradFill(dc, rect, 0x000000, 0xFFFFFF, S::agsRadialLT);

    RgbImage whole = expectedFill(120, 100, rect, 0x000000, 0xFFFFFF, S::agsRadialLT);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            bool shown = x >= 40 && x < 90 && y >= 30 && y < 60;
            uint32_t expected = shown ? whole.at(x - 30, y - 20) : kUntouched;
            ASSERT_EQ(canvas.at(x, y), expected) << x << "," << y;
        }
}

TEST(GradFillWin, LeavesTheDeviceContextAsItFoundIt) {
    DibCanvas canvas(64, 64);
    HDC dc = canvas.dc.get();
    GdiObject pen(CreatePen(PS_DASH, 1, RGB(1, 2, 3)));
    GdiObject brush(CreateSolidBrush(RGB(4, 5, 6)));
    GdiObject font(CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    SelectedObject p(dc, pen.get()), b(dc, brush.get()), f(dc, font.get());
    SetStretchBltMode(dc, BLACKONWHITE);
    SetBrushOrgEx(dc, 3, 5, nullptr);

    GradFill(dc, {0, 0, 64, 64}, 0x0000FF, 0xFF0000, S::agsDiamond);

    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen.get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush.get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.get());
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    POINT origin{};
    GetBrushOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 3);
    EXPECT_EQ(origin.y, 5);
    // And it did paint: a diamond's corners are the end colour, blue.
    EXPECT_EQ(canvas.at(0, 0), rgbPixel(0, 0, 255));
}

TEST(GradFillWin, EmptyOrInvertedRectanglesPaintNothing) {
    for (RECT r : {RECT{10, 10, 10, 50}, RECT{10, 10, 50, 10}, RECT{50, 50, 10, 10}, RECT{300, 0, 400, 50}}) {
        DibCanvas canvas(100, 80);
        GradFill(canvas.dc.get(), r, 0, 0xFFFFFF, S::agsRadialC);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) ASSERT_EQ(canvas.at(x, y), kUntouched) << r.left << "," << r.top;
    }
}
