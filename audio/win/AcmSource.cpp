#include "audio/win/AcmSource.h"

#include <windows.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "audio/core/Files.h"
#include "audio/core/Sources.h"

namespace adr {
namespace {

struct StreamCloser {
  void operator()(HACMSTREAM s) const { acmStreamClose(s, 0); }
};
using AcmStream = std::unique_ptr<std::remove_pointer_t<HACMSTREAM>, StreamCloser>;

constexpr size_t kMaxDecodedBytes = 256u << 20;

} // namespace

RefPtr<SampleSource> openAcmWav(RefPtr<File> file, const CompressedWav& wav) {
  if (wav.formatChunk.size() < sizeof(WAVEFORMAT) || wav.dataSize <= 0)
    return {};
  // The codec wants a WAVEFORMATEX whose cbSize matches the extra bytes.
  std::vector<uint8_t> sourceFormat(std::max(wav.formatChunk.size(), sizeof(WAVEFORMATEX)));
  std::memcpy(sourceFormat.data(), wav.formatChunk.data(), wav.formatChunk.size());
  auto* src = reinterpret_cast<WAVEFORMATEX*>(sourceFormat.data());
  src->cbSize = static_cast<WORD>(wav.formatChunk.size() >= sizeof(WAVEFORMATEX)
                                      ? std::min<size_t>(src->cbSize, wav.formatChunk.size() - sizeof(WAVEFORMATEX))
                                      : 0);
  if (src->nBlockAlign == 0 || src->nChannels == 0)
    return {};
  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  if (acmFormatSuggest(nullptr, src, &pcm, sizeof pcm, ACM_FORMATSUGGESTF_WFORMATTAG) != MMSYSERR_NOERROR ||
      pcm.wBitsPerSample != 16)
    return {};
  HACMSTREAM raw = nullptr;
  if (acmStreamOpen(&raw, nullptr, src, &pcm, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != MMSYSERR_NOERROR)
    return {};
  AcmStream stream(raw);

  const DWORD chunk = src->nBlockAlign * std::max<DWORD>(1, 65536 / src->nBlockAlign);
  std::vector<uint8_t> in(chunk), decoded;
  file->seek(wav.dataOffset, SM_BEGIN);
  int left = wav.dataSize;
  bool first = true;
  while (left > 0 && decoded.size() < kMaxDecodedBytes) {
    const int got = readFully(*file, in.data(), std::min<int>(left, static_cast<int>(chunk)));
    if (got <= 0)
      break;
    left -= got;
    DWORD outSize = 0;
    if (acmStreamSize(stream.get(), static_cast<DWORD>(got), &outSize, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR ||
        outSize == 0)
      break;
    std::vector<uint8_t> out(outSize);
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = in.data();
    header.cbSrcLength = static_cast<DWORD>(got);
    header.pbDst = out.data();
    header.cbDstLength = outSize;
    if (acmStreamPrepareHeader(stream.get(), &header, 0) != MMSYSERR_NOERROR)
      break;
    DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN;
    if (first)
      flags |= ACM_STREAMCONVERTF_START;
    if (left <= 0)
      flags |= ACM_STREAMCONVERTF_END;
    const bool ok = acmStreamConvert(stream.get(), &header, flags) == MMSYSERR_NOERROR;
    acmStreamUnprepareHeader(stream.get(), &header, 0);
    if (!ok)
      break;
    decoded.insert(decoded.end(), out.begin(), out.begin() + header.cbDstLengthUsed);
    first = false;
  }
  const int frameBytes = pcm.nChannels * 2;
  const int frames = static_cast<int>(decoded.size() / static_cast<size_t>(frameBytes));
  if (frames == 0)
    return {};
  auto buffer = makeSampleBuffer(decoded.data(), frames, pcm.nChannels, static_cast<int>(pcm.nSamplesPerSec), SF_S16);
  if (!buffer)
    return {};
  return RefPtr<SampleSource>::adopt(buffer->openStream());
}

} // namespace adr
