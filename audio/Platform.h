#pragma once
// What the engine asks of the system it runs on: its own output device and
// the system's codecs for compressed WAV data.

#include <string>

#include "audio/core/Decoders.h"

namespace adr::platform {

// The system's output device, or null where there is none.
RefPtr<AudioDevice> openSystemDevice(const std::string& parameters);
// The name of the system device in device listings, or empty.
const char* systemDeviceName();
RefPtr<SampleSource> openCompressedWav(RefPtr<File> file, const CompressedWav& wav);

} // namespace adr::platform
