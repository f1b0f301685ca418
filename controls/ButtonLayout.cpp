#include "controls/ButtonLayout.h"

namespace orb {

ButtonLayout layoutButton(const ButtonLayoutInput& in) {
    using enum TOrbGlyphLayout;
    const bool sideways = in.layout == aglGlyphLeft || in.layout == aglGlyphRight;
    ButtonLayout out;
    out.align = in.horizontal == TOrbHorizontalAlignment::ahaLeft    ? TextAlign::Left
                : in.horizontal == TOrbHorizontalAlignment::ahaRight ? TextAlign::Right
                                                                     : TextAlign::Center;
    // Both sizes add both parts whatever the layout: the placement inside the
    // block below takes the surplus back out.
    int32_t w = 0, h = 0;
    if (in.hasIcon) {
        w += in.iconWidth;
        h += in.iconHeight;
        if (in.hasText) (sideways ? w : h) += in.glyphMargin;
    }
    if (in.hasText) {
        w += in.textWidth;
        h += in.textHeight;
    }
    int32_t x = in.horizontal == TOrbHorizontalAlignment::ahaLeft    ? in.horizontalMargin
                : in.horizontal == TOrbHorizontalAlignment::ahaRight ? in.width - in.horizontalMargin - w
                                                                     : (in.width - w) / 2;
    int32_t y = in.vertical == TOrbVerticalAlignment::avaTop      ? in.verticalMargin
                : in.vertical == TOrbVerticalAlignment::avaBottom ? in.height - in.verticalMargin - h
                                                                  : (in.height - h) / 2;
    const LayoutRect block{x, y, x + w, y + h};
    if (!in.hasIcon) {
        out.text = block;
        return out;
    }
    if (!in.hasText) {
        out.icon = block;
        return out;
    }
    LayoutRect& icon = out.icon;
    LayoutRect& text = out.text;
    icon = text = block;
    switch (in.layout) {
        case aglGlyphLeft:
            icon.right -= in.textWidth + in.glyphMargin;
            text.left += in.iconWidth + in.glyphMargin;
            out.align = TextAlign::Left;
            break;
        case aglGlyphRight:
            icon.left += in.textWidth + in.glyphMargin;
            text.right -= in.iconWidth + in.glyphMargin;
            out.align = TextAlign::Right;
            break;
        case aglGlyphTop:
            icon.bottom -= in.textHeight + in.glyphMargin;
            text.top += in.iconHeight + in.glyphMargin;
            break;
        case aglGlyphBottom:
            icon.top += in.textHeight + in.glyphMargin;
            text.bottom -= in.iconHeight + in.glyphMargin;
            break;
    }
    if (sideways) {
        if (in.vertical == TOrbVerticalAlignment::avaMiddle) {
            icon.top += (h - in.iconHeight) / 2;
            text.top += (h - in.textHeight) / 2;
        } else if (in.vertical == TOrbVerticalAlignment::avaBottom) {
            icon.top += h - in.iconHeight;
            text.top += h - in.textHeight;
        }
        icon.bottom = icon.top + in.iconHeight;
    } else {
        if (in.horizontal == TOrbHorizontalAlignment::ahaCenter) {
            icon.left += (w - in.iconWidth) / 2;
            text.left += (w - in.textWidth) / 2;
        } else if (in.horizontal == TOrbHorizontalAlignment::ahaRight) {
            icon.left += w - in.iconWidth;
            text.left += w - in.textWidth;
        }
        icon.right = icon.left + in.iconWidth;
        text.right = text.left + in.textWidth;
    }
    return out;
}

}  // namespace orb
