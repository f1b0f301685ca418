// Away from Windows there is no system device of ours: the default device is
// silent, and compressed WAV data has no codec.

#include "audio/Platform.h"
#include "audio/core/Engine.h"
#include "audio/core/Sinks.h"

namespace adr::platform {

RefPtr<AudioDevice> openSystemDevice(const std::string&) {
  return makeMixerDevice("null", std::make_unique<NullSink>());
}

const char* systemDeviceName() { return ""; }

RefPtr<SampleSource> openCompressedWav(RefPtr<File>, const CompressedWav&) { return {}; }

} // namespace adr::platform
