#pragma once
// A 32-bit image of our own, independent of any platform.
//
// Pixels are straight (not premultiplied) alpha, one uint32_t each holding
// 0xAARRGGBB. On little-endian machines that is the byte order B, G, R, A of a
// 32-bit top-down DIB, so rows can go to the system as they are; the Windows
// layer premultiplies only at the moment it calls AlphaBlend, because straight
// alpha keeps colour exact for the keyed-colour and region routines.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orb {

constexpr uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a & 0xFF) << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}
constexpr uint8_t alphaOf(uint32_t p) { return static_cast<uint8_t>(p >> 24); }
constexpr uint8_t redOf(uint32_t p) { return static_cast<uint8_t>(p >> 16); }
constexpr uint8_t greenOf(uint32_t p) { return static_cast<uint8_t>(p >> 8); }
constexpr uint8_t blueOf(uint32_t p) { return static_cast<uint8_t>(p); }

class Bitmap32 {
public:
    // Hostile files name huge sizes cheaply; nothing larger is ever made.
    static constexpr int kMaxSide = 32768;
    static constexpr uint64_t kMaxBytes = uint64_t(256) << 20;

    Bitmap32() = default;
    static bool fits(int64_t width, int64_t height);
    // An empty bitmap when the size is zero, negative or beyond the limits.
    static Bitmap32 create(int width, int height, uint32_t fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return pixels_.empty(); }
    size_t byteSize() const { return pixels_.size() * sizeof(uint32_t); }

    uint32_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, uint32_t p) { pixels_[index(x, y)] = p; }
    uint32_t* row(int y) { return pixels_.data() + index(0, y); }
    const uint32_t* row(int y) const { return pixels_.data() + index(0, y); }
    const std::vector<uint32_t>& pixels() const { return pixels_; }
    std::vector<uint32_t>& pixels() { return pixels_; }

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

}  // namespace orb
