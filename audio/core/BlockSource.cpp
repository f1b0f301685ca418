#include "audio/core/BlockSource.h"

#include <algorithm>
#include <cstring>

#include "audio/core/Files.h"

namespace adr {
namespace {

// About a tenth of a second of sound per chunk: small enough to keep memory
// flat, large enough that the codec is not called for every mixing block.
constexpr int kChunkFrames = 4096;
// A codec that claims more than this for one chunk is not to be trusted.
constexpr size_t kMaxChunkBytes = 16u << 20;

} // namespace

RefPtr<SampleSource> BlockSource::open(RefPtr<File> file, const BlockLayout& layout,
                                       std::unique_ptr<BlockCodec> codec) {
  if (!file || !codec || layout.channels <= 0 || layout.channels > 8 || layout.rate <= 0 ||
      layout.blockAlign <= 0 || layout.dataOffset < 0 || layout.dataSize < layout.blockAlign)
    return {};
  auto source = makeRef<BlockSource>(std::move(file), layout, std::move(codec));
  if (!source->prime())
    return {};
  return source;
}

BlockSource::BlockSource(RefPtr<File> file, const BlockLayout& layout, std::unique_ptr<BlockCodec> codec)
    : file_(std::move(file)), layout_(layout), codec_(std::move(codec)), frameBytes_(layout.channels * 2) {
  setFormat(layout.channels, layout.rate, SF_S16);
  usableBytes_ = layout.dataSize / layout.blockAlign * layout.blockAlign;
}

bool BlockSource::prime() {
  const size_t blockOut = codec_->outputBound(static_cast<size_t>(layout_.blockAlign));
  const size_t estimate = blockOut / static_cast<size_t>(frameBytes_);
  if (estimate == 0 || blockOut > kMaxChunkBytes)
    return false;
  blocksPerChunk_ = static_cast<int>(std::max<size_t>(1, kChunkFrames / estimate));
  blocksPerChunk_ = std::min(blocksPerChunk_, usableBytes_ / layout_.blockAlign);
  const size_t inBytes = static_cast<size_t>(blocksPerChunk_) * static_cast<size_t>(layout_.blockAlign);
  const size_t outBytes = codec_->outputBound(inBytes);
  if (outBytes == 0 || outBytes > kMaxChunkBytes)
    return false;
  in_.resize(inBytes);
  out_.resize(outBytes);
  // What one block really gives is learnt from the first chunk; the codec's
  // bound may be generous.
  if (!decodeChunk() || outLen_ == 0)
    return false;
  const int blocks = nextByte_ / layout_.blockAlign;
  framesPerBlock_ = static_cast<int>(outLen_ / static_cast<size_t>(frameBytes_)) / std::max(1, blocks);
  if (framesPerBlock_ <= 0)
    return false;
  const int64_t decodable = static_cast<int64_t>(usableBytes_ / layout_.blockAlign) * framesPerBlock_;
  int64_t frames = decodable;
  if (layout_.declaredFrames >= 0)
    frames = std::min<int64_t>(frames, layout_.declaredFrames);
  frames_ = static_cast<int>(std::min<int64_t>(frames, 0x7FFFFFFF));
  return frames_ > 0;
}

bool BlockSource::decodeChunk() {
  outPos_ = outLen_ = 0;
  if (nextByte_ >= usableBytes_)
    return false;
  const int wanted = std::min(static_cast<int>(in_.size()), usableBytes_ - nextByte_);
  if (!file_->seek(layout_.dataOffset + nextByte_, SM_BEGIN))
    return false;
  const int got = readFully(*file_, in_.data(), wanted) / layout_.blockAlign * layout_.blockAlign;
  if (got <= 0)
    return false;
  const bool end = nextByte_ + got >= usableBytes_;
  size_t consumed = 0, produced = 0;
  if (!codec_->convert(in_.data(), static_cast<size_t>(got), consumed, out_.data(), out_.size(), produced, restart_,
                       end) ||
      consumed == 0 || consumed > static_cast<size_t>(got) || produced > out_.size())
    return false;
  restart_ = false;
  nextByte_ += static_cast<int>(consumed);
  outLen_ = produced / static_cast<size_t>(frameBytes_) * static_cast<size_t>(frameBytes_);
  return true;
}

int BlockSource::take(int frameCount, void* buffer) {
  auto* dst = static_cast<uint8_t*>(buffer);
  int total = 0;
  while (total < frameCount && pos_ < frames_) {
    if (outPos_ == outLen_) {
      if (!decodeChunk())
        break;
      continue;
    }
    const int available = static_cast<int>((outLen_ - outPos_) / static_cast<size_t>(frameBytes_));
    const int n = std::min({frameCount - total, available, frames_ - pos_});
    if (dst) {
      std::memcpy(dst, out_.data() + outPos_, static_cast<size_t>(n) * static_cast<size_t>(frameBytes_));
      dst += static_cast<size_t>(n) * static_cast<size_t>(frameBytes_);
    }
    outPos_ += static_cast<size_t>(n) * static_cast<size_t>(frameBytes_);
    pos_ += n;
    total += n;
  }
  return total;
}

int BlockSource::readFrames(int frameCount, void* buffer) { return take(frameCount, buffer); }

void BlockSource::setPosition(int position) {
  position = std::clamp(position, 0, frames_);
  const int block = position / framesPerBlock_;
  nextByte_ = block * layout_.blockAlign;
  restart_ = true;
  outPos_ = outLen_ = 0;
  pos_ = block * framesPerBlock_;
  take(position - pos_, nullptr);
}

} // namespace adr
