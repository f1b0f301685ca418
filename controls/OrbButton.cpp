#include "controls/OrbButton.h"

#include "actions/OrbEscape.h"
#include "core/Errors.h"

namespace orb {

TOrbButton::TOrbButton(Component* owner) : TOrbActionControl(owner) {
    setBounds(left(), top(), 121, 33);
    font().name = "Arial";
    font().setSize(9);
    font().style = 1u << 0;  // fsBold
    font().color = 0;
    parentFont = false;
    imgIcon.onChange = [this] {
        transparentColor = kClNone;
        repaint();
    };
    glyph_ = GraphicRegistry::instance().create("TBitmap");
    if (glyph_) glyph_->onChange = [this] { glyphStored(); };
}

TOrbButton::~TOrbButton() {
    imgIcon.onChange = nullptr;
    if (glyph_) glyph_->onChange = nullptr;
}

void TOrbButton::glyphStored() {
    if (glyphRetired_ || !glyph_ || glyph_->empty()) return;
    glyphRetired_ = true;
    if (imgIcon.empty()) {
        auto copy = GraphicRegistry::instance().create("TBitmap");
        if (copy) {
            copy->setFileBytes(glyph_->fileBytes());
            imgIcon.setGraphic(std::move(copy));
        }
    }
    // Only the bytes go: the graphic is in the middle of telling us about them.
    glyph_->setFileBytes({});
}

void TOrbButton::setOpacity(int32_t v) {
    v = v < 0 ? 0 : v > 100 ? 100 : v;
    if (v == opacity_) return;
    opacity_ = v;
    repaint();
}

std::wstring TOrbButton::displayedCaption() const {
    try {
        return UnescapeText(caption());
    } catch (const std::exception&) {
        return caption();  // a broken escape shows as written
    }
}

bool TOrbButton::showsFrame() const {
    using enum TOrbButtonStyle;
    switch (style) {
        case absNormal:
        case absSemiTransparent:
        case absFlat: return true;
        case absSolid:
        case absTransparent: return pressed || mouseInside;
        default: return false;
    }
}

const ClassInfo& TOrbButton::staticClass() {
    static const ClassInfo info = [] {
        using C = TOrbButton;
        ClassBuilder<C> b("TOrbButton", &TOrbActionControl::staticClass());
        b.integer("BorderColor", &C::borderColor, 0x008396A0, &colorIdents());
        b.integer("OverColor", &C::overColor, 0x00E1EAEB, &colorIdents());
        b.integer("DownColor", &C::downColor, 0x00C5D6D9, &colorIdents());
        b.integer("OverFontColor", &C::overFontColor, 0, &colorIdents());
        b.integer("DownFontColor", &C::downFontColor, 0, &colorIdents());
        b.object("ImgIcon", &C::imgIcon, Picture::staticClass());
        b.objectPtr("Glyph", &C::glyph_, bitmapClass());
        b.enumeration("Layout", &C::layout, glyphLayoutType());
        b.enumeration("Style", &C::style, buttonStyleType());
        b.integer("TransparentColor", &C::transparentColor, 0, &colorIdents());
        b.integer("ShadowColor", &C::shadowColor, 0x00FFFFFF, &colorIdents());
        b.enumeration("TextStyle", &C::textStyle, coolButtonTextStyleType());
        b.boolean("XPThemesSupport", &C::xpThemesSupport);
        b.accessor("Opacity", PropKind::Integer, &C::opacity, &C::setOpacity, 100);
        b.enumeration("TextMode", &C::textMode, textRenderModeType());
        b.enumeration("HorizontalAlignment", &C::horizontalAlignment, horizontalAlignmentType(),
                      TOrbHorizontalAlignment::ahaCenter);
        b.enumeration("VerticalAlignment", &C::verticalAlignment, verticalAlignmentType(),
                      TOrbVerticalAlignment::avaMiddle);
        b.integer("HorizontalMargin", &C::horizontalMargin, 8);
        b.integer("VerticalMargin", &C::verticalMargin, 8);
        b.integer("GlyphMargin", &C::glyphMargin, 6);
        b.factory([](Component* owner) -> std::unique_ptr<Component> { return std::make_unique<C>(owner); });
        ClassInfo built = b.build();
        // Every setter repaints; the look changes with any of them.
        for (PropInfo& p : built.properties) {
            if (!p.set || p.name == "Opacity") continue;
            p.set = [inner = p.set, get = p.get](Persistent& o, const Scalar& v) {
                auto& button = static_cast<C&>(o);
                if (get && get(o) == v) return;
                inner(o, v);
                button.repaint();
            };
        }
        return built;
    }();
    return info;
}

}  // namespace orb
