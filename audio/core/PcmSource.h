#pragma once
// Uncompressed sample data lying in a file: WAV and AIFF bodies.

#include "audio/core/BasicSource.h"

namespace adr {

struct PcmLayout {
  int channels = 0;
  int rate = 0;
  int bits = 0;       // 8, 16, 24, 32 or, for floats, 32 or 64
  bool isFloat = false;
  bool bigEndian = false;
  bool signed8 = false; // AIFF's 8-bit samples are signed, WAV's are not
  int dataOffset = 0;
  int dataSize = 0;
};

// Converts frames of the layout to the engine's form: unsigned 8-bit data
// stays 8-bit, everything else becomes signed 16-bit. Returns bytes written.
size_t convertPcm(const PcmLayout& layout, const uint8_t* in, size_t frames, void* out);

class PcmSource final : public BasicSource {
public:
  PcmSource(RefPtr<File> file, const PcmLayout& layout);

  bool ADR_CALL isSeekable() override { return true; }
  int ADR_CALL getLength() override { return frames_; }
  void ADR_CALL setPosition(int position) override;
  int ADR_CALL getPosition() override { return pos_; }

  static bool valid(const PcmLayout& layout);

protected:
  int readFrames(int frameCount, void* buffer) override;

private:
  RefPtr<File> file_;
  PcmLayout layout_;
  int inFrameBytes_;
  int frames_;
  int pos_ = 0;
  std::vector<uint8_t> raw_;
};

} // namespace adr
