#pragma once
// The action control for controls whose look does not follow the mouse
// (labels, images, shapes, animated text): no repaint on hover, press or
// click, and a right click does nothing beyond its event.
#include "actions/OrbActionControl.h"

namespace orb {

class TOrbStaticActionControl : public TOrbActionControl {
public:
    explicit TOrbStaticActionControl(Component* owner) : TOrbActionControl(owner) {}
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();

protected:
    bool redrawsOnState() const override { return false; }
};

}  // namespace orb
