#pragma once
// Where the engine's mixed sound goes: stereo 16-bit frames at a fixed rate.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace adr {

class Sink {
public:
  virtual ~Sink() = default;
  virtual int rate() const = 0;
  // Blocks as a sound card would, so that the engine keeps pace with playback.
  virtual void write(const int16_t* frames, size_t count) = 0;
  // Nothing plays any more.
  virtual void idle() {}
};

// Real-time pacing for sinks that have no clock of their own.
class Pacer {
public:
  explicit Pacer(int rate) : rate_(rate) {}
  void wait(size_t frames);
  void idle() { running_ = false; }

private:
  using Clock = std::chrono::steady_clock;
  int rate_;
  bool running_ = false;
  Clock::time_point due_{};
};

} // namespace adr
