#pragma once
// Sample data stored in fixed-size compressed blocks (ADPCM, G.711, GSM and
// the like), decoded a few blocks at a time while it plays, so that memory
// stays bounded by one chunk however long the sound is.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/core/BasicSource.h"

namespace adr {

// Turns whole blocks into signed 16-bit frames.
class BlockCodec {
public:
  virtual ~BlockCodec() = default;
  // Most output bytes that inBytes of input can give.
  virtual size_t outputBound(size_t inBytes) = 0;
  // Converts whole blocks from in. start tells the codec to forget what it
  // kept from earlier blocks (after a seek), end that no data follows.
  // False when the codec failed.
  virtual bool convert(const uint8_t* in, size_t inBytes, size_t& consumed, uint8_t* out, size_t outBytes,
                       size_t& produced, bool start, bool end) = 0;
};

struct BlockLayout {
  int channels = 0;
  int rate = 0;
  int blockAlign = 0;
  int dataOffset = 0;
  int dataSize = 0;
  // Frames the file says it holds (the WAV "fact" chunk), or negative when
  // it does not: the last block is usually padded.
  int declaredFrames = -1;
};

class BlockSource final : public BasicSource {
public:
  // Null when the layout is unusable or the first blocks do not decode.
  static RefPtr<SampleSource> open(RefPtr<File> file, const BlockLayout& layout, std::unique_ptr<BlockCodec> codec);
  // Use open(), which checks the layout and the codec.
  BlockSource(RefPtr<File> file, const BlockLayout& layout, std::unique_ptr<BlockCodec> codec);

  bool ADR_CALL isSeekable() override { return true; }
  int ADR_CALL getLength() override { return frames_; }
  // Restarts the codec at the block that holds the position and decodes
  // forward to it.
  void ADR_CALL setPosition(int position) override;
  int ADR_CALL getPosition() override { return pos_; }

  // Bytes held for decoding, in and out: one chunk, not the file.
  size_t bufferBytes() const { return in_.capacity() + out_.capacity(); }

protected:
  int readFrames(int frameCount, void* buffer) override;

private:
  bool prime();
  // Decodes the next chunk of blocks into out_; false at the end or on failure.
  bool decodeChunk();
  // Moves through decoded frames without handing them out.
  int take(int frameCount, void* buffer);

  RefPtr<File> file_;
  BlockLayout layout_;
  std::unique_ptr<BlockCodec> codec_;
  int frameBytes_;
  int usableBytes_ = 0;      // whole blocks only
  int blocksPerChunk_ = 1;
  int framesPerBlock_ = 0;
  int frames_ = 0;
  int pos_ = 0;
  int nextByte_ = 0;         // offset in the data of the next undecoded block
  bool restart_ = true;
  std::vector<uint8_t> in_, out_;
  size_t outPos_ = 0, outLen_ = 0;
};

} // namespace adr
