#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "DibCanvas.h"
#include "app/OrbForm.h"
#include "controls/OrbButton.h"
#include "framework/Colors.h"
#include "framework/FormWindow.h"

using namespace orb;
using orb::test::DibCanvas;

namespace {

constexpr Color kPage = 0x00008000;  // green
constexpr Color kFace = 0x000000FF, kOver = 0x00FF0000, kDown = 0x0000FFFF, kBorder = 0x00FF00FF;
constexpr int kLeft = 10, kTop = 10, kW = 100, kH = 30;
constexpr Color kUnchecked = -1;

// A page with one button, painted the way the window composes it.
struct Scene {
    Scene() {
        form.setColor(kPage);
        form.setClientWidth(200);
        form.setClientHeight(60);
        form.setPeer(std::make_unique<FormWindow>(form, L"TButtonPaintTest"));
        button.setParent(&form);
        button.setBounds(kLeft, kTop, kW, kH);
        button.setColor(kFace);
        button.overColor = kOver;
        button.downColor = kDown;
        button.borderColor = kBorder;
    }
    ~Scene() { button.setParent(nullptr); }
    DibCanvas& paint() {
        static_cast<FormWindow*>(form.peer())->paintBackground(canvas.dc());
        paintDrawnChildren(form, canvas.dc());
        return canvas;
    }
    // In the button's coordinates, as 0x00BBGGRR.
    Color at(int x, int y) const { return static_cast<Color>(canvas.colorRefAt(kLeft + x, kTop + y)); }
    // The bounding box of the button's pixels of one colour, if any.
    std::optional<RECT> extentOf(Color c) const {
        std::optional<RECT> box;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                if (at(x, y) != c) continue;
                if (!box) box = RECT{x, y, x + 1, y + 1};
                box->left = std::min<LONG>(box->left, x);
                box->top = std::min<LONG>(box->top, y);
                box->right = std::max<LONG>(box->right, x + 1);
                box->bottom = std::max<LONG>(box->bottom, y + 1);
            }
        return box;
    }

    TOrbForm form{nullptr};
    TOrbButton button{nullptr};
    DibCanvas canvas{200, 60};
};

Color sys(int index) { return static_cast<Color>(GetSysColor(index)); }

enum class State { Rest, Hovered, Pressed };

}  // namespace

// Face colour away from the caption, and the corner pixels that tell the
// frame: raised is light top-left and dark bottom-right, sunken the reverse.
TEST(ButtonPaint, FaceAndFrameOfEveryStyleInEveryState) {
    using enum TOrbButtonStyle;
    const Color light = sys(COLOR_BTNHIGHLIGHT), dark = sys(COLOR_BTNSHADOW);
    struct Case {
        TOrbButtonStyle style;
        State state;
        Color face, topLeft, bottomRight;
    };
    const Color flatFace = kFace;
    std::vector<Case> cases = {
        {absNormal, State::Rest, kFace, light, dark},
        {absNormal, State::Hovered, kOver, light, dark},
        {absNormal, State::Pressed, kDown, dark, light},
        {absFlat, State::Rest, flatFace, kBorder, kBorder},
        {absFlat, State::Hovered, kOver, light, dark},
        {absFlat, State::Pressed, kDown, dark, light},
        {absSolid, State::Rest, kPage, kPage, kPage},
        {absSolid, State::Hovered, kOver, light, dark},
        {absSolid, State::Pressed, kDown, dark, light},
        {absTransparent, State::Rest, kPage, kPage, kPage},
        {absTransparent, State::Hovered, kPage, light, dark},
        {absTransparent, State::Pressed, kPage, dark, light},
        {absNoBorder, State::Hovered, kPage, kPage, kPage},
        {absNoBorder, State::Pressed, kPage, kPage, kPage},
        {absHotSpot, State::Pressed, kPage, kPage, kPage},
        {absWindows, State::Rest, sys(COLOR_BTNFACE), kUnchecked, kUnchecked},
    };
    for (const Case& c : cases) {
        Scene s;
        s.button.setCaption(L"Go");
        s.button.style = c.style;
        s.button.mouseInside = c.state != State::Rest;
        s.button.pressed = c.state == State::Pressed;
        s.paint();
        SCOPED_TRACE(testing::Message() << buttonStyleType().names[static_cast<size_t>(c.style)] << " state "
                                        << static_cast<int>(c.state));
        EXPECT_EQ(s.at(4, kH / 2), c.face);
        if (c.topLeft != kUnchecked) {
            EXPECT_EQ(s.at(0, 0), c.topLeft);
        }
        if (c.bottomRight != kUnchecked) {
            EXPECT_EQ(s.at(kW - 1, kH - 1), c.bottomRight);
        }
        // Nothing spills outside the button.
        EXPECT_EQ(static_cast<Color>(s.canvas.colorRefAt(kLeft - 1, kTop - 1)), kPage);
        EXPECT_EQ(static_cast<Color>(s.canvas.colorRefAt(kLeft + kW, kTop + kH)), kPage);
    }
}

