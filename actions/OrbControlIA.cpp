#include "actions/OrbControlIA.h"

namespace orb {

const ClassInfo& TOrbControlIA::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<TOrbControlIA> b("TOrbControlIA", &Persistent::staticClass());
        b.enumeration("ControlType", &TOrbControlIA::controlType, controlIATypeType());
        b.wide("ControlName", &TOrbControlIA::controlName);
        b.wide("Action", &TOrbControlIA::action);
        b.wide("Parameter", &TOrbControlIA::parameter);
        return b.build();
    }();
    return info;
}

}  // namespace orb
