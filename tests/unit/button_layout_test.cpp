#include <gtest/gtest.h>

#include <vector>

#include "controls/ButtonLayout.h"

using namespace orb;

namespace {

ButtonLayoutInput iconAndCaption(TOrbGlyphLayout layout, TOrbHorizontalAlignment h, TOrbVerticalAlignment v) {
    ButtonLayoutInput in;
    in.width = 121;
    in.height = 33;
    in.hasIcon = in.hasText = true;
    in.iconWidth = in.iconHeight = 32;
    in.textWidth = 50;
    in.textHeight = 16;
    in.layout = layout;
    in.horizontal = h;
    in.vertical = v;
    return in;
}

}  // namespace

// A 32 x 32 icon and a 50 x 16 caption on a 121 x 33 button: the block is
// 88 x 48 (both parts add up in both directions), so it sticks out above.
TEST(ButtonLayout, IconAndCaptionBySideAndAlignment) {
    using enum TOrbGlyphLayout;
    using enum TOrbHorizontalAlignment;
    using enum TOrbVerticalAlignment;
    struct Case {
        TOrbGlyphLayout layout;
        TOrbHorizontalAlignment h;
        TOrbVerticalAlignment v;
        LayoutRect icon, text;
        TextAlign align;
    };
    for (const Case& c : std::vector<Case>{
             {aglGlyphLeft, ahaCenter, avaMiddle, {16, 1, 48, 33}, {54, 9, 104, 41}, TextAlign::Left},
             {aglGlyphRight, ahaCenter, avaMiddle, {72, 1, 104, 33}, {16, 9, 66, 41}, TextAlign::Right},
             {aglGlyphLeft, ahaLeft, avaTop, {8, 8, 40, 40}, {46, 8, 96, 56}, TextAlign::Left},
             {aglGlyphLeft, ahaRight, avaBottom, {25, -7, 57, 25}, {63, 9, 113, 25}, TextAlign::Left},
             // Over and under: the block is 82 wide and 54 high.
             {aglGlyphTop, ahaCenter, avaMiddle, {44, -10, 76, 22}, {35, 28, 85, 44}, TextAlign::Center},
             {aglGlyphBottom, ahaCenter, avaMiddle, {44, 12, 76, 44}, {35, -10, 85, 6}, TextAlign::Center},
             {aglGlyphTop, ahaRight, avaTop, {81, 8, 113, 40}, {63, 46, 113, 62}, TextAlign::Right},
             {aglGlyphTop, ahaLeft, avaTop, {8, 8, 40, 40}, {8, 46, 58, 62}, TextAlign::Left},
         }) {
        ButtonLayout got = layoutButton(iconAndCaption(c.layout, c.h, c.v));
        SCOPED_TRACE(testing::Message() << "layout " << static_cast<int>(c.layout) << " h " << static_cast<int>(c.h)
                                        << " v " << static_cast<int>(c.v));
        EXPECT_EQ(got.icon, c.icon);
        EXPECT_EQ(got.text, c.text);
        EXPECT_EQ(got.align, c.align);
    }
}

TEST(ButtonLayout, ALonePartTakesTheWholeBlockAndNoMargin) {
    ButtonLayoutInput in = iconAndCaption(TOrbGlyphLayout::aglGlyphLeft, TOrbHorizontalAlignment::ahaCenter,
                                          TOrbVerticalAlignment::avaMiddle);
    in.hasIcon = false;
    ButtonLayout textOnly = layoutButton(in);
    EXPECT_EQ(textOnly.text, (LayoutRect{35, 8, 85, 24}));
    EXPECT_EQ(textOnly.align, TextAlign::Center);

    in.hasIcon = true;
    in.hasText = false;
    ButtonLayout iconOnly = layoutButton(in);
    EXPECT_EQ(iconOnly.icon, (LayoutRect{44, 0, 76, 32}));
}
