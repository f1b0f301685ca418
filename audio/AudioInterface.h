#pragma once
// The audio engine's public object interface and its entry points, as the
// music player and the built-in engine see them. The layout is binary: every
// object is a single-inheritance chain of pure virtual operations without a
// virtual destructor, called with the system's standard calling convention,
// so that any engine DLL with the same layout can stand in for ours.

#include <cstdint>

#if defined(_WIN32)
#define ADR_CALL __stdcall
#else
#define ADR_CALL
#endif

namespace adr {

enum SampleFormat : int { SF_U8 = 0, SF_S16 = 1 };

enum FileFormat : int {
  FF_AUTODETECT = 0,
  FF_WAV = 1,
  FF_OGG = 2,
  FF_FLAC = 3,
  FF_MP3 = 4,
  FF_MOD = 5,
  FF_AIFF = 6,
  FF_SPEEX = 7,
};

enum SeekMode : int { SM_BEGIN = 0, SM_CURRENT = 1, SM_END = 2 };

enum SoundEffectType : int { SET_SINGLE = 0, SET_MULTIPLE = 1 };

enum EventType : int { ET_STOP = 0 };

enum StopReason : int { SR_STOP_CALLED = 0, SR_STREAM_ENDED = 1 };

class RefCounted {
public:
  virtual void ADR_CALL ref() = 0;
  virtual void ADR_CALL unref() = 0;

protected:
  ~RefCounted() = default;
};

class File : public RefCounted {
public:
  // Returns the number of bytes read; 0 at the end.
  virtual int ADR_CALL read(void* buffer, int size) = 0;
  virtual bool ADR_CALL seek(int position, SeekMode mode) = 0;
  virtual int ADR_CALL tell() = 0;

protected:
  ~File() = default;
};

class SampleSource : public RefCounted {
public:
  virtual void ADR_CALL getFormat(int& channelCount, int& sampleRate, SampleFormat& sampleFormat) = 0;
  // Reads up to frameCount interleaved frames; fewer only at the end.
  virtual int ADR_CALL read(int frameCount, void* buffer) = 0;
  virtual void ADR_CALL reset() = 0;
  virtual bool ADR_CALL isSeekable() = 0;
  virtual int ADR_CALL getLength() = 0;
  virtual void ADR_CALL setPosition(int position) = 0;
  virtual int ADR_CALL getPosition() = 0;
  virtual bool ADR_CALL getRepeat() = 0;
  virtual void ADR_CALL setRepeat(bool repeat) = 0;
  virtual int ADR_CALL getTagCount() = 0;
  virtual const char* ADR_CALL getTagKey(int index) = 0;
  virtual const char* ADR_CALL getTagValue(int index) = 0;
  virtual const char* ADR_CALL getTagType(int index) = 0;

protected:
  ~SampleSource() = default;
};

class LoopPointSource : public SampleSource {
public:
  // loopCount 0 loops for ever.
  virtual void ADR_CALL addLoopPoint(int location, int target, int loopCount) = 0;
  virtual void ADR_CALL removeLoopPoint(int index) = 0;
  virtual int ADR_CALL getLoopPointCount() = 0;
  virtual bool ADR_CALL getLoopPoint(int index, int& location, int& target, int& loopCount) = 0;

protected:
  ~LoopPointSource() = default;
};

class OutputStream : public RefCounted {
public:
  virtual void ADR_CALL play() = 0;
  // Pauses; the position is kept.
  virtual void ADR_CALL stop() = 0;
  virtual bool ADR_CALL isPlaying() = 0;
  virtual void ADR_CALL reset() = 0;
  virtual void ADR_CALL setRepeat(bool repeat) = 0;
  virtual bool ADR_CALL getRepeat() = 0;
  virtual void ADR_CALL setVolume(float volume) = 0;
  virtual float ADR_CALL getVolume() = 0;
  virtual void ADR_CALL setPan(float pan) = 0;
  virtual float ADR_CALL getPan() = 0;
  virtual void ADR_CALL setPitchShift(float shift) = 0;
  virtual float ADR_CALL getPitchShift() = 0;
  virtual bool ADR_CALL isSeekable() = 0;
  virtual int ADR_CALL getLength() = 0;
  virtual void ADR_CALL setPosition(int position) = 0;
  virtual int ADR_CALL getPosition() = 0;

protected:
  ~OutputStream() = default;
};

class Event : public RefCounted {
public:
  virtual EventType ADR_CALL getType() = 0;

protected:
  ~Event() = default;
};

class StopEvent : public Event {
public:
  virtual OutputStream* ADR_CALL getOutputStream() = 0;
  virtual StopReason ADR_CALL getReason() = 0;

protected:
  ~StopEvent() = default;
};

class Callback : public RefCounted {
public:
  virtual EventType ADR_CALL getType() = 0;
  virtual void ADR_CALL call(Event* event) = 0;

protected:
  ~Callback() = default;
};

class AudioDevice : public RefCounted {
public:
  // Only for devices without a thread of their own; ours all have one.
  virtual void ADR_CALL update() = 0;
  virtual OutputStream* ADR_CALL openStream(SampleSource* source) = 0;
  virtual OutputStream* ADR_CALL openBuffer(void* samples, int frameCount, int channelCount, int sampleRate,
                                            SampleFormat sampleFormat) = 0;
  virtual const char* ADR_CALL getName() = 0;
  virtual void ADR_CALL registerCallback(Callback* callback) = 0;
  virtual void ADR_CALL unregisterCallback(Callback* callback) = 0;
  virtual void ADR_CALL clearCallbacks() = 0;

protected:
  ~AudioDevice() = default;
};

class SampleBuffer : public RefCounted {
public:
  virtual void ADR_CALL getFormat(int& channelCount, int& sampleRate, SampleFormat& sampleFormat) = 0;
  virtual int ADR_CALL getLength() = 0;
  virtual const void* ADR_CALL getSamples() = 0;
  virtual SampleSource* ADR_CALL openStream() = 0;

protected:
  ~SampleBuffer() = default;
};

class SoundEffect : public RefCounted {
public:
  virtual void ADR_CALL play() = 0;
  virtual void ADR_CALL stop() = 0;
  virtual void ADR_CALL setVolume(float volume) = 0;
  virtual float ADR_CALL getVolume() = 0;
  virtual void ADR_CALL setPan(float pan) = 0;
  virtual float ADR_CALL getPan() = 0;
  virtual void ADR_CALL setPitchShift(float shift) = 0;
  virtual float ADR_CALL getPitchShift() = 0;

protected:
  ~SoundEffect() = default;
};

class CDDevice : public RefCounted {
public:
  virtual const char* ADR_CALL getName() = 0;
  virtual int ADR_CALL getTrackCount() = 0;
  virtual void ADR_CALL play(int track) = 0;
  virtual void ADR_CALL stop() = 0;
  virtual void ADR_CALL pause() = 0;
  virtual void ADR_CALL resume() = 0;
  virtual bool ADR_CALL isPlaying() = 0;
  virtual bool ADR_CALL containsCD() = 0;
  virtual bool ADR_CALL isDoorOpen() = 0;
  virtual void ADR_CALL openDoor() = 0;
  virtual void ADR_CALL closeDoor() = 0;

protected:
  ~CDDevice() = default;
};

class MIDIDevice : public RefCounted {
public:
  virtual const char* ADR_CALL getName() = 0;
  virtual void ADR_CALL play() = 0;
  virtual void ADR_CALL stop() = 0;
  virtual void ADR_CALL pause() = 0;
  virtual bool ADR_CALL isPlaying() = 0;
  virtual int ADR_CALL getPosition() = 0;
  virtual void ADR_CALL setPosition(int position) = 0;
  virtual bool ADR_CALL getRepeat() = 0;
  virtual void ADR_CALL setRepeat(bool repeat) = 0;

protected:
  ~MIDIDevice() = default;
};

// A stop callback of fixed layout: its five slots are add reference, release
// reference, event type, call and stream stopped. It is not reference
// counted: its owner frees it, after unregistering it from the device.
class StopCallback : public Callback {
public:
  void ADR_CALL ref() override {}
  void ADR_CALL unref() override {}
  EventType ADR_CALL getType() override { return ET_STOP; }
  void ADR_CALL call(Event* event) override { streamStopped(static_cast<StopEvent*>(event)); }
  virtual void ADR_CALL streamStopped(StopEvent* event) { (void)event; }

protected:
  ~StopCallback() = default;
};

} // namespace adr

