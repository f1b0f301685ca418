#pragma once
// The few entry points of the stb_image decoder we use, with our own limits.
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/PictureDecode.h"

namespace orb::stb {

// A PNG, JPEG or BMP file; false when it is none or its image would exceed budget bytes.
bool decodeStill(std::span<const uint8_t> bytes, uint64_t budget, Bitmap32& out);
// Every frame of a GIF, composed on its full canvas; false when any frame fails
// or all frames together would exceed budget bytes.
bool decodeGif(std::span<const uint8_t> bytes, uint64_t budget, std::vector<DecodedFrame>& out);

}  // namespace orb::stb
