#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AudioTestSupport.h"

using namespace adr;
using namespace audiotest;

namespace {

std::vector<uint8_t> bytesOf(const std::string& name) {
  auto file = openFile8(fixture(name).c_str(), false);
  return file ? readAll(*file) : std::vector<uint8_t>();
}

TEST(Detect, ByContentWhateverTheName) {
  const std::pair<const char*, FileFormat> cases[] = {
      {"tone16.wav", FF_WAV}, {"tone.aiff", FF_AIFF}, {"tone.ogg", FF_OGG}, {"tone.flac", FF_FLAC},
      {"tone.mp3", FF_MP3},   {"tone.spx", FF_SPEEX}, {"tone.mod", FF_MOD}};
  for (const auto& [name, format] : cases) {
    const auto bytes = bytesOf(name);
    ASSERT_FALSE(bytes.empty()) << name;
    EXPECT_EQ(sniffFormat(bytes.data(), bytes.size()), format) << name;
    // A misleading extension does not stop the right decoder.
    EXPECT_TRUE(openSource(makeMemoryFile(bytes.data(), static_cast<int>(bytes.size())), FF_AUTODETECT, "wav"))
        << name;
  }
}

TEST(Detect, AnMp3WithoutTagByItsFrameHeader) {
  auto bytes = bytesOf("tone.mp3");
  ASSERT_GT(bytes.size(), 10u);
  ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "ID3");
  const size_t tagSize = 10 + (bytes[6] << 21 | bytes[7] << 14 | bytes[8] << 7 | bytes[9]);
  const std::vector<uint8_t> bare(bytes.begin() + static_cast<ptrdiff_t>(tagSize), bytes.end());
  EXPECT_EQ(sniffFormat(bare.data(), bare.size()), FF_MP3);
  EXPECT_TRUE(openSource(makeMemoryFile(bare.data(), static_cast<int>(bare.size())), FF_AUTODETECT));
}

TEST(Detect, ExtensionsAsHints) {
  const std::pair<const char*, FileFormat> cases[] = {
      {"wav", FF_WAV}, {"aif", FF_AIFF}, {"aifc", FF_AIFF}, {"ogg", FF_OGG}, {"flac", FF_FLAC}, {"mp3", FF_MP3},
      {"mod", FF_MOD}, {"s3m", FF_MOD},  {"xm", FF_MOD},    {"it", FF_MOD},  {"spx", FF_SPEEX}, {"txt", FF_AUTODETECT}};
  for (const auto& [ext, format] : cases)
    EXPECT_EQ(formatFromExtension(ext), format) << ext;
  EXPECT_EQ(extensionOf(std::string("C:\\Music\\Song.MP3")), "mp3");
  EXPECT_EQ(extensionOf(std::wstring(L"C:\\a.dir\\noext")), "");
}

TEST(Detect, UndecodableDataOpensNothing) {
  const std::string text = "This is not a sound at all, only a line of text that goes on for a while.";
  std::vector<uint8_t> noise(20000);
  uint32_t x = 1;
  for (auto& b : noise)
    b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 24);
  for (FileFormat format : {FF_AUTODETECT, FF_WAV, FF_OGG, FF_FLAC, FF_MP3, FF_MOD, FF_AIFF, FF_SPEEX}) {
    EXPECT_FALSE(openSource(makeMemoryFile(text.data(), static_cast<int>(text.size())), format)) << format;
    EXPECT_FALSE(openSource(makeMemoryFile("", 0), format)) << format;
  }
  // A foreign format code is refused, not guessed.
  const auto wav = bytesOf("tone16.wav");
  EXPECT_FALSE(openSource(makeMemoryFile(wav.data(), static_cast<int>(wav.size())), static_cast<FileFormat>(42)));
  // Random bytes may or may not look like MPEG frames; they must never crash.
  auto source = openSource(makeMemoryFile(noise.data(), static_cast<int>(noise.size())), FF_AUTODETECT);
  if (source)
    decodeLeft(*source);
}

// Every format cut short at many points opens or fails cleanly and decodes
// without reading out of bounds (the sanitizers watch).
TEST(Detect, TruncatedFilesOfEveryFormat) {
  for (const char* name : {"tone.ogg", "tone.flac", "tone.mp3", "tone.spx", "tone.mod", "tone.aiff", "tone8.wav"}) {
    const auto bytes = bytesOf(name);
    for (size_t cut : {size_t{4}, size_t{30}, size_t{100}, size_t{1100}, bytes.size() / 2, bytes.size() - 1}) {
      if (cut >= bytes.size())
        continue;
      auto source = openSource(makeMemoryFile(bytes.data(), static_cast<int>(cut)), FF_AUTODETECT);
      if (source)
        decodeLeft(*source, 200000);
    }
  }
}

} // namespace
