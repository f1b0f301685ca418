#pragma once
// The system's wave output as the engine's sink.

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <chrono>
#include <memory>
#include <vector>

#include "audio/core/Sink.h"

namespace adr {

class WaveOutSink final : public Sink {
public:
  // Null when the system has no wave output that takes 44.1 kHz stereo.
  static std::unique_ptr<WaveOutSink> open();
  ~WaveOutSink() override;

  int rate() const override { return kRate; }
  void write(const int16_t* frames, size_t count) override;
  // Sends what is gathered, so the end of a sound is heard without waiting.
  void idle() override { submit(); }
  // By the device's play position; see the definition for devices whose
  // clock does not move.
  uint64_t played() override;

private:
  static constexpr int kRate = 44100;
  static constexpr size_t kBufferFrames = 2048;
  static constexpr size_t kBuffers = 4;
  // A play position that has not moved for this long is not believed.
  static constexpr ULONGLONG kStallMs = 500;

  struct EventCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
  };
  struct Buffer {
    WAVEHDR header{};
    std::vector<int16_t> samples;
    bool prepared = false;
  };

  WaveOutSink(HWAVEOUT device, HANDLE event);
  void submit();
  // Waits until the buffer about to be filled has been played.
  void waitForFree(Buffer& buffer);
  // Keeps what is queued to a few buffers' worth of sound by the device's
  // own clock: some drivers report buffers done long before they sound.
  void keepPace();
  // Frames heard by the device's own account.
  uint64_t byDevice();

  HWAVEOUT device_;
  std::unique_ptr<void, EventCloser> done_;
  std::array<Buffer, kBuffers> buffers_;
  size_t current_ = 0;
  size_t filled_ = 0;
  uint64_t framesQueued_ = 0;
  // The last position seen and when it last moved, to spot a dead clock.
  DWORD lastPosition_ = 0;
  ULONGLONG lastMove_ = 0;
  // When everything queued so far could at the earliest have been heard.
  // Some devices (wine's over a null ALSA output) take samples and advance
  // their position far faster than real time.
  std::chrono::steady_clock::time_point heardBy_{};
};

} // namespace adr
