#pragma once
// The record an action control carries to drive another control on its window:
// which kind of target, its IAName, the verb and the verb's argument.
#include <string>

#include "core/Component.h"
#include "graphics/OrbTypes.h"

namespace orb {

class TOrbControlIA final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();

    void assign(const TOrbControlIA& other) {
        controlType = other.controlType;
        controlName = other.controlName;
        action = other.action;
        parameter = other.parameter;
    }

    TOrbControlIAType controlType = TOrbControlIAType::iatNone;
    std::wstring controlName, action, parameter;
};

}  // namespace orb
