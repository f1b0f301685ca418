#pragma once
// The sinks that need no sound card: one that discards, one that records.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "audio/core/Sink.h"

namespace adr {

class NullSink final : public Sink {
public:
  explicit NullSink(int rate = 44100) : rate_(rate), pacer_(rate) {}
  int rate() const override { return rate_; }
  void write(const int16_t*, size_t count) override {
    written_ += count;
    pacer_.wait(count);
  }
  void idle() override { pacer_.idle(); }
  uint64_t played() override { return written_ - std::min(written_, pacer_.ahead()); }

private:
  int rate_;
  Pacer pacer_;
  uint64_t written_ = 0;
};

// Writes what plays to a WAV file, at the pace of real playback unless told
// otherwise. Only frames while something plays are recorded, so the file
// holds the sounds back to back. The header is kept current after every
// block, so the file can be read while the device is still open.
class WavFileSink final : public Sink {
public:
  static std::unique_ptr<WavFileSink> open(const std::string& path, bool realTime, int rate = 44100);
  ~WavFileSink() override;
  int rate() const override { return rate_; }
  void write(const int16_t* frames, size_t count) override;
  void idle() override { pacer_.idle(); }
  // Without real time, what is written counts as heard at once.
  uint64_t played() override { return realTime_ ? written_ - std::min(written_, pacer_.ahead()) : written_; }

private:
  WavFileSink(std::FILE* file, bool realTime, int rate);
  void writeHeader();

  std::FILE* file_;
  bool realTime_;
  int rate_;
  Pacer pacer_;
  uint32_t dataBytes_ = 0;
  uint64_t written_ = 0;
};

} // namespace adr
