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
  // Frames a listener has heard so far, counted from the first write. A
  // stream's end is reported once this has passed its last frame, not when
  // the frame was handed over: a sound card holds a queue.
  virtual uint64_t played() = 0;
};

// Real-time pacing for sinks that have no clock of their own.
class Pacer {
public:
  explicit Pacer(int rate) : rate_(rate) {}
  void wait(size_t frames);
  void idle() { running_ = false; }
  // Frames handed over that real playback would not have reached yet.
  uint64_t ahead() const;

private:
  using Clock = std::chrono::steady_clock;
  int rate_;
  bool running_ = false;
  Clock::time_point due_{};
};

} // namespace adr
