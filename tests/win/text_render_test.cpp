#include <gtest/gtest.h>

#include <set>

#include "framework/Handles.h"
#include "graphics/OrbTextRender.h"

using namespace orb;

namespace {

struct TextCanvas {
    TextCanvas() {
        dc.reset(CreateCompatibleDC(nullptr));
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -60, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<uint32_t*>(bits);
        oldBitmap = SelectObject(dc.get(), bitmap.get());
        LOGFONTW lf{};
        lf.lfHeight = -16;
        wcscpy(lf.lfFaceName, L"Tahoma");
        font.reset(CreateFontIndirectW(&lf));
        oldFont = SelectObject(dc.get(), font.get());
        for (int i = 0; i < 200 * 60; ++i) pixels[i] = 0xFFFFFF;
        SetTextColor(dc.get(), RGB(0, 0, 0));
    }
    ~TextCanvas() {
        SelectObject(dc.get(), oldFont);
        SelectObject(dc.get(), oldBitmap);
    }
    std::set<uint32_t> colours(int x0, int y0, int x1, int y1) const {
        GdiFlush();
        std::set<uint32_t> seen;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) seen.insert(pixels[y * 200 + x] & 0xFFFFFF);
        return seen;
    }
    MemoryDc dc;
    GdiObject bitmap, font;
    HGDIOBJ oldBitmap = nullptr, oldFont = nullptr;
    uint32_t* pixels = nullptr;
};

}  // namespace

TEST(TextRender, MeasuresLineByLineInBothModes) {
    TextCanvas c;
    for (bool antiAlias : {false, true}) {
        int w1, h1, w2, h2, w0, h0;
        MeasureText(c.dc.get(), L"Menu", antiAlias, 0, w1, h1);
        MeasureText(c.dc.get(), L"Menu\r\nMenu entry", antiAlias, 0, w2, h2);
        MeasureText(c.dc.get(), L"", antiAlias, 0, w0, h0);
        EXPECT_GT(w1, 0) << antiAlias;
        EXPECT_GT(h1, 0) << antiAlias;
        EXPECT_GT(w2, w1) << antiAlias;  // the wider of the two lines
        EXPECT_NEAR(h2, 2 * h1, 2) << antiAlias;
        EXPECT_EQ(w0, 0);
        EXPECT_EQ(h0, 0);
    }
}

TEST(TextRender, DrawsInTheTextColourWhereItWasAsked) {
    for (bool antiAlias : {false, true}) {
        TextCanvas c;
        DrawTextAt(c.dc.get(), L"WWW", 100, 20, 0, antiAlias);
        EXPECT_EQ(c.colours(0, 0, 95, 60), std::set<uint32_t>{0xFFFFFF}) << "left of the text, " << antiAlias;
        auto inked = c.colours(100, 20, 200, 60);
        EXPECT_TRUE(inked.count(0x000000) || inked.size() > 2) << "no text drawn, " << antiAlias;
    }
}

TEST(TextRender, AntiAliasedTextHasIntermediateShades) {
    if (!vectorTextAvailable()) GTEST_SKIP() << "no vector library on this system";
    TextCanvas c;
    DrawTextInBox(c.dc.get(), L"Anti-aliased", 0, 0, 200, 60, 0, true);
    auto seen = c.colours(0, 0, 200, 60);
    size_t shades = 0;
    for (uint32_t v : seen) shades += v != 0xFFFFFF && v != 0x000000;
    EXPECT_GT(shades, 3u);
}
