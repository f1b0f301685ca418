#pragma once
// Compressed WAV data (ADPCM and the like) through the system's audio codecs.

#include "audio/core/Decoders.h"

namespace adr {

// Decodes the whole body at once: such files are short sound effects, and a
// decoded buffer gives exact lengths and seeking.
RefPtr<SampleSource> openAcmWav(RefPtr<File> file, const CompressedWav& wav);

} // namespace adr
