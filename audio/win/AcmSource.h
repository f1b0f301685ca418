#pragma once
// Compressed WAV data (ADPCM, G.711, GSM and the like) through the system's
// audio codecs.

#include "audio/core/Decoders.h"

namespace adr {

// Decodes a chunk of blocks at a time while the sound plays.
RefPtr<SampleSource> openAcmWav(RefPtr<File> file, const CompressedWav& wav);

} // namespace adr
