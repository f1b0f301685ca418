#pragma once
// Sample arithmetic of the mixer: converting a source's frames to stereo
// floats, changing their rate, and weighting them by volume and pan.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/AudioInterface.h"

namespace adr {

// Interleaved frames of any channel count to stereo floats in -1..1. One
// channel goes to both sides; beyond two, the first two are kept.
void toStereoFloat(const void* in, SampleFormat format, int channels, size_t frames, float* out);

struct PanGains {
  float left;
  float right;
};
// Balance, not a power law: the far side fades, the near side stays whole.
PanGains panGains(float volume, float pan);

// Float stereo to 16-bit with clipping.
void toS16(const float* in, size_t samples, int16_t* out);

// Linear-interpolating rate converter for one stereo stream. It pulls input
// frames on demand, so it keeps the last frame of the previous pull.
class Resampler {
public:
  // step = input frames per output frame.
  void setStep(double step) { step_ = step > 0 ? step : 1.0; }
  void reset();

  // Fills up to outFrames frames of out; pull(dst, n) supplies up to n input
  // stereo frames and returns how many. Returns frames produced; fewer only
  // when pull ran dry.
  template <class Pull> size_t process(float* out, size_t outFrames, Pull&& pull);

private:
  double step_ = 1.0;
  double frac_ = 0.0;
  bool primed_ = false;
  bool dry_ = false;
  float prev_[2] = {0, 0};
  float next_[2] = {0, 0};
  std::vector<float> in_;
  size_t inPos_ = 0;
  size_t inCount_ = 0;

  bool advance(auto& pull);
};

template <class Pull> size_t Resampler::process(float* out, size_t outFrames, Pull&& pull) {
  size_t produced = 0;
  if (!primed_) {
    if (!advance(pull))
      return 0;
    prev_[0] = next_[0];
    prev_[1] = next_[1];
    if (!advance(pull)) {
      // A one-frame source: play that frame and stop.
      next_[0] = prev_[0];
      next_[1] = prev_[1];
      dry_ = true;
    }
    primed_ = true;
  }
  while (produced < outFrames) {
    while (frac_ >= 1.0) {
      if (dry_)
        return produced;
      prev_[0] = next_[0];
      prev_[1] = next_[1];
      frac_ -= 1.0;
      if (!advance(pull)) {
        dry_ = true;
        // Past the last frame there is nothing to lean towards: hold it.
        next_[0] = prev_[0];
        next_[1] = prev_[1];
      }
    }
    const auto f = static_cast<float>(frac_);
    out[2 * produced] = prev_[0] + (next_[0] - prev_[0]) * f;
    out[2 * produced + 1] = prev_[1] + (next_[1] - prev_[1]) * f;
    ++produced;
    frac_ += step_;
  }
  return produced;
}

bool Resampler::advance(auto& pull) {
  if (inPos_ >= inCount_) {
    constexpr size_t kChunk = 1024;
    in_.resize(kChunk * 2);
    inCount_ = pull(in_.data(), kChunk);
    inPos_ = 0;
    if (inCount_ == 0)
      return false;
  }
  next_[0] = in_[2 * inPos_];
  next_[1] = in_[2 * inPos_ + 1];
  ++inPos_;
  return true;
}

} // namespace adr
