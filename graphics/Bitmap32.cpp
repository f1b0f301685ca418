#include "graphics/Bitmap32.h"

namespace orb {

bool Bitmap32::fits(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 <= kMaxBytes;
}

Bitmap32 Bitmap32::create(int width, int height, uint32_t fill) {
    Bitmap32 b;
    if (!fits(width, height)) return b;
    b.width_ = width;
    b.height_ = height;
    b.pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    return b;
}

}  // namespace orb
