#pragma once
// One opener per file format. Each reads the file from its start and returns
// null when the bytes are not of its format or cannot be decoded.

#include <cstdint>
#include <vector>

#include "audio/core/Ref.h"

namespace adr {

RefPtr<SampleSource> openWav(RefPtr<File> file);
RefPtr<SampleSource> openAiff(RefPtr<File> file);
RefPtr<SampleSource> openMp3(RefPtr<File> file);
RefPtr<SampleSource> openVorbis(RefPtr<File> file);
RefPtr<SampleSource> openFlac(RefPtr<File> file);
RefPtr<SampleSource> openMod(RefPtr<File> file);
RefPtr<SampleSource> openSpeex(RefPtr<File> file);

// A WAV "fmt " chunk that is not plain PCM, with where its data lies.
struct CompressedWav {
  std::vector<uint8_t> formatChunk;
  int dataOffset = 0;
  int dataSize = 0;
  // The frame count of the "fact" chunk, or negative without one.
  int factFrames = -1;
};

} // namespace adr
