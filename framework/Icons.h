#pragma once
#include <cstdint>
#include <vector>

#include "framework/Handles.h"

namespace orb {

struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
using IconHandle = UniqueResource<HICON, IconTraits>;

int displayBitsPerPixel();
// The image of an ICO file that best suits a square of the wanted size on this
// display; none when the bytes are no icon.
IconHandle iconFromIcoBytes(const std::vector<uint8_t>& ico, int size);

}  // namespace orb