TEST(ButtonPaint, SemiTransparentFaceIsAnEvenMixWithThePage) {
    Scene s;
    s.button.style = TOrbButtonStyle::absSemiTransparent;
    s.paint();
    COLORREF mixed = static_cast<COLORREF>(s.at(4, kH / 2));
    // Page (0, 128, 0) and red (255, 0, 0), half each.
    EXPECT_NEAR(GetRValue(mixed), 127, 2);
    EXPECT_NEAR(GetGValue(mixed), 64, 2);
    EXPECT_EQ(GetBValue(mixed), 0);
    EXPECT_EQ(s.at(0, 0), sys(COLOR_BTNHIGHLIGHT));
}

TEST(ButtonPaint, OpacityBlendsTheWholePictureOverThePage) {
    struct Case {
        int opacity, red, green;
    };
    // Weight (100 - opacity) * 255 / 100 of the page over the button's red.
    for (Case c : {Case{100, 255, 0}, Case{0, 0, 128}, Case{50, 128, 64}}) {
        Scene s;
        s.button.style = TOrbButtonStyle::absNormal;
        s.button.setOpacity(c.opacity);
        s.paint();
        COLORREF p = static_cast<COLORREF>(s.at(4, kH / 2));
        EXPECT_NEAR(GetRValue(p), c.red, 2) << c.opacity;
        EXPECT_NEAR(GetGValue(p), c.green, 2) << c.opacity;
    }
}

TEST(ButtonPaint, CaptionColourFollowsTheState) {
    constexpr Color kText = 0x00000080, kOverText = 0x00800000, kDownText = 0x00008080, kGrey = 0x00808080;
    struct Case {
        State state;
        bool enabled;
        Color shown;
        std::vector<Color> absent;
    };
    for (const Case& c : std::vector<Case>{{State::Rest, true, kText, {kOverText, kDownText, kGrey}},
                                           {State::Rest, false, kGrey, {kText}},
                                           {State::Hovered, false, kOverText, {kText, kGrey}},
                                           {State::Pressed, true, kDownText, {kText, kOverText}}}) {
        Scene s;
        s.button.style = TOrbButtonStyle::absNormal;
        s.button.setCaption(L"MMMM");
        s.button.font().color = kText;
        s.button.overFontColor = kOverText;
        s.button.downFontColor = kDownText;
        s.button.setEnabled(c.enabled);
        s.button.mouseInside = c.state != State::Rest;
        s.button.pressed = c.state == State::Pressed;
        s.paint();
        SCOPED_TRACE(testing::Message() << "state " << static_cast<int>(c.state) << " enabled " << c.enabled);
        EXPECT_TRUE(s.extentOf(c.shown).has_value());
        for (Color other : c.absent) EXPECT_FALSE(s.extentOf(other).has_value()) << std::hex << other;
    }
}

// Centred caption; pressed moves it one pixel right and down and drops the shadow.
TEST(ButtonPaint, CaptionIsCentredAndSinksWhenPressed) {
    constexpr Color kText = 0x00000080, kShadow = 0x00FFFF00;
    Scene rest;
    rest.button.style = TOrbButtonStyle::absNormal;
    rest.button.setCaption(L"MMMM");
    rest.button.font().color = rest.button.downFontColor = kText;
    rest.button.textStyle = TOrbCoolButtonTextStyle::abtLowered;
    rest.button.shadowColor = kShadow;
    rest.paint();
    auto text = rest.extentOf(kText);
    auto shadow = rest.extentOf(kShadow);
    ASSERT_TRUE(text && shadow);
    EXPECT_NEAR((text->left + text->right) / 2.0, kW / 2.0, 2.0);
    EXPECT_NEAR((text->top + text->bottom) / 2.0, kH / 2.0, 3.0);
    EXPECT_EQ(shadow->right, text->right + 1);
    EXPECT_EQ(shadow->bottom, text->bottom + 1);

    Scene down;
    down.button.style = TOrbButtonStyle::absNormal;
    down.button.setCaption(L"MMMM");
    down.button.font().color = down.button.downFontColor = kText;
    down.button.textStyle = TOrbCoolButtonTextStyle::abtLowered;
    down.button.shadowColor = kShadow;
    down.button.pressed = true;
    down.paint();
    auto sunk = down.extentOf(kText);
    ASSERT_TRUE(sunk);
    EXPECT_EQ(sunk->left, text->left + 1);
    EXPECT_EQ(sunk->top, text->top + 1);
    EXPECT_FALSE(down.extentOf(kShadow).has_value());
}

TEST(ButtonPaint, HotSpotDrawsNothingAndDesignModeMarksFramelessButtons) {
    Scene hot;
    hot.button.style = TOrbButtonStyle::absHotSpot;
    hot.button.setCaption(L"Hidden");
    hot.button.font().color = 0;
    hot.button.mouseInside = true;
    hot.paint();
    EXPECT_FALSE(hot.extentOf(0).has_value());
    EXPECT_FALSE(hot.extentOf(sys(COLOR_BTNHIGHLIGHT)).has_value());

    Scene marked;
    marked.button.style = TOrbButtonStyle::absNoBorder;
    marked.button.setDesignMode(true);
    marked.paint();
    // A dotted black line: every other pixel along the top edge, whichever comes first.
    int black = 0, page = 0;
    for (int x = 0; x < 20; ++x) {
        Color c = marked.at(x, 0);
        black += c == 0;
        page += c == kPage;
        EXPECT_NE(c, marked.at(x + 1, 0)) << x;
    }
    EXPECT_EQ(black, 10);
    EXPECT_EQ(page, 10);
}
