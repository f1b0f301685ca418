// Our own readers of the RIFF WAVE and AIFF/AIFC containers.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/Platform.h"
#include "audio/core/Decoders.h"
#include "audio/core/Files.h"
#include "audio/core/PcmSource.h"

namespace adr {
namespace {

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t be32(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
uint16_t be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

// AIFF's 80-bit extended sample rate.
double extended(const uint8_t* p) {
  const int exponent = ((p[0] & 0x7F) << 8 | p[1]) - 16383 - 63;
  uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i)
    mantissa = mantissa << 8 | p[2 + i];
  if (exponent < -1000 || exponent > 1000)
    return 0;
  const double v = std::ldexp(static_cast<double>(mantissa), exponent);
  return (p[0] & 0x80) ? -v : v;
}

constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

} // namespace

RefPtr<SampleSource> openWav(RefPtr<File> file) {
  uint8_t head[12];
  file->seek(0, SM_BEGIN);
  if (readFully(*file, head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
    return {};
  std::vector<uint8_t> fmt;
  int factFrames = -1;
  const int size = fileSize(*file);
  int pos = 12;
  while (pos + 8 <= size) {
    uint8_t chunk[8];
    file->seek(pos, SM_BEGIN);
    if (readFully(*file, chunk, 8) != 8)
      break;
    const uint32_t length = le32(chunk + 4);
    const int body = pos + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && length >= 16 && length < 4096) {
      fmt.resize(length);
      if (readFully(*file, fmt.data(), static_cast<int>(length)) != static_cast<int>(length))
        return {};
    } else if (std::memcmp(chunk, "fact", 4) == 0 && length >= 4) {
      uint8_t count[4];
      if (readFully(*file, count, 4) == 4 && le32(count) <= 0x7FFFFFFF)
        factFrames = static_cast<int>(le32(count));
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (fmt.empty())
        return {};
      // Writers that stream leave the length open; the file's end bounds it.
      const int available = size - body;
      const int dataSize = length > static_cast<uint32_t>(available) ? available : static_cast<int>(length);
      uint16_t tag = le16(fmt.data());
      if (tag == kExtensible && fmt.size() >= 26)
        tag = le16(fmt.data() + 24);
      PcmLayout layout;
      layout.channels = le16(fmt.data() + 2);
      layout.rate = static_cast<int>(le32(fmt.data() + 4));
      layout.bits = le16(fmt.data() + 14);
      layout.dataOffset = body;
      layout.dataSize = dataSize;
      if (tag == kPcm || tag == kFloat) {
        layout.isFloat = tag == kFloat;
        if (!PcmSource::valid(layout))
          return {};
        return makeRef<PcmSource>(std::move(file), layout);
      }
      return platform::openCompressedWav(std::move(file), CompressedWav{fmt, body, dataSize, factFrames});
    }
    if (length > static_cast<uint32_t>(size))
      break;
    pos = body + static_cast<int>(length) + static_cast<int>(length & 1);
  }
  return {};
}

RefPtr<SampleSource> openAiff(RefPtr<File> file) {
  uint8_t head[12];
  file->seek(0, SM_BEGIN);
  if (readFully(*file, head, 12) != 12 || std::memcmp(head, "FORM", 4) != 0)
    return {};
  const bool aifc = std::memcmp(head + 8, "AIFC", 4) == 0;
  if (!aifc && std::memcmp(head + 8, "AIFF", 4) != 0)
    return {};
  PcmLayout layout;
  layout.bigEndian = true;
  layout.signed8 = true;
  bool haveComm = false;
  int frames = 0;
  const int size = fileSize(*file);
  int pos = 12;
  while (pos + 8 <= size) {
    uint8_t chunk[8];
    file->seek(pos, SM_BEGIN);
    if (readFully(*file, chunk, 8) != 8)
      break;
    const uint32_t length = be32(chunk + 4);
    const int body = pos + 8;
    if (std::memcmp(chunk, "COMM", 4) == 0 && length >= 18) {
      uint8_t comm[22] = {};
      if (readFully(*file, comm, length >= 22 ? 22 : 18) < 18)
        return {};
      layout.channels = be16(comm);
      frames = static_cast<int>(be32(comm + 2) & 0x7FFFFFFF);
      layout.bits = be16(comm + 6);
      const double rate = extended(comm + 8);
      layout.rate = rate > 0 && rate < 1e6 ? static_cast<int>(std::lround(rate)) : 0;
      if (aifc && length >= 22) {
        if (std::memcmp(comm + 18, "sowt", 4) == 0)
          layout.bigEndian = false;
        else if (std::memcmp(comm + 18, "fl32", 4) == 0 || std::memcmp(comm + 18, "FL32", 4) == 0)
          layout.isFloat = true;
        else if (std::memcmp(comm + 18, "fl64", 4) == 0 || std::memcmp(comm + 18, "FL64", 4) == 0)
          layout.isFloat = true;
        else if (std::memcmp(comm + 18, "NONE", 4) != 0 && std::memcmp(comm + 18, "twos", 4) != 0)
          return {};
      }
      haveComm = true;
    } else if (std::memcmp(chunk, "SSND", 4) == 0 && length >= 8) {
      if (!haveComm)
        return {};
      uint8_t ssnd[8];
      if (readFully(*file, ssnd, 8) != 8)
        return {};
      layout.dataOffset = body + 8 + static_cast<int>(be32(ssnd) & 0xFFFFFF);
      // Sample sizes that are not whole bytes are stored left-justified.
      layout.bits = (layout.bits + 7) / 8 * 8;
      const int64_t wanted = static_cast<int64_t>(frames) * layout.channels * (layout.bits / 8);
      const int64_t available = static_cast<int64_t>(size) - layout.dataOffset;
      layout.dataSize = static_cast<int>(std::max<int64_t>(0, std::min(wanted, available)));
      if (!PcmSource::valid(layout))
        return {};
      return makeRef<PcmSource>(std::move(file), layout);
    }
    if (length > static_cast<uint32_t>(size))
      break;
    pos = body + static_cast<int>(length) + static_cast<int>(length & 1);
  }
  return {};
}

} // namespace adr
