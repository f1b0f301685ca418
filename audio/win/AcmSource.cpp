#include "audio/win/AcmSource.h"

#include <windows.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "audio/core/BlockSource.h"

namespace adr {
namespace {

struct StreamCloser {
  void operator()(HACMSTREAM s) const { acmStreamClose(s, 0); }
};
using AcmStream = std::unique_ptr<std::remove_pointer_t<HACMSTREAM>, StreamCloser>;

class AcmCodec final : public BlockCodec {
public:
  explicit AcmCodec(AcmStream stream) : stream_(std::move(stream)) {}

  size_t outputBound(size_t inBytes) override {
    DWORD out = 0;
    if (acmStreamSize(stream_.get(), static_cast<DWORD>(inBytes), &out, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR)
      return 0;
    return out;
  }

  bool convert(const uint8_t* in, size_t inBytes, size_t& consumed, uint8_t* out, size_t outBytes, size_t& produced,
               bool start, bool end) override {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    // The codec only reads the source, whatever the header's type says.
    header.pbSrc = const_cast<uint8_t*>(in);
    header.cbSrcLength = static_cast<DWORD>(inBytes);
    header.pbDst = out;
    header.cbDstLength = static_cast<DWORD>(outBytes);
    if (acmStreamPrepareHeader(stream_.get(), &header, 0) != MMSYSERR_NOERROR)
      return false;
    DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN;
    if (start)
      flags |= ACM_STREAMCONVERTF_START;
    if (end)
      flags |= ACM_STREAMCONVERTF_END;
    const bool ok = acmStreamConvert(stream_.get(), &header, flags) == MMSYSERR_NOERROR;
    acmStreamUnprepareHeader(stream_.get(), &header, 0);
    consumed = header.cbSrcLengthUsed;
    produced = header.cbDstLengthUsed;
    return ok;
  }

private:
  AcmStream stream_;
};

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
  BlockLayout layout;
  layout.channels = pcm.nChannels;
  layout.rate = static_cast<int>(pcm.nSamplesPerSec);
  layout.blockAlign = src->nBlockAlign;
  layout.dataOffset = wav.dataOffset;
  layout.dataSize = wav.dataSize;
  layout.declaredFrames = wav.factFrames;
  return BlockSource::open(std::move(file), layout, std::make_unique<AcmCodec>(AcmStream(raw)));
}

} // namespace adr
