#include <gtest/gtest.h>

#include "DibCanvas.h"
#include "core/Form.h"
#include "framework/ControlPeers.h"
#include "framework/DrawnControl.h"
#include "framework/FormWindow.h"
#include "graphics/OrbGraphics.h"

using namespace orb;
using orb::test::DibCanvas;

namespace {

constexpr Color kFormColor = 0x000000FF;  // red, as 0x00BBGGRR

// Keeps what lies behind it and paints its left half in its own colour.
class HalfBlock final : public GraphicControl, public DrawnControl {
public:
    HalfBlock(CustomForm& form, RECT r, COLORREF rgb) : GraphicControl(&form), rgb_(rgb) {
        setParent(&form);
        setBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    void paintControl(HDC dc) override {
        PaintParentBackground(*this, dc);
        RECT half{0, 0, width() / 2, height()};
        GdiObject brush(CreateSolidBrush(rgb_));
        FillRect(dc, &half, static_cast<HBRUSH>(brush.get()));
    }

private:
    COLORREF rgb_;
};

struct Scene {
    Scene() {
        form.setColor(kFormColor);
        form.setClientWidth(200);
        form.setClientHeight(100);
        auto window = std::make_unique<FormWindow>(form, L"TDrawnTest");
        form.setPeer(std::move(window));
    }
    CustomForm form{nullptr};
};

}  // namespace

// A spans 0..200 with its green half 0..100; B spans 40..140 after it, blue in
// 40..90. Through B's own right half (90..140) shows what lies behind: A's green
// up to 100, then A's right half, which is the red form.
TEST(DrawnControls, LaterControlsSeeEarlierOnesBehindThemInBothPaths) {
    Scene s;
    HalfBlock a(s.form, {0, 0, 200, 100}, RGB(0, 255, 0));
    HalfBlock b(s.form, {40, 0, 140, 100}, RGB(0, 0, 255));
    // Composed: the form's picture with both.
    DibCanvas composed(200, 100);
    static_cast<FormWindow*>(s.form.peer())->paintBackground(composed.dc());
    paintDrawnChildren(s.form, composed.dc());
    struct Case {
        int x;
        uint32_t rgb;
    };
    for (Case c : {Case{10, 0x00FF00}, Case{45, 0x0000FF}, Case{89, 0x0000FF}, Case{95, 0x00FF00},
                   Case{120, 0xFF0000}, Case{170, 0xFF0000}})
        EXPECT_EQ(composed.rgbAt(c.x, 50), c.rgb) << "x " << c.x;

    // Directly, outside a composition: the same, in B's coordinates.
    DibCanvas behindB(100, 100, 0x123456);
    PaintParentBackground(b, behindB.dc());
    EXPECT_EQ(behindB.rgbAt(5, 50), 0x00FF00u);
    EXPECT_EQ(behindB.rgbAt(55, 50), 0x00FF00u);
    EXPECT_EQ(behindB.rgbAt(65, 50), 0xFF0000u);
    EXPECT_EQ(behindB.rgbAt(99, 99), 0xFF0000u);
}

TEST(DrawnControls, HiddenSiblingsAndLaterOnesAreNotBehind) {
    Scene s;
    HalfBlock hidden(s.form, {0, 0, 100, 100}, RGB(0, 255, 0));
    HalfBlock b(s.form, {0, 0, 100, 100}, RGB(0, 0, 255));
    HalfBlock later(s.form, {0, 0, 100, 100}, RGB(255, 255, 0));
    hidden.setVisible(false);
    DibCanvas behindB(100, 100);
    PaintParentBackground(b, behindB.dc());
    EXPECT_EQ(behindB.rgbAt(10, 10), 0xFF0000u);

    GraphicControl orphan(nullptr);
    orphan.setBounds(0, 0, 10, 10);
    DibCanvas untouched(10, 10, 0x123456);
    PaintParentBackground(orphan, untouched.dc());
    EXPECT_EQ(untouched.rgbAt(5, 5), 0x123456u);
}

TEST(DrawnControls, BlendWithColorMixesTheBackgroundEvenlyInsideTheRectOnly) {
    Scene s;
    HalfBlock b(s.form, {20, 20, 60, 60}, RGB(0, 0, 255));
    DibCanvas face(40, 40, 0x000000);
    BlendWithColor(face.dc(), {1, 1, 39, 39}, b, 0x00FF0000);  // blue over the red form
    uint32_t mixed = face.rgbAt(20, 20);
    EXPECT_NEAR(static_cast<int>(mixed >> 16), 127, 1);
    EXPECT_EQ((mixed >> 8) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 128, 1);
    EXPECT_EQ(face.rgbAt(0, 0), 0u);  // the frame line outside the rect is left alone
}
