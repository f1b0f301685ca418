// The audio decoders on arbitrary bytes: detection, each decoder by its
// format code, reading and seeking.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/core/Detect.h"
#include "audio/core/Files.h"

using namespace adr;

namespace {

void exercise(SampleSource& source) {
  // A few seconds at most: a tiny module can describe hours of sound.
  std::vector<int16_t> buffer(4096 * 8);
  int total = 0;
  for (int n; total < 200000 && (n = source.read(4096, buffer.data())) > 0;)
    total += n;
  if (source.isSeekable()) {
    source.setPosition(source.getLength() / 2);
    source.read(4096, buffer.data());
  }
  for (int i = 0; i < source.getTagCount(); ++i) {
    (void)source.getTagKey(i);
    (void)source.getTagValue(i);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20))
    return 0;
  const FileFormat format = size > 0 ? static_cast<FileFormat>(data[0] % 8) : FF_AUTODETECT;
  auto source = openSource(makeMemoryFile(data, static_cast<int>(size)), format);
  if (source)
    exercise(*source);
  return 0;
}
