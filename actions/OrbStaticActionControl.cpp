#include "actions/OrbStaticActionControl.h"

namespace orb {

const ClassInfo& TOrbStaticActionControl::staticClass() {
    static const ClassInfo info =
        ClassBuilder<TOrbStaticActionControl>("TOrbStaticActionControl", &TOrbActionControl::staticClass()).build();
    return info;
}

}  // namespace orb
