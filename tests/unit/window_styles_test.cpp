// How the main window's style settings change its layout and what they ask of
// the real window: full-screen arithmetic, shaped windows, opacity, the order
// of the design-mode switch, and which cursor each control points at.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "actions/HintAppearance.h"
#include "app/ControlClasses.h"
#include "app/OrbForm.h"
#include "core/ComponentReader.h"
#include "core/TextForm.h"

using namespace orb;

namespace {

struct FakeWindow : FormWindowEffects {
    void screenSize(int32_t& w, int32_t& h) const override {
        w = 1024;
        h = 768;
    }
    void applyShape(const Picture&) override { calls.push_back("shape"); }
    void applyAlphaBlend(bool on, uint8_t value) override {
        calls.push_back(on ? "alpha " + std::to_string(value) : "alpha off");
    }
    void applyTopMost(bool on) override { calls.push_back(on ? "topmost" : "not topmost"); }
    void showAboutItem(bool shown) override { calls.push_back(shown ? "about" : "no about"); }
    void copyWindowImage(bool) override {}
    void printWindowImage(bool) override {}
    std::vector<std::string> calls;
};

std::unique_ptr<TfrmMain> readForm(const std::string& text, FakeWindow& window) {
    auto form = std::make_unique<TfrmMain>(nullptr);
    form->setEffects(&window);
    ClassRegistry registry;
    RegisterControlClasses(registry);
    auto bytes = objectTreeToBytes(parseTextForm(text));
    MemoryView stream(bytes);
    readComponentStream(stream, *form, registry);
    window.calls.clear();
    return form;
}

// A plain 24-bit BMP of the given size: a usable window shape.
std::unique_ptr<Graphic> bmpOfSize(int w, int h) {
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> f(54 + static_cast<size_t>(stride) * h, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    f[0] = 'B', f[1] = 'M';
    put32(2, static_cast<uint32_t>(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    f[26] = 1, f[28] = 24;
    auto g = GraphicRegistry::instance().create("TBitmap");
    g->setFileBytes(std::move(f));
    return g;
}

const char* kFullScreen =
    "object F: TfrmMain\n  DesignMode = True\n  WindowStyle = awsFullScreen\n  ClientWidth = 640\n"
    "  ClientHeight = 480\n  object B: TOrbButton\n    Left = 10\n    Top = 10\n    Width = 50\n    Height = 20\n"
    "  end\nend\n";

}  // namespace

TEST(WindowStyles, FullScreenOverlapsEveryEdgeByOnePixelAndCentresTheControls) {
    FakeWindow window;
    auto form = readForm(kFullScreen, window);
    form->setFrameExtent(0, 0);  // no frame once borderless
    form->setDesignMode(false);
    EXPECT_EQ(form->borderStyle(), 0);
    EXPECT_EQ(form->left(), -1);
    EXPECT_EQ(form->top(), -1);
    EXPECT_EQ(form->clientWidth(), 1026);
    EXPECT_EQ(form->clientHeight(), 770);
    auto* button = dynamic_cast<Control*>(form->findComponent("B"));
    EXPECT_EQ(button->left(), 203);
    EXPECT_EQ(button->top(), 155);

    form->setWindowStyle(TOrbWindowStyle::awsNormal);  // leaving puts everything back
    EXPECT_EQ(form->clientWidth(), 640);
    EXPECT_EQ(form->clientHeight(), 480);
    EXPECT_EQ(button->left(), 10);
    EXPECT_EQ(button->top(), 10);
    EXPECT_EQ(form->borderStyle(), 1);
}

TEST(WindowStyles, ShapedWindowsTakeThePictureSizeOnlyWhenThePictureCanShapeThem) {
    struct Case {
        const char* graphicClass;
        bool shaped;
    };
    for (Case c : {Case{"TBitmap", true}, Case{"TJPEGImage", false}, Case{"TIcon", false}}) {
        FakeWindow window;
        auto form = readForm("object F: TfrmMain\n  DesignMode = True\n  WindowStyle = awsShaped\n"
                             "  ClientWidth = 640\n  ClientHeight = 480\nend\n",
                             window);
        std::unique_ptr<Graphic> g;
        if (std::string(c.graphicClass) == "TBitmap") {
            g = bmpOfSize(300, 200);
        } else {
            g = GraphicRegistry::instance().create(c.graphicClass);
            g->setFileBytes({1, 2, 3});
        }
        form->picture.setGraphic(std::move(g));
        window.calls.clear();
        form->setDesignMode(false);
        EXPECT_EQ(form->borderStyle(), c.shaped ? 0 : 1) << c.graphicClass;
        EXPECT_EQ(form->clientWidth(), c.shaped ? 300 : 640) << c.graphicClass;
        EXPECT_EQ(form->clientHeight(), c.shaped ? 200 : 480) << c.graphicClass;
        bool shapeAsked = std::find(window.calls.begin(), window.calls.end(), "shape") != window.calls.end();
        EXPECT_EQ(shapeAsked, c.shaped) << c.graphicClass;
    }
}

TEST(WindowStyles, OpacityTopMostAndAboutFollowTheDesignModeSwitchInOrder) {
    struct Case {
        int alpha;
        bool topMost, hideAbout;
        std::vector<std::string> calls;
    };
    for (const Case& c : std::vector<Case>{
             {50, false, false, {"alpha 127", "no about", "about"}},
             {100, true, false, {"alpha off", "topmost", "no about", "about"}},
             {0, false, true, {"alpha 0", "no about", "no about"}},
         }) {
        FakeWindow window;
        auto form = readForm("object F: TfrmMain\n  DesignMode = True\n  AlphaValue = " + std::to_string(c.alpha) +
                                 "\n  TopMost = " + (c.topMost ? "True" : "False") +
                                 "\n  HideAboutMenu = " + (c.hideAbout ? "True" : "False") + "\nend\n",
                             window);
        form->setDesignMode(false);
        EXPECT_EQ(window.calls, c.calls) << "alpha " << c.alpha;
    }
}

TEST(WindowStyles, EachControlPointsAtTheCursorSlotItsKindAsksFor) {
    FakeWindow window;
    auto form = readForm(
        "object F: TfrmMain\n  DesignMode = True\n"
        "  object Text: TOrbTextBox\n  end\n  object Rich: TOrbRichEdit\n  end\n  object Pic: TOrbImage\n  end\nend\n",
        window);
    form->setDesignMode(false);
    auto cursorOf = [&](const char* name) { return dynamic_cast<Control*>(form->findComponent(name))->cursor(); };
    EXPECT_EQ(cursorOf("Text"), kSlotEditCursor);
    EXPECT_EQ(cursorOf("Rich"), kCrDefault);  // no project edit or hot cursor
    EXPECT_EQ(cursorOf("Pic"), kSlotNormalCursor);
    EXPECT_EQ(form->cursor(), kSlotNormalCursor);
    form->setDesignMode(true);
    EXPECT_EQ(cursorOf("Text"), kCrDefault);
    EXPECT_EQ(form->cursor(), kCrDefault);
}

TEST(WindowImage, PrintedImageScalesToThePrinterThenShrinksIntoThePrintableArea) {
    struct Case {
        const char* what;
        PrinterPage page;
        PrintPlacement expected;
    };
    for (const Case& c : std::vector<Case>{
             // 800 x 600 at 96 ppi on 600 dpi is 5000 x 3750, which fits an A4 page (4960 x 7016).
             {"fits after scaling", {6000, 7016, 0, 0, 600, 600}, {500, 1633, 5000, 3750}},
             // Narrower printable width: shrunk to 4760 wide, the height following.
             {"shrunk to the width", {4960, 7016, 100, 100, 600, 600}, {100, 1723, 4760, 3570}},
             // Landscape-ish page whose printable height is the limit.
             {"shrunk to the height", {7016, 3000, 50, 50, 600, 600}, {1574, 50, 3867, 2900}},
         }) {
        PrintPlacement p = fitWindowImageOnPage(800, 600, 96, c.page);
        EXPECT_EQ(p.left, c.expected.left) << c.what;
        EXPECT_EQ(p.top, c.expected.top) << c.what;
        EXPECT_EQ(p.width, c.expected.width) << c.what;
        EXPECT_EQ(p.height, c.expected.height) << c.what;
    }
}

TEST(HintSettings, TheProjectsHintLookReachesTheSharedRecordAndTimingFollowsTheMode) {
    FakeWindow window;
    auto form = readForm("object F: TfrmMain\n  DesignMode = True\n  HintColor = clLime\n  HintOpacity = 150\n"
                         "  HintFont.Name = 'Tahoma'\n  UseCustomizedHint = True\n  CustHintPause = 0\n"
                         "  CustHintHidePause = 9000\nend\n",
                         window);
    EXPECT_EQ(hintAppearance().faceColor, 0x00FF00);
    EXPECT_EQ(hintAppearance().opacity, 100);  // clamped by the form
    EXPECT_EQ(hintAppearance().font.name, "Tahoma");
    EXPECT_EQ(hintAppearance().direction, TOrbPosition::apsRightTop);  // the form's default, not the record's

    struct Case {
        bool design;
        HintTiming expected;
    };
    for (Case c : {Case{true, {500, 2500, 50, false}}, Case{false, {0, 9000, 100, true}}}) {
        form->setDesignMode(c.design);
        ApplyHintSettings(*form);
        EXPECT_EQ(hintTiming().pause, c.expected.pause) << c.design;
        EXPECT_EQ(hintTiming().hidePause, c.expected.hidePause) << c.design;
        EXPECT_EQ(hintTiming().shortPause, c.expected.shortPause) << c.design;
        EXPECT_EQ(hintTiming().programHintWindow, c.expected.programHintWindow) << c.design;
    }
}
