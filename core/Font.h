#pragma once
#include <functional>
#include <string>

#include "core/Component.h"
#include "core/Identifiers.h"

namespace orb {

// A font description; the Windows layer turns it into a GDI font when painting.
class Font final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();

    int32_t charset = 1;  // DEFAULT_CHARSET
    Color color = kClWindowText;
    int32_t height = -11;
    std::string name = "MS Sans Serif";
    uint32_t style = 0;  // set of fontStyleType()
    int32_t pitch = 0;
    int32_t pixelsPerInch = 96;  // projects are laid out for 96 pixels per inch

    int32_t size() const;
    void setSize(int32_t points);
    int32_t getHeight() const { return height; }
    void setHeight(int32_t h) {
        height = h;
        changed();
    }
    void assign(const Font& other);
    bool operator==(const Font& other) const;

    std::function<void()> onChange;

private:
    void changed() {
        if (onChange) onChange();
    }
    friend class ClassBuilder<Font>;
};

}  // namespace orb
