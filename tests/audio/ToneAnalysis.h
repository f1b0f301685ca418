#pragma once
// What the audio tests listen for: the pitch of a tone by counting its rising
// zero crossings, and its loudness.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tone {

// Frequency of a mono signal, from rising zero crossings with a little
// hysteresis so that noise near zero does not count twice.
inline double frequency(const std::vector<float>& samples, int rate) {
  if (samples.size() < 2 || rate <= 0)
    return 0;
  constexpr float kHyst = 0.02f;
  bool low = samples[0] < -kHyst;
  size_t first = 0, last = 0;
  int crossings = 0;
  for (size_t i = 1; i < samples.size(); ++i) {
    if (low && samples[i] > kHyst) {
      if (crossings == 0)
        first = i;
      last = i;
      ++crossings;
      low = false;
    } else if (!low && samples[i] < -kHyst) {
      low = true;
    }
  }
  if (crossings < 2)
    return 0;
  return (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}

inline float peak(const std::vector<float>& samples) {
  float p = 0;
  for (float s : samples)
    p = std::fmax(p, std::fabs(s));
  return p;
}

// A recorded 16-bit stereo WAV file as two channels of floats.
struct Recording {
  int rate = 0;
  std::vector<float> left, right;
};

inline Recording readWav16(const std::string& path) {
  Recording r;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f)
    return r;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0)
    return r;
  r.rate = bytes[24] | bytes[25] << 8 | bytes[26] << 16 | bytes[27] << 24;
  const uint32_t data = bytes[40] | bytes[41] << 8 | bytes[42] << 16 | static_cast<uint32_t>(bytes[43]) << 24;
  const size_t frames = std::min<size_t>(data, bytes.size() - 44) / 4;
  for (size_t i = 0; i < frames; ++i) {
    int16_t l, rr;
    std::memcpy(&l, &bytes[44 + 4 * i], 2);
    std::memcpy(&rr, &bytes[46 + 4 * i], 2);
    r.left.push_back(l / 32768.0f);
    r.right.push_back(rr / 32768.0f);
  }
  return r;
}

} // namespace tone
