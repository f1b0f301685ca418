#pragma once
// Something to paint on and read back pixel by pixel in the Windows tests.
#include "framework/OffscreenBitmap.h"

namespace orb::test {
using DibCanvas = orb::OffscreenBitmap;
}  // namespace orb::test
