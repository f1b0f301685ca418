// What a gradient fill costs against the physical limit: writing the same
// number of bytes with memcpy. The pattern is built on every call, as every
// paint does, so the small targets show the pattern's fixed cost and the large
// ones the scaling.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "graphics/OrbGradFill.h"

using namespace orb;
using S = TOrbGradFillStyle;

namespace {

void setBytes(benchmark::State& state, int width, int height) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * width * height * 4);
}

void BM_GradFill(benchmark::State& state) {
    const auto style = static_cast<S>(state.range(0));
    const int width = static_cast<int>(state.range(1)), height = static_cast<int>(state.range(2));
    RgbImage target = RgbImage::create(width, height);
    for (auto _ : state) {
        gradFill(PixelTarget::of(target), {0, 0, width, height}, 0x00203040, 0x00F0E0D0, style, nullptr);
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, width, height);
    state.SetLabel(gradFillStyleType().names.at(static_cast<size_t>(style)));
}

void BM_Memcpy(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    std::vector<unsigned char> from(bytes, 0x5A), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, width, height);
}

// The pattern alone, the part that does not grow with the target.
void BM_GradPattern(benchmark::State& state) {
    const auto style = static_cast<S>(state.range(0));
    const GradRamp ramp = makeGradRamp(0x00203040, 0x00F0E0D0);
    for (auto _ : state) benchmark::DoNotOptimize(makeGradPattern(style, ramp));
    state.SetLabel(gradFillStyleType().names.at(static_cast<size_t>(style)));
}

// Cheapest pattern, largest pattern, most square roots, and a diagonal that
// gathers a different pixel for every target column.
const S kStyles[] = {S::agsLinearV, S::agsRectangleC, S::agsRadialC, S::agsDiagonalLB};
const int kSizes[][2] = {{800, 600}, {1920, 1080}};

void gradFillArgs(benchmark::internal::Benchmark* b) {
    for (auto size : kSizes)
        for (S style : kStyles) b->Args({static_cast<int64_t>(style), size[0], size[1]});
}
void memcpyArgs(benchmark::internal::Benchmark* b) {
    for (auto size : kSizes) b->Args({size[0], size[1]});
}
void patternArgs(benchmark::internal::Benchmark* b) {
    for (S style : kStyles) b->Arg(static_cast<int64_t>(style));
}

}  // namespace

BENCHMARK(BM_GradFill)->Apply(gradFillArgs)->ArgNames({"style", "w", "h"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->Apply(memcpyArgs)->ArgNames({"w", "h"})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradPattern)->Apply(patternArgs)->ArgNames({"style"})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
