#pragma once
#include "core/Text.h"

namespace orb {

// The system's ANSI code page, for 8-bit strings in projects.
const CodePage& systemCodePage();

}  // namespace orb
