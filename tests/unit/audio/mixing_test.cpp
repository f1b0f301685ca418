#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "AudioTestSupport.h"

using namespace adr;

namespace {

TEST(Mixing, PanIsABalance) {
  const struct {
    float volume, pan, left, right;
  } cases[] = {{1, 0, 1, 1}, {1, -1, 1, 0}, {1, 1, 0, 1}, {0.5f, 0.5f, 0.25f, 0.5f},
               {1, -0.25f, 1, 0.75f}, {2, 3, 0, 1}, {-1, 0, 0, 0}};
  for (const auto& c : cases) {
    const PanGains g = panGains(c.volume, c.pan);
    EXPECT_FLOAT_EQ(g.left, c.left) << c.volume << " " << c.pan;
    EXPECT_FLOAT_EQ(g.right, c.right) << c.volume << " " << c.pan;
  }
}

TEST(Mixing, ChannelsAndFormatsToStereoFloat) {
  const uint8_t u8[] = {0, 128, 255};
  float out[6];
  toStereoFloat(u8, SF_U8, 1, 3, out);
  EXPECT_FLOAT_EQ(out[0], -1.0f);
  EXPECT_FLOAT_EQ(out[1], -1.0f);
  EXPECT_FLOAT_EQ(out[2], 0.0f);
  EXPECT_NEAR(out[4], 127 / 128.0, 1e-6);
  const int16_t quad[] = {16384, -16384, 1, 1, -32768, 32767, 1, 1};
  toStereoFloat(quad, SF_S16, 4, 2, out);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_FLOAT_EQ(out[1], -0.5f);
  EXPECT_FLOAT_EQ(out[2], -1.0f);
  int16_t pcm[4];
  const float loud[] = {1.5f, -1.5f, 0.5f, 0.0f};
  toS16(loud, 4, pcm);
  EXPECT_EQ(pcm[0], 32767);
  EXPECT_EQ(pcm[1], -32767);
  EXPECT_EQ(pcm[2], 16384);
  EXPECT_EQ(pcm[3], 0);
}

// Pulls from a stereo ramp or sine of n frames.
struct Signal {
  std::vector<float> frames;
  size_t pos = 0;
  size_t operator()(float* dst, size_t n) {
    size_t k = 0;
    for (; k < n && pos < frames.size() / 2; ++k, ++pos) {
      dst[2 * k] = frames[2 * pos];
      dst[2 * k + 1] = frames[2 * pos + 1];
    }
    return k;
  }
};

std::vector<float> runResampler(Resampler& r, Signal& s, size_t block = 700) {
  std::vector<float> out, buf(block * 2);
  for (;;) {
    const size_t n = r.process(buf.data(), block, s);
    out.insert(out.end(), buf.begin(), buf.begin() + static_cast<ptrdiff_t>(2 * n));
    if (n < block)
      return out;
  }
}

TEST(Resampler, SameRateIsTheIdentityAcrossPulls) {
  Signal s;
  for (int i = 0; i < 5000; ++i)
    s.frames.insert(s.frames.end(), {static_cast<float>(i), -static_cast<float>(i)});
  Resampler r;
  const auto out = runResampler(r, s);
  ASSERT_EQ(out.size(), s.frames.size());
  EXPECT_EQ(out, s.frames);
}

TEST(Resampler, RateChangesKeepPitchAndDuration) {
  for (const auto& [inRate, outRate] : {std::pair{22050, 44100}, std::pair{48000, 44100}, std::pair{8000, 44100}}) {
    Signal s;
    for (int i = 0; i < inRate; ++i) {
      const float v = static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 440 * i / inRate));
      s.frames.insert(s.frames.end(), {v, v});
    }
    Resampler r;
    r.setStep(static_cast<double>(inRate) / outRate);
    const auto out = runResampler(r, s);
    std::vector<float> left;
    for (size_t i = 0; i < out.size(); i += 2)
      left.push_back(out[i]);
    EXPECT_NEAR(static_cast<double>(left.size()), outRate, 2) << inRate;
    EXPECT_NEAR(tone::frequency(left, outRate), 440, 1) << inRate;
  }
}

TEST(Resampler, AOneFrameSourceStillSounds) {
  Signal s{{0.25f, -0.25f}};
  Resampler r;
  const auto out = runResampler(r, s);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_FLOAT_EQ(out[0], 0.25f);
}

} // namespace
