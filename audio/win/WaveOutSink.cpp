#include "audio/win/WaveOutSink.h"

#include <algorithm>
#include <cstring>

namespace adr {

std::unique_ptr<WaveOutSink> WaveOutSink::open() {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!event)
    return nullptr;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = kRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = kRate * 4;
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT) !=
      MMSYSERR_NOERROR) {
    CloseHandle(event);
    return nullptr;
  }
  return std::unique_ptr<WaveOutSink>(new WaveOutSink(device, event));
}

WaveOutSink::WaveOutSink(HWAVEOUT device, HANDLE event) : device_(device), done_(event) {
  for (auto& b : buffers_)
    b.samples.resize(kBufferFrames * 2);
}

WaveOutSink::~WaveOutSink() {
  waveOutReset(device_);
  for (auto& b : buffers_)
    if (b.prepared)
      waveOutUnprepareHeader(device_, &b.header, sizeof b.header);
  waveOutClose(device_);
}

void WaveOutSink::waitForFree(Buffer& buffer) {
  // The device signals the event as each buffer finishes; the bounded wait
  // guards against a driver that forgets to.
  while (buffer.prepared && !(buffer.header.dwFlags & WHDR_DONE))
    WaitForSingleObject(done_.get(), 100);
  if (buffer.prepared) {
    waveOutUnprepareHeader(device_, &buffer.header, sizeof buffer.header);
    buffer.prepared = false;
  }
}

void WaveOutSink::write(const int16_t* frames, size_t count) {
  while (count > 0) {
    Buffer& b = buffers_[current_];
    if (filled_ == 0)
      waitForFree(b);
    const size_t n = std::min(count, kBufferFrames - filled_);
    std::memcpy(b.samples.data() + filled_ * 2, frames, n * 4);
    filled_ += n;
    frames += n * 2;
    count -= n;
    if (filled_ == kBufferFrames)
      submit();
  }
}

void WaveOutSink::submit() {
  if (filled_ == 0)
    return;
  Buffer& b = buffers_[current_];
  b.header = WAVEHDR{};
  b.header.lpData = reinterpret_cast<LPSTR>(b.samples.data());
  b.header.dwBufferLength = static_cast<DWORD>(filled_ * 4);
  if (waveOutPrepareHeader(device_, &b.header, sizeof b.header) == MMSYSERR_NOERROR) {
    b.prepared = true;
    if (waveOutWrite(device_, &b.header, sizeof b.header) != MMSYSERR_NOERROR) {
      waveOutUnprepareHeader(device_, &b.header, sizeof b.header);
      b.prepared = false;
    }
  }
  framesQueued_ += filled_;
  const auto now = std::chrono::steady_clock::now();
  heardBy_ = std::max(heardBy_, now) + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                         std::chrono::duration<double>(static_cast<double>(filled_) / kRate));
  filled_ = 0;
  // A clock is judged by how it moves from here on.
  lastMove_ = GetTickCount64();
  current_ = (current_ + 1) % kBuffers;
  keepPace();
}

uint64_t WaveOutSink::played() {
  // Never more than real time allows since the frames were queued.
  const auto now = std::chrono::steady_clock::now();
  const double early = std::chrono::duration<double>(heardBy_ - now).count();
  const uint64_t ahead = early > 0 ? static_cast<uint64_t>(early * kRate) : 0;
  const uint64_t byClock = framesQueued_ - std::min(framesQueued_, ahead);
  return std::min(byClock, byDevice());
}

uint64_t WaveOutSink::byDevice() {
  const ULONGLONG now = GetTickCount64();
  MMTIME time{};
  time.wType = TIME_SAMPLES;
  if (waveOutGetPosition(device_, &time, sizeof time) == MMSYSERR_NOERROR && time.wType == TIME_SAMPLES) {
    if (time.u.sample != lastPosition_) {
      lastPosition_ = time.u.sample;
      lastMove_ = now;
    }
    // The counter is 32 bits wide and counts from the device's opening, as
    // framesQueued_ does; a counter past what was queued means all of it.
    const DWORD behind = static_cast<DWORD>(framesQueued_) - time.u.sample;
    const uint64_t heard = behind <= framesQueued_ ? framesQueued_ - behind : framesQueued_;
    if (heard >= framesQueued_ || now - lastMove_ < kStallMs)
      return heard;
  }
  // No position, or one that stands still: the buffers the device gave back
  // are all that can be known.
  uint64_t pending = 0;
  for (const auto& b : buffers_)
    if (b.prepared && !(b.header.dwFlags & WHDR_DONE))
      pending += b.header.dwBufferLength / 4;
  return framesQueued_ - std::min(framesQueued_, pending);
}

void WaveOutSink::keepPace() {
  constexpr uint64_t kLead = kBufferFrames * kBuffers;
  DWORD lastPlayed = 0;
  int stalls = 0;
  for (;;) {
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_SAMPLES)
      return;
    // The position counter is 32 bits wide; what matters is the distance.
    const DWORD played = time.u.sample;
    const auto queued = static_cast<DWORD>(framesQueued_);
    if (static_cast<DWORD>(queued - played) <= kLead)
      return;
    // A device whose clock stands still must not hold the engine for ever.
    if (played == lastPlayed && ++stalls > 100)
      return;
    if (played != lastPlayed)
      stalls = 0;
    lastPlayed = played;
    Sleep(10);
  }
}

} // namespace adr
