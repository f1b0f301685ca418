// What a master-alpha blend of two pictures costs against the physical limit:
// a blend reads two surfaces and writes one, so it is set against memcpy of
// the same output bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "graphics/PixelRoutines.h"

using namespace orb;

namespace {

void BM_BlendRows(benchmark::State& state) {
    const auto width = static_cast<size_t>(state.range(0)), height = static_cast<size_t>(state.range(1));
    std::vector<Rgb> over(width * height, 0x00336699), under(width * height, 0x00CC9966), out(width * height);
    for (auto _ : state) {
        for (size_t y = 0; y < height; ++y)
            blendRow(over.data() + y * width, under.data() + y * width, out.data() + y * width, width, 128);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * width * height * 4));
}

void BM_MemcpySameBytes(benchmark::State& state) {
    const auto bytes = static_cast<size_t>(state.range(0) * state.range(1) * 4);
    std::vector<unsigned char> from(bytes, 0x5A), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

}  // namespace

BENCHMARK(BM_BlendRows)->Args({800, 600})->Args({1920, 1080});
BENCHMARK(BM_MemcpySameBytes)->Args({800, 600})->Args({1920, 1080});
BENCHMARK_MAIN();
