#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "AudioTestSupport.h"
#include "audio/AudioInterface.h"

using namespace adr;
using namespace audiotest;

namespace {

TEST(MemoryFile, ReadSeekTellStayInBounds) {
  const char data[] = "0123456789";
  auto file = RefPtr<File>::adopt(AdrCreateMemoryFile(data, 10));
  ASSERT_TRUE(file);
  char buf[16] = {};
  EXPECT_EQ(file->read(buf, 4), 4);
  EXPECT_EQ(std::string(buf, 4), "0123");
  EXPECT_TRUE(file->seek(-2, SM_END));
  EXPECT_EQ(file->tell(), 8);
  EXPECT_EQ(file->read(buf, 16), 2);
  EXPECT_EQ(file->read(buf, 16), 0);
  EXPECT_FALSE(file->seek(-1, SM_BEGIN));
  EXPECT_FALSE(file->seek(11, SM_BEGIN));
  EXPECT_EQ(file->tell(), 10);
  EXPECT_TRUE(file->seek(-10, SM_CURRENT));
  EXPECT_EQ(file->read(buf, -5), 0);
}

TEST(MemoryFile, KeepsItsOwnCopyOfTheCallersBytes) {
  auto original = readAll(*openFile8(fixture("tone16.wav").c_str(), false));
  auto file = RefPtr<File>::adopt(AdrCreateMemoryFile(original.data(), static_cast<int>(original.size())));
  std::fill(original.begin(), original.end(), 0);
  original.clear();
  original.shrink_to_fit();
  auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSourceFromFile(file.get(), FF_WAV));
  ASSERT_TRUE(source);
  EXPECT_NEAR(tone::frequency(decodeLeft(*source), 44100), 440, 1);
}

TEST(Synth, TonesAndNoise) {
  auto tone = RefPtr<SampleSource>::adopt(AdrCreateTone(1000));
  ASSERT_TRUE(tone);
  EXPECT_NEAR(tone::frequency(decodeLeft(*tone, 44100), 44100), 1000, 1);
  auto square = RefPtr<SampleSource>::adopt(AdrCreateSquareWave(500));
  EXPECT_NEAR(tone::frequency(decodeLeft(*square, 44100), 44100), 500, 1);
  EXPECT_EQ(AdrCreateTone(-5), nullptr);
  EXPECT_EQ(AdrCreateTone(0), nullptr);
  for (auto* noise : {AdrCreateWhiteNoise(), AdrCreatePinkNoise()}) {
    auto n = RefPtr<SampleSource>::adopt(noise);
    const auto samples = decodeLeft(*n, 44100);
    EXPECT_EQ(samples.size(), 44100u);
    EXPECT_GT(tone::peak(samples), 0.1f);
    EXPECT_LE(tone::peak(samples), 1.0f);
  }
}

TEST(SampleBuffer, FromSamplesAndFromASource) {
  const int16_t samples[] = {1, 2, 3, 4, 5, 6};
  auto buffer = RefPtr<SampleBuffer>::adopt(AdrCreateSampleBuffer(const_cast<int16_t*>(samples), 3, 2, 8000, SF_S16));
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer->getLength(), 3);
  EXPECT_EQ(std::memcmp(buffer->getSamples(), samples, sizeof samples), 0);
  auto stream = RefPtr<SampleSource>::adopt(buffer->openStream());
  buffer = {}; // the stream keeps the samples alive
  int16_t out[6] = {};
  EXPECT_EQ(stream->read(10, out), 3);
  EXPECT_EQ(out[5], 6);

  auto source = open("tone.flac");
  auto decoded = RefPtr<SampleBuffer>::adopt(AdrCreateSampleBufferFromSource(source.get()));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->getLength(), 44100);
  // Endless sources have no buffer.
  auto tone = RefPtr<SampleSource>::adopt(AdrCreateTone(440));
  EXPECT_EQ(AdrCreateSampleBufferFromSource(tone.get()), nullptr);
  EXPECT_EQ(AdrCreateSampleBuffer(nullptr, 3, 2, 8000, SF_S16), nullptr);
  EXPECT_EQ(AdrCreateSampleBuffer(out, 3, 0, 8000, SF_S16), nullptr);
}

TEST(LoopPoints, JumpBackTheGivenNumberOfTimes) {
  std::vector<int16_t> ramp(100);
  for (int i = 0; i < 100; ++i)
    ramp[static_cast<size_t>(i)] = static_cast<int16_t>(i);
  auto buffer = RefPtr<SampleBuffer>::adopt(AdrCreateSampleBuffer(ramp.data(), 100, 1, 8000, SF_S16));
  auto source = RefPtr<SampleSource>::adopt(buffer->openStream());
  auto looped = RefPtr<LoopPointSource>::adopt(AdrCreateLoopPointSource(source.get()));
  ASSERT_TRUE(looped);
  looped->addLoopPoint(50, 40, 2);
  looped->addLoopPoint(10, 20, 1); // a target after its location is refused
  EXPECT_EQ(looped->getLoopPointCount(), 1);
  std::vector<int16_t> out(200);
  EXPECT_EQ(looped->read(200, out.data()), 120);
  EXPECT_EQ(out[49], 49);
  EXPECT_EQ(out[50], 40);
  EXPECT_EQ(out[60], 40);
  EXPECT_EQ(out[70], 50);
  EXPECT_EQ(out[119], 99);
  looped->reset();
  EXPECT_EQ(looped->read(200, out.data()), 120);
  int location, target, count;
  EXPECT_TRUE(looped->getLoopPoint(0, location, target, count));
  EXPECT_EQ(target, 40);
  looped->removeLoopPoint(0);
  EXPECT_FALSE(looped->getLoopPoint(0, location, target, count));
  auto tone = RefPtr<SampleSource>::adopt(AdrCreateTone(440));
  EXPECT_EQ(AdrCreateLoopPointSource(tone.get()), nullptr);
}

TEST(SoundEffects, PlayFromMemoryOnTheDevice) {
  auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("null", ""));
  auto source = open("tone16.wav");
  for (SoundEffectType type : {SET_SINGLE, SET_MULTIPLE}) {
    auto effect = RefPtr<SoundEffect>::adopt(AdrOpenSoundEffect(device.get(), source.get(), type));
    ASSERT_TRUE(effect);
    effect->setVolume(0.5f);
    effect->play();
    effect->play();
    EXPECT_FLOAT_EQ(effect->getVolume(), 0.5f);
    effect->stop();
  }
  EXPECT_EQ(AdrOpenSoundEffect(device.get(), nullptr, SET_SINGLE), nullptr);
}

} // namespace
