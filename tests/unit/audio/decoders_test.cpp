#include <gtest/gtest.h>

#include <cstring>

#include "AudioTestSupport.h"

using namespace adr;
using namespace audiotest;

namespace {

struct Case {
  const char* file;
  FileFormat format;
  int channels;
  int rate;
  SampleFormat sampleFormat;
  double expectedHz;
  int lengthSlack; // frames an encoder may add or drop
};

// Every fixture is one second of the same tone (the module holds its own note).
const Case kCases[] = {
    {"tone16.wav", FF_WAV, 1, 44100, SF_S16, 440, 0},
    {"tone8.wav", FF_WAV, 2, 22050, SF_U8, 440, 0},
    {"tone24.wav", FF_WAV, 1, 48000, SF_S16, 440, 0},
    {"tone32.wav", FF_WAV, 2, 44100, SF_S16, 440, 0},
    {"tonefloat.wav", FF_WAV, 1, 44100, SF_S16, 440, 0},
    {"tonedouble.wav", FF_WAV, 1, 44100, SF_S16, 440, 0},
    {"tone.aiff", FF_AIFF, 2, 44100, SF_S16, 440, 0},
    {"tone.mp3", FF_MP3, 1, 44100, SF_S16, 440, 1200},
    {"tone.ogg", FF_OGG, 1, 44100, SF_S16, 440, 0},
    {"tone.flac", FF_FLAC, 1, 44100, SF_S16, 440, 0},
    {"tone.spx", FF_SPEEX, 1, 16000, SF_S16, 440, 400},
};

class Decoders : public ::testing::TestWithParam<Case> {};

TEST_P(Decoders, DetectsDecodesAndKeepsPitchAndLength) {
  const Case& c = GetParam();
  for (FileFormat format : {FF_AUTODETECT, c.format}) {
    auto source = open(c.file, format);
    ASSERT_TRUE(source) << c.file << " format " << format;
    int channels = 0, rate = 0;
    SampleFormat sampleFormat;
    source->getFormat(channels, rate, sampleFormat);
    EXPECT_EQ(channels, c.channels);
    EXPECT_EQ(rate, c.rate);
    EXPECT_EQ(sampleFormat, c.sampleFormat);
    EXPECT_NEAR(source->getLength(), c.rate, c.lengthSlack);
    const auto samples = decodeLeft(*source);
    EXPECT_NEAR(static_cast<double>(samples.size()), c.rate, c.lengthSlack);
    EXPECT_NEAR(tone::frequency(samples, rate), c.expectedHz, 3.0);
    EXPECT_NEAR(tone::peak(samples), 0.5, 0.08);
  }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, Decoders, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch)))
                               ch = '_';
                           return name;
                         });

TEST(ModDecoder, PlaysTheModulesNoteForItsRows) {
  auto source = open("tone.mod");
  ASSERT_TRUE(source);
  int channels = 0, rate = 0;
  SampleFormat format;
  source->getFormat(channels, rate, format);
  EXPECT_EQ(channels, 2);
  EXPECT_EQ(rate, 44100);
  // Eight rows at speed 6 and tempo 125.
  EXPECT_NEAR(source->getLength(), 0.96 * 44100, 44100 * 0.03);
  const auto samples = decodeLeft(*source);
  EXPECT_NEAR(static_cast<double>(samples.size()), source->getLength(), 1);
  EXPECT_NEAR(tone::frequency(samples, rate), 7093789.2 / (2 * 428 * 32), 4.0);
  EXPECT_STREQ(source->getTagValue(0), "orb test tune");
}

TEST(WavDecoder, CompressedDataNeedsTheSystemsCodecs) {
  // Natively there is no codec for ADPCM; the file is refused, not misread.
  EXPECT_FALSE(open("tone_ima.wav"));
  EXPECT_FALSE(open("tone_ms.wav"));
}

struct TagCase {
  const char* file;
  const char* title;
  const char* artistKey;
  const char* artist;
  const char* type;
};

class Tags : public ::testing::TestWithParam<TagCase> {};

