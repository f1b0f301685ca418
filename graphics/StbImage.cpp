// The one place stb_image is compiled. Only the formats we hand to it are
// built, with no file access and with sides bounded like our own bitmaps.
#include "graphics/StbImage.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// The decoder copies zero bytes from or to a null buffer (an empty PNG data
// chunk before any other): harmless, but undefined for memcpy itself.
inline void* copyBytes(void* to, const void* from, size_t n) { return n ? std::memcpy(to, from, n) : to; }
}  // namespace

#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 32768
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wtype-limits"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif
#define memcpy copyBytes
#include "stb_image.h"
#undef memcpy
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace orb::stb {

namespace {

void copyRgba(const stbi_uc* rgba, Bitmap32& out) {
    auto& px = out.pixels();
    for (size_t i = 0; i < px.size(); ++i, rgba += 4) px[i] = argb(rgba[3], rgba[0], rgba[1], rgba[2]);
}

bool withinBudget(int64_t w, int64_t h, uint64_t frames, uint64_t budget) {
    if (!Bitmap32::fits(w, h)) return false;
    return static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4 * frames <= budget;
}

// The PNG decoder sizes its data buffer from a chunk's declared length before
// reading it, so a few bytes could claim gigabytes: every chunk must lie inside
// the input.
bool pngChunksFit(std::span<const uint8_t> b) {
    static const uint8_t kMagic[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (b.size() < 8 || std::memcmp(b.data(), kMagic, 8) != 0) return true;
    size_t pos = 8;
    while (pos + 12 <= b.size()) {
        const uint64_t length = uint64_t(b[pos]) << 24 | uint64_t(b[pos + 1]) << 16 | uint64_t(b[pos + 2]) << 8 | b[pos + 3];
        if (length > b.size() - pos - 12) return false;
        if (std::memcmp(b.data() + pos + 4, "IEND", 4) == 0) return true;
        pos += 12 + size_t(length);
    }
    return pos == b.size();
}

}  // namespace

bool decodeStill(std::span<const uint8_t> bytes, uint64_t budget, Bitmap32& out) {
    if (bytes.empty() || bytes.size() > INT_MAX) return false;
    const int len = static_cast<int>(bytes.size());
    int w = 0, h = 0, comp = 0;
    // The header alone tells the size: refuse before anything is allocated.
    if (!stbi_info_from_memory(bytes.data(), len, &w, &h, &comp)) return false;
    if (!withinBudget(w, h, 1, budget) || !pngChunksFit(bytes)) return false;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), len, &w, &h, &comp, 4);
    if (!rgba) return false;
    Bitmap32 image = Bitmap32::create(w, h);
    if (!image.empty()) copyRgba(rgba, image);
    stbi_image_free(rgba);
    if (image.empty()) return false;
    out = std::move(image);
    return true;
}

bool decodeGif(std::span<const uint8_t> bytes, uint64_t budget, std::vector<DecodedFrame>& out) {
    if (bytes.size() < 13 || bytes.size() > INT_MAX) return false;
    // The decoder allocates its full canvas before the first frame: check the
    // logical screen size first.
    const int sw = bytes[6] | bytes[7] << 8, sh = bytes[8] | bytes[9] << 8;
    if (!withinBudget(sw, sh, 1, budget)) return false;

    stbi__context s;
    stbi__start_mem(&s, bytes.data(), static_cast<int>(bytes.size()));
    if (!stbi__gif_test(&s)) return false;
    stbi__gif g;
    std::memset(&g, 0, sizeof g);
    std::vector<DecodedFrame> frames;
    bool good = true;
    for (;;) {
        // "Restore to previous" disposal needs the frame before the last one.
        const stbi_uc* twoBack = nullptr;
        std::vector<stbi_uc> twoBackBytes;
        if (frames.size() >= 2) {
            const Bitmap32& prior = frames[frames.size() - 2].image;
            twoBackBytes.resize(prior.byteSize());
            stbi_uc* p = twoBackBytes.data();
            for (uint32_t v : prior.pixels()) {
                *p++ = redOf(v);
                *p++ = greenOf(v);
                *p++ = blueOf(v);
                *p++ = alphaOf(v);
            }
            twoBack = twoBackBytes.data();
        }
        int comp = 0;
        stbi_uc* u = stbi__gif_load_next(&s, &g, &comp, 4, const_cast<stbi_uc*>(twoBack));
        if (u == reinterpret_cast<stbi_uc*>(&s)) break;  // the trailer
        if (!u) {
            // A truncated animation keeps the frames that were complete.
            good = !frames.empty();
            break;
        }
        if (!withinBudget(g.w, g.h, frames.size() + 1, budget)) {
            good = false;
            break;
        }
        DecodedFrame f;
        f.image = Bitmap32::create(g.w, g.h);
        if (f.image.empty()) {
            good = false;
            break;
        }
        copyRgba(u, f.image);
        f.delayMs = g.delay;
        frames.push_back(std::move(f));
    }
    STBI_FREE(g.out);
    STBI_FREE(g.history);
    STBI_FREE(g.background);
    if (!good || frames.empty()) return false;
    out = std::move(frames);
    return true;
}

}  // namespace orb::stb
