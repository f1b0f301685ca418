#include "core/Font.h"

namespace orb {

namespace {
// Kept in 64 bits until the sign is applied: for the largest sizes a stream may
// give, the 32-bit result is INT32_MIN and negating it would overflow.
int64_t mulDivRound(int64_t a, int64_t b, int64_t c) {
    int64_t p = a * b;
    return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}
}  // namespace

int32_t Font::size() const { return static_cast<int32_t>(-mulDivRound(height, 72, pixelsPerInch)); }

void Font::setSize(int32_t points) {
    height = static_cast<int32_t>(-mulDivRound(points, pixelsPerInch, 72));
    changed();
}

void Font::assign(const Font& o) {
    charset = o.charset;
    color = o.color;
    height = o.height;
    name = o.name;
    style = o.style;
    pitch = o.pitch;
    changed();
}

bool Font::operator==(const Font& o) const {
    return charset == o.charset && color == o.color && height == o.height && name == o.name && style == o.style &&
           pitch == o.pitch;
}

const ClassInfo& Font::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<Font> b("TFont", &Persistent::staticClass());
        b.integer("Charset", &Font::charset, 1, &charsetIdents());
        b.integer("Color", &Font::color, kClWindowText, &colorIdents());
        b.accessor("Height", PropKind::Integer, &Font::getHeight, &Font::setHeight, -11);
        b.ansi("Name", &Font::name);
        b.set("Style", &Font::style, fontStyleType());
        b.enumeration("Pitch", &Font::pitch, fontPitchType());
        b.accessor("Size", PropKind::Integer, &Font::size, &Font::setSize, 8);
        return b.build();
    }();
    return info;
}

}  // namespace orb
