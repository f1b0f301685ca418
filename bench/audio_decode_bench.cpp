// What decoding costs: CPU time per second of sound for one minute of MP3,
// Ogg Vorbis and a tracker module. "cpu_per_audio_second" is the fraction of
// one core that playing the format in real time takes.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "audio/core/Detect.h"
#include "audio/core/Files.h"

using namespace adr;

namespace {

void decode(benchmark::State& state, const char* name) {
  const std::string path = std::string(ORB_AUDIO_BENCH_SOUNDS) + "/" + name;
  auto file = openFile8(path.c_str(), false);
  if (!file) {
    state.SkipWithError(("missing " + path).c_str());
    return;
  }
  // From memory, so that the disk does not enter the figure.
  const auto bytes = readAll(*file);
  double seconds = 0;
  std::vector<int16_t> buffer(4096 * 2);
  for (auto _ : state) {
    auto source = openSource(makeMemoryFile(bytes.data(), static_cast<int>(bytes.size())), FF_AUTODETECT);
    if (!source) {
      state.SkipWithError("undecodable");
      return;
    }
    int channels, rate;
    SampleFormat format;
    source->getFormat(channels, rate, format);
    long frames = 0;
    for (int n; (n = source->read(4096, buffer.data())) > 0;)
      frames += n;
    seconds += static_cast<double>(frames) / rate;
    benchmark::DoNotOptimize(buffer.data());
  }
  state.counters["audio_seconds"] = seconds / static_cast<double>(state.iterations());
  state.counters["cpu_per_audio_second"] =
      benchmark::Counter(seconds, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK_CAPTURE(decode, mp3, "minute.mp3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, ogg_vorbis, "minute.ogg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, tracker_module, "minute.mod")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
