// Arbitrary bytes as a graphic's file: every input must decode or fail into an
// empty result, without a crash and without memory beyond the decoding budget.
// The first byte picks how the rest is read, so icons' image choice and the
// graphic classes are reached as well as the content sniffing.
//
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DORB_FUZZ=ON -DORB_BENCH=OFF -DORB_TESTS=OFF
//   cmake --build build/fuzz --target picture_fuzz
//   build/fuzz/fuzz/picture_fuzz -max_total_time=120 -rss_limit_mb=2048 -max_len=200000
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/Picture.h"
#include "graphics/PictureDecode.h"

using namespace orb;

namespace {

void check(const DecodedPicture& d) {
    if (d.ok() == d.frames.empty()) std::abort();
    uint64_t total = 0;
    for (const DecodedFrame& f : d.frames) {
        if (f.image.empty() || f.delayMs < 0) std::abort();
        total += f.image.byteSize();
    }
    if (total > DecodeLimits{}.maxTotalBytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    std::span<const uint8_t> bytes(data + 1, size - 1);
    switch (mode % 4) {
        case 0: check(decodePicture(bytes)); break;
        case 1: {
            auto entries = readIconDirectory(bytes);
            for (size_t i = 0; i < entries.size() && i < 4; ++i) check(decodeIconImage(bytes, i));
            check(decodeIconImage(bytes, entries.size()));
            break;
        }
        case 2: {
            static const char* const kClasses[] = {"TBitmap", "TJvPcx", "TIcon", "TMetafile",
                                                   "TJPEGImage", "TPNGObject", "TGIFImage", "TJvAni", "TOleGraphic"};
            auto graphic = GraphicRegistry::instance().create(kClasses[(mode / 4) % 9]);
            graphic->setFileBytes({bytes.begin(), bytes.end()});
            check(decodeGraphic(*graphic));
            break;
        }
        case 3: {
            DecodeLimits limits;
            limits.maxTotalBytes = uint64_t(mode) << 12;
            DecodedPicture d = decodePicture(bytes, limits);
            check(d);
            uint64_t total = 0;
            for (const DecodedFrame& f : d.frames) total += f.image.byteSize();
            if (total > limits.maxTotalBytes) std::abort();
            break;
        }
    }
    return 0;
}
