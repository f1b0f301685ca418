// On Windows the system device is the wave output, and the system's codecs
// read compressed WAV data.

#include "audio/Platform.h"
#include "audio/core/Engine.h"
#include "audio/win/AcmSource.h"
#include "audio/win/WaveOutSink.h"

namespace adr::platform {

RefPtr<AudioDevice> openSystemDevice(const std::string&) {
  return makeMixerDevice("winmm", WaveOutSink::open());
}

const char* systemDeviceName() { return "winmm"; }

RefPtr<SampleSource> openCompressedWav(RefPtr<File> file, const CompressedWav& wav) {
  return openAcmWav(std::move(file), wav);
}

} // namespace adr::platform
