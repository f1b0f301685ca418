#include "framework/Icons.h"

#include <cstdlib>

namespace orb {

IconHandle iconFromIcoBytes(const std::vector<uint8_t>& ico, int size) {
    auto u16 = [&](size_t at) { return static_cast<unsigned>(ico[at] | (ico[at + 1] << 8)); };
    auto u32 = [&](size_t at) { return u16(at) | (u16(at + 2) << 16); };
    if (ico.size() < 6 || u16(0) != 0 || u16(2) != 1) return {};
    unsigned count = u16(4);
    if (ico.size() < 6 + 16ull * count) return {};
    int best = -1, bestScore = 1 << 30;
    for (unsigned i = 0; i < count; ++i) {
        size_t e = 6 + 16ull * i;
        int w = ico[e] ? ico[e] : 256;
        uint32_t bytes = u32(e + 8), offset = u32(e + 12);
        if (offset > ico.size() || bytes > ico.size() - offset) continue;
        int score = std::abs(w - size) * 64 - static_cast<int>(u16(e + 6));  // nearest size, then most colours
        if (score < bestScore) {
            bestScore = score;
            best = static_cast<int>(i);
        }
    }
    if (best < 0) return {};
    size_t e = 6 + 16ull * static_cast<size_t>(best);
    return IconHandle(CreateIconFromResourceEx(const_cast<uint8_t*>(ico.data()) + u32(e + 12), u32(e + 8), TRUE,
                                               0x00030000, size, size, LR_DEFAULTCOLOR));
}

}  // namespace orb
