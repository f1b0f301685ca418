#include "audio/core/BasicSource.h"

namespace adr {

void BasicSource::getFormat(int& channelCount, int& sampleRate, SampleFormat& sampleFormat) {
  channelCount = channels_;
  sampleRate = rate_;
  sampleFormat = format_;
}

int BasicSource::frameSize() const { return channels_ * (format_ == SF_U8 ? 1 : 2); }

int BasicSource::read(int frameCount, void* buffer) {
  if (frameCount <= 0 || !buffer)
    return 0;
  auto* out = static_cast<char*>(buffer);
  int total = 0;
  bool restarted = false;
  while (total < frameCount) {
    const int n = readFrames(frameCount - total, out + static_cast<size_t>(total) * frameSize());
    if (n > 0) {
      total += n;
      restarted = false;
      continue;
    }
    // A source that yields nothing right after a restart would spin for ever.
    if (!repeat_ || restarted)
      break;
    reset();
    restarted = true;
  }
  return total;
}

const char* BasicSource::getTagKey(int index) {
  return index >= 0 && index < getTagCount() ? tags_[static_cast<size_t>(index)].key.c_str() : nullptr;
}
const char* BasicSource::getTagValue(int index) {
  return index >= 0 && index < getTagCount() ? tags_[static_cast<size_t>(index)].value.c_str() : nullptr;
}
const char* BasicSource::getTagType(int index) {
  return index >= 0 && index < getTagCount() ? tags_[static_cast<size_t>(index)].type.c_str() : nullptr;
}

void BasicSource::setFormat(int channels, int rate, SampleFormat format) {
  channels_ = channels;
  rate_ = rate;
  format_ = format;
}

void BasicSource::addTag(std::string key, std::string value, std::string type) {
  tags_.push_back({std::move(key), std::move(value), std::move(type)});
}

void BasicSource::addComment(const std::string& comment, const std::string& type) {
  const auto eq = comment.find('=');
  if (eq == std::string::npos || eq == 0)
    return;
  addTag(comment.substr(0, eq), comment.substr(eq + 1), type);
}

} // namespace adr
