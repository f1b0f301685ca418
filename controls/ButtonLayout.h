#pragma once
// Where a button puts its icon and caption: the pair forms one block placed
// by the alignments and margins, then split by the icon's side.
#include <cstdint>

#include "graphics/OrbTypes.h"

namespace orb {

struct LayoutRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const LayoutRect&) const = default;
};

enum class TextAlign { Left, Center, Right };

struct ButtonLayoutInput {
    int32_t width = 0, height = 0;  // the button
    bool hasIcon = false, hasText = false;
    int32_t iconWidth = 0, iconHeight = 0, textWidth = 0, textHeight = 0;
    TOrbGlyphLayout layout = TOrbGlyphLayout::aglGlyphLeft;
    TOrbHorizontalAlignment horizontal = TOrbHorizontalAlignment::ahaCenter;
    TOrbVerticalAlignment vertical = TOrbVerticalAlignment::avaMiddle;
    int32_t horizontalMargin = 8, verticalMargin = 8, glyphMargin = 6;
};

struct ButtonLayout {
    LayoutRect icon, text;
    TextAlign align = TextAlign::Center;  // how the caption's lines line up
};

ButtonLayout layoutButton(const ButtonLayoutInput& in);

}  // namespace orb