TEST_P(Tags, KeysValuesAndTypes) {
  const TagCase& c = GetParam();
  auto source = open(c.file);
  ASSERT_TRUE(source);
  std::string title, artist, type;
  for (int i = 0; i < source->getTagCount(); ++i) {
    std::string key = source->getTagKey(i);
    for (char& ch : key)
      ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    if (key == "title")
      title = source->getTagValue(i), type = source->getTagType(i);
    if (key == c.artistKey)
      artist = source->getTagValue(i);
  }
  EXPECT_EQ(title, c.title);
  EXPECT_EQ(artist, c.artist);
  EXPECT_EQ(type, c.type);
  EXPECT_EQ(source->getTagKey(source->getTagCount()), nullptr);
  EXPECT_EQ(source->getTagValue(-1), nullptr);
}

INSTANTIATE_TEST_SUITE_P(TaggedFormats, Tags,
                         ::testing::Values(TagCase{"tone.ogg", "Vorbis Title", "artist", "Vorbis Artist", "vorbis"},
                                           TagCase{"tone.flac", "Flac Title", "artist", "Flac Artist", "vorbis"},
                                           TagCase{"tone.spx", "Speex Title", "author", "Speex Author", "Speex"},
                                           TagCase{"tone.mp3", "Lame Title", "artist", "Lame Artist", "ID3v2"}));

class Seeking : public ::testing::TestWithParam<const char*> {};

// After a seek the source yields what a straight read yields at that frame.
TEST_P(Seeking, LandsOnTheFrameAsked) {
  auto straight = open(GetParam());
  ASSERT_TRUE(straight);
  ASSERT_TRUE(straight->isSeekable());
  const auto all = decodeLeft(*straight);
  auto source = open(GetParam());
  const int target = 12345;
  source->setPosition(target);
  EXPECT_EQ(source->getPosition(), target);
  auto after = decodeLeft(*source);
  ASSERT_GE(after.size(), 1000u);
  ASSERT_EQ(after.size(), all.size() - target);
  for (size_t i = 0; i < 1000; ++i)
    ASSERT_NEAR(after[i], all[target + i], 0.01) << "frame " << target + i;
  source->reset();
  EXPECT_EQ(source->getPosition(), 0);
}

INSTANTIATE_TEST_SUITE_P(SeekableFormats, Seeking,
                         ::testing::Values("tone16.wav", "tone.aiff", "tone.flac", "tone.ogg", "tone.mp3", "tone.spx"),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch)))
                               ch = '_';
                           return name;
                         });

TEST(Repeat, ASourceSetToRepeatStartsOverAtItsEnd) {
  auto source = open("tone16.wav");
  ASSERT_TRUE(source);
  source->setRepeat(true);
  EXPECT_TRUE(source->getRepeat());
  const auto samples = decodeLeft(*source, 44100 * 3);
  EXPECT_GE(samples.size(), 44100u * 3);
  EXPECT_NEAR(samples[44100 + 100], samples[100], 1e-6);
}

// Files that end early or lie about their sizes are read as far as they go.
TEST(WavDecoder, TruncatedAndLyingHeaders) {
  auto file = openFile8(fixture("tone16.wav").c_str(), false);
  const auto bytes = readAll(*file);
  auto truncated = makeMemoryFile(bytes.data(), 1044);
  auto source = openSource(truncated, FF_AUTODETECT);
  ASSERT_TRUE(source);
  EXPECT_EQ(source->getLength(), 500);
  EXPECT_EQ(decodeLeft(*source).size(), 500u);

  auto headerOnly = makeMemoryFile(bytes.data(), 40);
  EXPECT_FALSE(openSource(headerOnly, FF_WAV));

  auto badRate = bytes;
  std::memset(&badRate[24], 0, 4);
  EXPECT_FALSE(openSource(makeMemoryFile(badRate.data(), static_cast<int>(badRate.size())), FF_WAV));
}

} // namespace

namespace {

// Headers no tracker writes are refused before the tracker library sees
// them: it has crashed playing such files.
TEST(ModDecoder, RefusesImplausibleHeaders) {
  const auto good = readAll(*openFile8(fixture("tone.mod").c_str(), false));
  ASSERT_TRUE(openSource(makeMemoryFile(good.data(), static_cast<int>(good.size())), FF_MOD));
  const std::pair<size_t, uint8_t> damage[] = {{950, 0}, {950, 129}, {952, 200}, {20 + 25, 65}, {20 + 24, 16}};
  for (const auto& [offset, value] : damage) {
    auto bad = good;
    bad[offset] = value;
    EXPECT_FALSE(openSource(makeMemoryFile(bad.data(), static_cast<int>(bad.size())), FF_AUTODETECT)) << offset;
  }
}

} // namespace