// The 22 entry points. The DLL exports them under their 32-bit decorated
// names ("_AdrOpenDevice@8") on both Windows targets.
extern "C" {
adr::LoopPointSource* ADR_CALL AdrCreateLoopPointSource(adr::SampleSource* source);
adr::File* ADR_CALL AdrCreateMemoryFile(const void* buffer, int size);
adr::SampleSource* ADR_CALL AdrCreatePinkNoise();
adr::SampleBuffer* ADR_CALL AdrCreateSampleBuffer(void* samples, int frameCount, int channelCount, int sampleRate,
                                                  adr::SampleFormat sampleFormat);
adr::SampleBuffer* ADR_CALL AdrCreateSampleBufferFromSource(adr::SampleSource* source);
adr::SampleSource* ADR_CALL AdrCreateSquareWave(double frequency);
adr::SampleSource* ADR_CALL AdrCreateTone(double frequency);
adr::SampleSource* ADR_CALL AdrCreateWhiteNoise();
const char* ADR_CALL AdrEnumerateCDDevices();
int ADR_CALL AdrGetSampleSize(adr::SampleFormat format);
const char* ADR_CALL AdrGetSupportedAudioDevices();
const char* ADR_CALL AdrGetSupportedFileFormats();
const char* ADR_CALL AdrGetVersion();
adr::CDDevice* ADR_CALL AdrOpenCDDevice(const char* name);
adr::AudioDevice* ADR_CALL AdrOpenDevice(const char* name, const char* parameters);
adr::File* ADR_CALL AdrOpenFile(const char* name, bool writeable);
adr::MIDIDevice* ADR_CALL AdrOpenMIDIDevice(const char* name);
adr::SampleSource* ADR_CALL AdrOpenSampleSource(const char* fileName, adr::FileFormat fileFormat);
adr::SampleSource* ADR_CALL AdrOpenSampleSourceW(const wchar_t* fileName, adr::FileFormat fileFormat);
adr::SampleSource* ADR_CALL AdrOpenSampleSourceFromFile(adr::File* file, adr::FileFormat fileFormat);
adr::OutputStream* ADR_CALL AdrOpenSound(adr::AudioDevice* device, adr::SampleSource* source, bool streaming);
adr::SoundEffect* ADR_CALL AdrOpenSoundEffect(adr::AudioDevice* device, adr::SampleSource* source,
                                             adr::SoundEffectType type);
}

namespace adr {
// The entry table in the order the music player resolves it.
inline constexpr const char* kEntryPointNames[22] = {
    "_AdrCreateLoopPointSource@4",      "_AdrCreateMemoryFile@8",     "_AdrCreatePinkNoise@0",
    "_AdrCreateSampleBuffer@20",        "_AdrCreateSampleBufferFromSource@4",
    "_AdrCreateSquareWave@8",           "_AdrCreateTone@8",           "_AdrCreateWhiteNoise@0",
    "_AdrEnumerateCDDevices@0",         "_AdrGetSampleSize@4",        "_AdrGetSupportedAudioDevices@0",
    "_AdrGetSupportedFileFormats@0",    "_AdrGetVersion@0",           "_AdrOpenCDDevice@4",
    "_AdrOpenDevice@8",                 "_AdrOpenFile@8",             "_AdrOpenMIDIDevice@4",
    "_AdrOpenSampleSource@8",           "_AdrOpenSampleSourceW@8",    "_AdrOpenSampleSourceFromFile@8",
    "_AdrOpenSound@12",                 "_AdrOpenSoundEffect@12",
};
} // namespace adr
