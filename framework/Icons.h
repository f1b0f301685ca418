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

// The image of an ICO file nearest the wanted size; none when the bytes are no icon.
IconHandle iconFromIcoBytes(const std::vector<uint8_t>& ico, int size);

}  // namespace orb
