#include "audio/core/PcmSource.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/core/Files.h"

namespace adr {
namespace {

int16_t clamp16(double v) {
  const double s = std::lround(v * 32767.0);
  return static_cast<int16_t>(std::clamp(s, -32768.0, 32767.0));
}

uint64_t load(const uint8_t* p, int bytes, bool bigEndian) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i)
    v |= static_cast<uint64_t>(p[bigEndian ? bytes - 1 - i : i]) << (8 * i);
  return v;
}

} // namespace

size_t convertPcm(const PcmLayout& layout, const uint8_t* in, size_t frames, void* out) {
  const size_t samples = frames * static_cast<size_t>(layout.channels);
  if (layout.bits == 8 && !layout.isFloat) {
    auto* o = static_cast<uint8_t*>(out);
    for (size_t i = 0; i < samples; ++i)
      o[i] = layout.signed8 ? static_cast<uint8_t>(in[i] ^ 0x80) : in[i];
    return samples;
  }
  auto* o = static_cast<int16_t*>(out);
  const int bytes = layout.bits / 8;
  for (size_t i = 0; i < samples; ++i, in += bytes) {
    if (layout.isFloat) {
      double v;
      if (bytes == 4) {
        const auto u = static_cast<uint32_t>(load(in, 4, layout.bigEndian));
        float f;
        std::memcpy(&f, &u, 4);
        v = f;
      } else {
        const uint64_t u = load(in, 8, layout.bigEndian);
        std::memcpy(&v, &u, 8);
      }
      o[i] = std::isfinite(v) ? clamp16(v) : 0;
    } else {
      // The top 16 bits of a wider sample, as a signed value.
      const auto u = static_cast<uint32_t>(load(in, bytes, layout.bigEndian) << (32 - layout.bits));
      o[i] = static_cast<int16_t>(static_cast<int32_t>(u) >> 16);
    }
  }
  return samples * 2;
}

bool PcmSource::valid(const PcmLayout& l) {
  if (l.channels < 1 || l.channels > 8 || l.rate < 1000 || l.rate > 384000 || l.dataSize < 0)
    return false;
  if (l.isFloat)
    return l.bits == 32 || l.bits == 64;
  return l.bits == 8 || l.bits == 16 || l.bits == 24 || l.bits == 32;
}

PcmSource::PcmSource(RefPtr<File> file, const PcmLayout& layout)
    : file_(std::move(file)), layout_(layout), inFrameBytes_(layout.channels * layout.bits / 8),
      frames_(layout.dataSize / inFrameBytes_) {
  setFormat(layout.channels, layout.rate, layout.bits == 8 && !layout.isFloat ? SF_U8 : SF_S16);
  file_->seek(layout_.dataOffset, SM_BEGIN);
}

void PcmSource::setPosition(int position) {
  pos_ = std::clamp(position, 0, frames_);
  file_->seek(layout_.dataOffset + pos_ * inFrameBytes_, SM_BEGIN);
}

int PcmSource::readFrames(int frameCount, void* buffer) {
  const int want = std::min(frameCount, frames_ - pos_);
  if (want <= 0)
    return 0;
  raw_.resize(static_cast<size_t>(want) * inFrameBytes_);
  const int got = readFully(*file_, raw_.data(), static_cast<int>(raw_.size())) / inFrameBytes_;
  if (got <= 0) {
    // A file shorter than its header claims ends here.
    frames_ = pos_;
    return 0;
  }
  convertPcm(layout_, raw_.data(), static_cast<size_t>(got), buffer);
  pos_ += got;
  return got;
}

} // namespace adr
