#pragma once
#include "core/Identifiers.h"
#include "framework/Win32.h"

namespace orb {

// A project colour as RGB: system colour references resolve through the system.
inline COLORREF colorToRgb(Color c) {
    auto u = static_cast<uint32_t>(c);
    if ((u & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(u & 0xFF));
    return u & 0x00FFFFFFu;
}

}  // namespace orb
