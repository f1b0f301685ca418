#include "audio/core/Mixing.h"

#include <algorithm>
#include <cmath>

namespace adr {

void toStereoFloat(const void* in, SampleFormat format, int channels, size_t frames, float* out) {
  const auto sample = [&](size_t i) -> float {
    if (format == SF_U8)
      return (static_cast<const uint8_t*>(in)[i] - 128) / 128.0f;
    return static_cast<const int16_t*>(in)[i] / 32768.0f;
  };
  const auto stride = static_cast<size_t>(channels);
  for (size_t f = 0; f < frames; ++f) {
    const float l = sample(f * stride);
    const float r = channels > 1 ? sample(f * stride + 1) : l;
    out[2 * f] = l;
    out[2 * f + 1] = r;
  }
}

PanGains panGains(float volume, float pan) {
  const float v = std::clamp(volume, 0.0f, 1.0f);
  const float p = std::clamp(pan, -1.0f, 1.0f);
  return {v * (p > 0 ? 1.0f - p : 1.0f), v * (p < 0 ? 1.0f + p : 1.0f)};
}

void toS16(const float* in, size_t samples, int16_t* out) {
  for (size_t i = 0; i < samples; ++i) {
    const float v = std::clamp(in[i], -1.0f, 1.0f) * 32767.0f;
    out[i] = static_cast<int16_t>(std::lround(v));
  }
}

void Resampler::reset() {
  frac_ = 0.0;
  primed_ = false;
  dry_ = false;
  inPos_ = inCount_ = 0;
}

} // namespace adr
