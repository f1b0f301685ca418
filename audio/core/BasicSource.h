#pragma once
// The shared half of every sample source: format, tags and the repeat flag.
// A decoder supplies raw reads, and seeking where it can.

#include <string>
#include <vector>

#include "audio/core/Ref.h"

namespace adr {

struct Tag {
  std::string key;
  std::string value;
  std::string type;
};

class BasicSource : public RefImpl<SampleSource> {
public:
  void ADR_CALL getFormat(int& channelCount, int& sampleRate, SampleFormat& sampleFormat) override;
  int ADR_CALL read(int frameCount, void* buffer) override;
  void ADR_CALL reset() override { setPosition(0); }
  bool ADR_CALL isSeekable() override { return false; }
  int ADR_CALL getLength() override { return 0; }
  void ADR_CALL setPosition(int position) override { (void)position; }
  int ADR_CALL getPosition() override { return 0; }
  bool ADR_CALL getRepeat() override { return repeat_; }
  void ADR_CALL setRepeat(bool repeat) override { repeat_ = repeat; }
  int ADR_CALL getTagCount() override { return static_cast<int>(tags_.size()); }
  const char* ADR_CALL getTagKey(int index) override;
  const char* ADR_CALL getTagValue(int index) override;
  const char* ADR_CALL getTagType(int index) override;

  int frameSize() const;

protected:
  // Frames up to the end of the data, without repeating.
  virtual int readFrames(int frameCount, void* buffer) = 0;

  void setFormat(int channels, int rate, SampleFormat format);
  void addTag(std::string key, std::string value, std::string type);
  // Splits a "KEY=value" comment into a tag.
  void addComment(const std::string& comment, const std::string& type);

private:
  int channels_ = 1;
  int rate_ = 44100;
  SampleFormat format_ = SF_S16;
  bool repeat_ = false;
  std::vector<Tag> tags_;
};

} // namespace adr
