#pragma once
#include <string>
#include <vector>

#include "ToneAnalysis.h"
#include "audio/core/Detect.h"
#include "audio/core/Files.h"
#include "audio/core/Mixing.h"

namespace audiotest {

inline std::string fixture(const std::string& name) { return std::string(ORB_AUDIO_FIXTURES) + "/" + name; }

inline adr::RefPtr<adr::SampleSource> open(const std::string& name, adr::FileFormat format = adr::FF_AUTODETECT) {
  return adr::openSource(adr::openFile8(fixture(name).c_str(), false), format, adr::extensionOf(name));
}

// Everything a source yields, as the left channel in floats (bounded, so a
// repeating source ends too).
inline std::vector<float> decodeLeft(adr::SampleSource& source, size_t limit = 10'000'000) {
  int channels = 0, rate = 0;
  adr::SampleFormat format;
  source.getFormat(channels, rate, format);
  std::vector<float> out;
  std::vector<uint8_t> raw(4096 * static_cast<size_t>(channels) * 2);
  std::vector<float> stereo(4096 * 2);
  while (out.size() < limit) {
    const int n = source.read(4096, raw.data());
    if (n <= 0)
      break;
    adr::toStereoFloat(raw.data(), format, channels, static_cast<size_t>(n), stereo.data());
    for (int i = 0; i < n && out.size() < limit; ++i)
      out.push_back(stereo[2 * static_cast<size_t>(i)]);
  }
  return out;
}

} // namespace audiotest
