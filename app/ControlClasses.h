#pragma once
#include "core/Component.h"

namespace orb {

// The classes a project stream may instantiate (the main window's children).
void RegisterControlClasses(ClassRegistry& registry);

// Every class a project may name, the main window's class included: what the
// project tool checks a project against.
const ClassRegistry& projectClassRegistry();

}  // namespace orb
