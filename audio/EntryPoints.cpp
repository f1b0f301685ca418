// The engine's 22 entry points. None lets an exception out: each failure is
// a null result, as callers across the DLL boundary expect.

#include <cstdlib>
#include <string>

#include "audio/AudioInterface.h"
#include "audio/Platform.h"
#include "audio/core/Detect.h"
#include "audio/core/Engine.h"
#include "audio/core/Files.h"
#include "audio/core/Sinks.h"
#include "audio/core/Sources.h"

using namespace adr;

namespace {

template <class F> auto guarded(F&& f) noexcept -> decltype(f()) {
  try {
    return f();
  } catch (...) {
    return {};
  }
}

std::string orEmpty(const char* s) { return s ? s : ""; }

// "file=PATH[,realtime=0]" or just the path.
RefPtr<AudioDevice> openWavFileDevice(const std::string& parameters) {
  std::string path = parameters;
  bool realTime = true;
  if (parameters.rfind("file=", 0) == 0) {
    path = parameters.substr(5);
    if (const auto comma = path.rfind(",realtime="); comma != std::string::npos) {
      realTime = path.substr(comma + 10) != "0";
      path.resize(comma);
    }
  }
  if (path.empty())
    return {};
  return makeMixerDevice("wavfile", WavFileSink::open(path, realTime));
}

RefPtr<AudioDevice> openNamedDevice(std::string name, std::string parameters) {
  if (name.empty() || name == "autodetect") {
    // The one test hook: tests that need to hear what is played point the
    // default device elsewhere, as "null" or "wavfile:PATH".
    if (const char* hook = std::getenv("ORB_AUDIO_DEVICE"); hook && *hook) {
      const std::string value = hook;
      const auto colon = value.find(':');
      name = value.substr(0, colon);
      parameters = colon == std::string::npos ? std::string() : value.substr(colon + 1);
    }
  }
  if (name == "null")
    return makeMixerDevice("null", std::make_unique<NullSink>());
  if (name == "wavfile")
    return openWavFileDevice(parameters);
  if (name.empty() || name == "autodetect" || name == platform::systemDeviceName())
    return platform::openSystemDevice(parameters);
  return {};
}

RefPtr<SampleSource> openByName(RefPtr<File> file, FileFormat format, const std::string& extension) {
  return openSource(std::move(file), format, extension);
}

} // namespace

extern "C" {

const char* ADR_CALL AdrGetVersion() { return "1.9.4 (menuhost engine)"; }

const char* ADR_CALL AdrGetSupportedFileFormats() {
  return "MP3:mp3,mp2;Ogg Vorbis:ogg;FLAC:flac;Tracker modules:mod,s3m,xm,it;WAV:wav;AIFF:aiff,aifc,aif;Speex:spx";
}

const char* ADR_CALL AdrGetSupportedAudioDevices() {
  static const std::string list = [] {
    std::string s;
    if (const char* system = platform::systemDeviceName(); system && *system)
      s = std::string(system) + ":System wave output;";
    return s + "null:Silence;wavfile:Writes what plays to a WAV file";
  }();
  return list.c_str();
}

int ADR_CALL AdrGetSampleSize(SampleFormat format) {
  return format == SF_U8 ? 1 : format == SF_S16 ? 2 : 0;
}

AudioDevice* ADR_CALL AdrOpenDevice(const char* name, const char* parameters) {
  return guarded([&] { return openNamedDevice(orEmpty(name), orEmpty(parameters)).detach(); });
}

SampleSource* ADR_CALL AdrOpenSampleSource(const char* fileName, FileFormat fileFormat) {
  return guarded([&] {
    const std::string name = orEmpty(fileName);
    return openByName(openFile8(fileName, false), fileFormat, extensionOf(name)).detach();
  });
}

SampleSource* ADR_CALL AdrOpenSampleSourceW(const wchar_t* fileName, FileFormat fileFormat) {
  return guarded([&] {
    const std::wstring name = fileName ? fileName : L"";
    return openByName(openFileWide(fileName), fileFormat, extensionOf(name)).detach();
  });
}

SampleSource* ADR_CALL AdrOpenSampleSourceFromFile(File* file, FileFormat fileFormat) {
  return guarded([&] { return openSource(RefPtr<File>(file), fileFormat).detach(); });
}

SampleSource* ADR_CALL AdrCreateTone(double frequency) {
  return guarded([&] { return makeTone(frequency).detach(); });
}

SampleSource* ADR_CALL AdrCreateSquareWave(double frequency) {
  return guarded([&] { return makeSquareWave(frequency).detach(); });
}

SampleSource* ADR_CALL AdrCreateWhiteNoise() {
  return guarded([&] { return makeWhiteNoise().detach(); });
}

SampleSource* ADR_CALL AdrCreatePinkNoise() {
  return guarded([&] { return makePinkNoise().detach(); });
}

LoopPointSource* ADR_CALL AdrCreateLoopPointSource(SampleSource* source) {
  return guarded([&] { return makeLoopPointSource(source).detach(); });
}

OutputStream* ADR_CALL AdrOpenSound(AudioDevice* device, SampleSource* source, bool streaming) {
  return guarded([&]() -> OutputStream* {
    if (!device || !source)
      return nullptr;
    RefPtr<SampleSource> keep(source);
    if (streaming)
      return device->openStream(source);
    // Short sounds are decoded once into memory.
    auto buffer = makeSampleBufferFromSource(source);
    if (!buffer)
      return device->openStream(source);
    auto copy = RefPtr<SampleSource>::adopt(buffer->openStream());
    copy->setRepeat(source->getRepeat());
    return device->openStream(copy.get());
  });
}

SampleBuffer* ADR_CALL AdrCreateSampleBuffer(void* samples, int frameCount, int channelCount, int sampleRate,
                                             SampleFormat sampleFormat) {
  return guarded([&] { return makeSampleBuffer(samples, frameCount, channelCount, sampleRate, sampleFormat).detach(); });
}

SampleBuffer* ADR_CALL AdrCreateSampleBufferFromSource(SampleSource* source) {
  return guarded([&] {
    RefPtr<SampleSource> keep(source);
    return makeSampleBufferFromSource(source).detach();
  });
}

SoundEffect* ADR_CALL AdrOpenSoundEffect(AudioDevice* device, SampleSource* source, SoundEffectType type) {
  return guarded([&] {
    RefPtr<SampleSource> keep(source);
    return makeSoundEffect(device, source, type).detach();
  });
}

File* ADR_CALL AdrOpenFile(const char* name, bool writeable) {
  return guarded([&] { return openFile8(name, writeable).detach(); });
}

File* ADR_CALL AdrCreateMemoryFile(const void* buffer, int size) {
  return guarded([&] { return makeMemoryFile(buffer, size).detach(); });
}

// No CD audio or MIDI output here: the music player never asks for them, and
// an empty list with null devices is what callers handle for absent hardware.
const char* ADR_CALL AdrEnumerateCDDevices() { return ""; }

CDDevice* ADR_CALL AdrOpenCDDevice(const char*) { return nullptr; }

MIDIDevice* ADR_CALL AdrOpenMIDIDevice(const char*) { return nullptr; }

} // extern "C"
