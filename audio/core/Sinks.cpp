#include "audio/core/Sinks.h"

#include <thread>

namespace adr {

void Pacer::wait(size_t frames) {
  const auto now = Clock::now();
  // After a pause the clock starts afresh instead of rushing to catch up.
  if (!running_ || now > due_ + std::chrono::milliseconds(200))
    due_ = now;
  running_ = true;
  due_ += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(static_cast<double>(frames) / rate_));
  // Keep one block ahead, as a sound card's queue would.
  const auto ahead = std::chrono::milliseconds(30);
  if (due_ - ahead > now)
    std::this_thread::sleep_until(due_ - ahead);
}

uint64_t Pacer::ahead() const {
  const auto left = due_ - Clock::now();
  if (left <= Clock::duration::zero())
    return 0;
  return static_cast<uint64_t>(std::chrono::duration<double>(left).count() * rate_);
}

std::unique_ptr<WavFileSink> WavFileSink::open(const std::string& path, bool realTime, int rate) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f)
    return nullptr;
  return std::unique_ptr<WavFileSink>(new WavFileSink(f, realTime, rate));
}

WavFileSink::WavFileSink(std::FILE* file, bool realTime, int rate)
    : file_(file), realTime_(realTime), rate_(rate), pacer_(rate) {
  writeHeader();
}

WavFileSink::~WavFileSink() { std::fclose(file_); }

void WavFileSink::writeHeader() {
  const auto put32 = [](uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      p[i] = static_cast<uint8_t>(v >> (8 * i));
  };
  uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0};
  put32(h + 4, 36 + dataBytes_);
  put32(h + 24, static_cast<uint32_t>(rate_));
  put32(h + 28, static_cast<uint32_t>(rate_) * 4);
  h[32] = 4;
  h[34] = 16;
  h[36] = 'd', h[37] = 'a', h[38] = 't', h[39] = 'a';
  put32(h + 40, dataBytes_);
  std::fseek(file_, 0, SEEK_SET);
  std::fwrite(h, 1, sizeof h, file_);
  std::fseek(file_, 0, SEEK_END);
}

void WavFileSink::write(const int16_t* frames, size_t count) {
  // The file is little-endian like every machine this runs on.
  const size_t written = std::fwrite(frames, 4, count, file_);
  dataBytes_ += static_cast<uint32_t>(written * 4);
  written_ += count;
  writeHeader();
  std::fflush(file_);
  if (realTime_)
    pacer_.wait(count);
}

} // namespace adr
