#include "audio/core/Detect.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/core/Decoders.h"
#include "audio/core/Files.h"

namespace adr {
namespace {

bool at(const uint8_t* head, size_t size, size_t offset, const char* magic) {
  const size_t n = std::strlen(magic);
  return offset + n <= size && std::memcmp(head + offset, magic, n) == 0;
}

// An MPEG audio frame header: sync, a layer, a bit-rate index that is neither
// free nor invalid, and a known sampling rate.
bool mpegFrame(const uint8_t* p, size_t size) {
  if (size < 4 || p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
    return false;
  const int version = (p[1] >> 3) & 3, layer = (p[1] >> 1) & 3;
  const int bitrate = p[2] >> 4, rate = (p[2] >> 2) & 3;
  return version != 1 && layer != 0 && bitrate != 0 && bitrate != 15 && rate != 3;
}

bool modSignature(const uint8_t* head, size_t size) {
  if (at(head, size, 0, "Extended Module:") || at(head, size, 0, "IMPM") || at(head, size, 44, "SCRM"))
    return true;
  static const char* const tags[] = {"M.K.", "M!K!", "M&K!", "FLT4", "FLT8", "4CHN", "6CHN", "8CHN", "CD81", "OKTA"};
  for (const char* tag : tags)
    if (at(head, size, 1080, tag))
      return true;
  // "xxCH" and "xxCN" for 10 to 32 channels.
  return size >= 1084 && head[1080] >= '1' && head[1080] <= '3' && head[1081] >= '0' && head[1081] <= '9' &&
         head[1082] == 'C' && (head[1083] == 'H' || head[1083] == 'N');
}

using Opener = RefPtr<SampleSource> (*)(RefPtr<File>);

Opener openerFor(FileFormat format) {
  switch (format) {
  case FF_WAV: return openWav;
  case FF_OGG: return openVorbis;
  case FF_FLAC: return openFlac;
  case FF_MP3: return openMp3;
  case FF_MOD: return openMod;
  case FF_AIFF: return openAiff;
  case FF_SPEEX: return openSpeex;
  default: return nullptr;
  }
}

} // namespace

FileFormat sniffFormat(const uint8_t* head, size_t size) {
  if (at(head, size, 0, "RIFF") && at(head, size, 8, "WAVE"))
    return FF_WAV;
  if (at(head, size, 0, "FORM") && (at(head, size, 8, "AIFF") || at(head, size, 8, "AIFC")))
    return FF_AIFF;
  if (at(head, size, 0, "fLaC"))
    return FF_FLAC;
  if (at(head, size, 0, "OggS")) {
    // The first packet starts after the page header and its segment table.
    if (size > 27) {
      const size_t body = 27 + head[26];
      if (at(head, size, body, "\x01vorbis"))
        return FF_OGG;
      if (at(head, size, body, "Speex   "))
        return FF_SPEEX;
    }
    return FF_AUTODETECT;
  }
  if (at(head, size, 0, "ID3") || mpegFrame(head, size))
    return FF_MP3;
  if (modSignature(head, size))
    return FF_MOD;
  return FF_AUTODETECT;
}

FileFormat formatFromExtension(const std::string& ext) {
  if (ext == "wav")
    return FF_WAV;
  if (ext == "aif" || ext == "aiff" || ext == "aifc")
    return FF_AIFF;
  if (ext == "ogg" || ext == "oga")
    return FF_OGG;
  if (ext == "flac")
    return FF_FLAC;
  if (ext == "mp3" || ext == "mp2")
    return FF_MP3;
  if (ext == "mod" || ext == "s3m" || ext == "xm" || ext == "it")
    return FF_MOD;
  if (ext == "spx")
    return FF_SPEEX;
  return FF_AUTODETECT;
}

RefPtr<SampleSource> openSource(RefPtr<File> file, FileFormat format, const std::string& extension) {
  if (!file)
    return {};
  if (format != FF_AUTODETECT) {
    const Opener open = openerFor(format);
    return open ? open(file) : RefPtr<SampleSource>();
  }
  std::vector<uint8_t> head(2048);
  file->seek(0, SM_BEGIN);
  head.resize(static_cast<size_t>(readFully(*file, head.data(), static_cast<int>(head.size()))));
  // Bytes that name their format are not handed to other decoders when that
  // one fails: the MP3 decoder would find frame syncs in ADPCM data.
  if (const FileFormat sniffed = sniffFormat(head.data(), head.size()); sniffed != FF_AUTODETECT)
    return openerFor(sniffed)(file);
  std::vector<FileFormat> order;
  if (const FileFormat hinted = formatFromExtension(extension); hinted != FF_AUTODETECT)
    order.push_back(hinted);
  // MP3 last: its decoder hunts for a frame sync and can mistake other data for one.
  // Modules without a signature are tried only when the name says so: the
  // tracker library guesses at such data, and its guesses are the least safe.
  for (FileFormat f : {FF_WAV, FF_AIFF, FF_OGG, FF_FLAC, FF_SPEEX, FF_MP3})
    if (std::find(order.begin(), order.end(), f) == order.end())
      order.push_back(f);
  for (FileFormat f : order)
    if (auto source = openerFor(f)(file))
      return source;
  return {};
}

} // namespace adr
