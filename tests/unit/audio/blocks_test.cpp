// Block-coded data decoded while it plays: lengths, seeking, the codec's
// start and end flags, and memory bounded by a chunk.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "audio/core/BlockSource.h"
#include "audio/core/Files.h"

using namespace adr;

namespace {

// Each block starts with its index; it decodes to kFrames frames whose
// samples count the frames from the start of the data, so every sample says
// where it came from. The codec claims twice the room it needs, as real ones
// may.
class CountingCodec final : public BlockCodec {
public:
  static constexpr int kBlock = 16;
  static constexpr int kFrames = 10;

  struct Call {
    bool start, end;
    uint16_t firstBlock;
  };

  explicit CountingCodec(std::vector<Call>* calls = nullptr, bool fail = false) : calls_(calls), fail_(fail) {}

  size_t outputBound(size_t inBytes) override { return inBytes / kBlock * kFrames * 2 * 2; }

  bool convert(const uint8_t* in, size_t inBytes, size_t& consumed, uint8_t* out, size_t outBytes, size_t& produced,
               bool start, bool end) override {
    if (fail_)
      return false;
    if (calls_)
      calls_->push_back({start, end, static_cast<uint16_t>(in[0] | in[1] << 8)});
    consumed = produced = 0;
    for (size_t b = 0; b + kBlock <= inBytes && produced + kFrames * 2 <= outBytes; b += kBlock) {
      const int index = in[b] | in[b + 1] << 8;
      for (int i = 0; i < kFrames; ++i) {
        const auto v = static_cast<int16_t>(index * kFrames + i);
        std::memcpy(out + produced, &v, 2);
        produced += 2;
      }
      consumed += kBlock;
    }
    return true;
  }

private:
  std::vector<Call>* calls_;
  bool fail_;
};

// blocks whole blocks after a small header, and extra stray bytes at the end.
std::vector<uint8_t> blockData(int blocks, int extra = 0) {
  std::vector<uint8_t> bytes(12 + static_cast<size_t>(blocks) * CountingCodec::kBlock + static_cast<size_t>(extra), 0xEE);
  for (int b = 0; b < blocks; ++b) {
    bytes[12 + static_cast<size_t>(b) * CountingCodec::kBlock] = static_cast<uint8_t>(b);
    bytes[13 + static_cast<size_t>(b) * CountingCodec::kBlock] = static_cast<uint8_t>(b >> 8);
  }
  return bytes;
}

BlockLayout layoutFor(const std::vector<uint8_t>& bytes, int declared = -1) {
  BlockLayout layout;
  layout.channels = 1;
  layout.rate = 8000;
  layout.blockAlign = CountingCodec::kBlock;
  layout.dataOffset = 12;
  layout.dataSize = static_cast<int>(bytes.size()) - 12;
  layout.declaredFrames = declared;
  return layout;
}

RefPtr<SampleSource> openBlocks(const std::vector<uint8_t>& bytes, int declared = -1,
                                std::vector<CountingCodec::Call>* calls = nullptr) {
  return BlockSource::open(makeMemoryFile(bytes.data(), static_cast<int>(bytes.size())), layoutFor(bytes, declared),
                           std::make_unique<CountingCodec>(calls));
}

std::vector<int16_t> readAllFrames(SampleSource& source, int chunk = 333) {
  std::vector<int16_t> out, buffer(static_cast<size_t>(chunk));
  for (int n; (n = source.read(chunk, buffer.data())) > 0;)
    out.insert(out.end(), buffer.begin(), buffer.begin() + n);
  return out;
}

TEST(BlockSource, LengthFollowsTheDeclaredCountOrTheWholeBlocks) {
  struct Case {
    int blocks, extra, declared, length;
  } cases[] = {
      {1000, 0, -1, 10000},  // no count: every whole block
      {1000, 7, -1, 10000},  // a torn last block is not decoded
      {1000, 0, 9995, 9995}, // the last block's padding is cut off
      {1000, 0, 20000, 10000}, // a count beyond the data is not believed
      {3, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const auto bytes = blockData(c.blocks, c.extra);
    auto source = openBlocks(bytes, c.declared);
    if (c.length == 0) {
      EXPECT_FALSE(source);
      continue;
    }
    ASSERT_TRUE(source) << c.blocks << " " << c.declared;
    EXPECT_TRUE(source->isSeekable());
    EXPECT_EQ(source->getLength(), c.length) << c.declared;
    const auto frames = readAllFrames(*source);
    ASSERT_EQ(frames.size(), static_cast<size_t>(c.length)) << c.declared;
    for (size_t i = 0; i < frames.size(); ++i)
      ASSERT_EQ(frames[i], static_cast<int16_t>(i)) << "frame " << i;
    EXPECT_EQ(source->getPosition(), c.length);
  }
}

TEST(BlockSource, SeeksLandOnTheFrameAsked) {
  const auto bytes = blockData(1000);
  auto source = openBlocks(bytes, 9995);
  ASSERT_TRUE(source);
  // Block starts and middles, chunk edges, the last frame, the end and beyond.
  const struct {
    int asked, landed;
  } seeks[] = {{0, 0},       {7, 7},       {10, 10},     {4095, 4095}, {4100, 4100}, {5003, 5003},
               {9994, 9994}, {9995, 9995}, {12000, 9995}, {-5, 0},      {3, 3}};
  for (const auto& s : seeks) {
    source->setPosition(s.asked);
    EXPECT_EQ(source->getPosition(), s.landed) << s.asked;
    int16_t frames[25] = {};
    const int n = source->read(25, frames);
    EXPECT_EQ(n, std::min(25, 9995 - s.landed)) << s.asked;
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(frames[i], static_cast<int16_t>(s.landed + i)) << s.asked;
    EXPECT_EQ(source->getPosition(), s.landed + n);
  }
}

TEST(BlockSource, TheCodecIsRestartedAfterASeekAndToldOfTheEnd) {
  const auto bytes = blockData(1000);
  std::vector<CountingCodec::Call> calls;
  auto source = openBlocks(bytes, -1, &calls);
  ASSERT_TRUE(source);
  readAllFrames(*source);
  ASSERT_GE(calls.size(), 3u);
  EXPECT_TRUE(calls.front().start);
  EXPECT_TRUE(calls.back().end);
  for (size_t i = 1; i + 1 < calls.size(); ++i)
    EXPECT_FALSE(calls[i].start || calls[i].end) << i;

  calls.clear();
  source->setPosition(6543);
  int16_t frame = 0;
  ASSERT_EQ(source->read(1, &frame), 1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].start);
  EXPECT_EQ(calls[0].firstBlock, 654);
}

TEST(BlockSource, RepeatsWithoutAGap) {
  const auto bytes = blockData(50);
  auto source = openBlocks(bytes);
  ASSERT_TRUE(source);
  source->setRepeat(true);
  std::vector<int16_t> frames(1234);
  ASSERT_EQ(source->read(1234, frames.data()), 1234);
  for (size_t i = 0; i < frames.size(); ++i)
    ASSERT_EQ(frames[i], static_cast<int16_t>(i % 500)) << i;
}

TEST(BlockSource, MemoryStaysWithinAChunkHoweverLongTheSound) {
  // Half a million frames: a megabyte once decoded.
  const auto bytes = blockData(50000);
  auto source = openBlocks(bytes);
  ASSERT_TRUE(source);
  auto* blocks = dynamic_cast<BlockSource*>(source.get());
  ASSERT_NE(blocks, nullptr);
  EXPECT_LT(blocks->bufferBytes(), 64u * 1024);
  source->setPosition(400000);
  readAllFrames(*source, 4096);
  EXPECT_LT(blocks->bufferBytes(), 64u * 1024);
}

TEST(BlockSource, RefusesWhatCannotBeDecoded) {
  const auto bytes = blockData(10);
  const auto file = [&] { return makeMemoryFile(bytes.data(), static_cast<int>(bytes.size())); };
  EXPECT_FALSE(BlockSource::open(file(), layoutFor(bytes), std::make_unique<CountingCodec>(nullptr, true)));
  EXPECT_FALSE(BlockSource::open(file(), layoutFor(bytes), nullptr));
  auto layout = layoutFor(bytes);
  layout.blockAlign = 0;
  EXPECT_FALSE(BlockSource::open(file(), layout, std::make_unique<CountingCodec>()));
  layout = layoutFor(bytes);
  layout.dataSize = CountingCodec::kBlock - 1;
  EXPECT_FALSE(BlockSource::open(file(), layout, std::make_unique<CountingCodec>()));
  layout = layoutFor(bytes);
  layout.channels = 0;
  EXPECT_FALSE(BlockSource::open(file(), layout, std::make_unique<CountingCodec>()));
}

} // namespace
