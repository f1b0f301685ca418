// The audio engine on Windows: every format decoded and played through the
// WAV-file device, the system's codecs for compressed WAV data, the system
// wave output where wine has one, and audiere.dll loaded as the music player
// loads it.

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ToneAnalysis.h"
#include "audio/AudioInterface.h"
#include "audio/core/Ref.h"

using namespace adr;
using namespace std::chrono_literals;

namespace {

std::string fixture(const std::string& name) { return std::string(ORB_AUDIO_FIXTURES) + "/" + name; }

std::string tempWav(const char* tag) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "orb-audio-" + tag + "-" + std::to_string(GetCurrentProcessId()) + ".wav";
}

class StopRecorder final : public StopCallback {
public:
  void ADR_CALL streamStopped(StopEvent* event) override {
    std::lock_guard lock(mutex_);
    reasons.push_back(event->getReason());
    cv_.notify_all();
  }
  bool waitFor(size_t count, std::chrono::milliseconds timeout = 15s) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [&] { return reasons.size() >= count; });
  }
  std::vector<StopReason> reasons;

private:
  std::mutex mutex_;
  std::condition_variable cv_;
};

// Plays a file to its end on a device and hands back what it recorded.
tone::Recording playThroughRecorder(const std::string& file, FileFormat format, const std::string& out) {
  {
    const std::string params = "file=" + out + ",realtime=0";
    auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("wavfile", params.c_str()));
    if (!device)
      return {};
    StopRecorder stops;
    device->registerCallback(&stops);
    auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSource(file.c_str(), format));
    auto stream = RefPtr<OutputStream>::adopt(AdrOpenSound(device.get(), source.get(), true));
    if (stream) {
      stream->play();
      stops.waitFor(1);
    }
    device->unregisterCallback(&stops);
  }
  auto recording = tone::readWav16(out);
  DeleteFileA(out.c_str());
  return recording;
}

struct FormatCase {
  const char* file;
  FileFormat format;
  double hz;
  double seconds;
};

const FormatCase kFormats[] = {
    {"tone16.wav", FF_WAV, 440, 1.0},     {"tone8.wav", FF_WAV, 440, 1.0},     {"tone24.wav", FF_WAV, 440, 1.0},
    {"tone32.wav", FF_WAV, 440, 1.0},     {"tonefloat.wav", FF_WAV, 440, 1.0}, {"tonedouble.wav", FF_WAV, 440, 1.0},
    {"tone_ima.wav", FF_WAV, 440, 1.0},   {"tone_ms.wav", FF_WAV, 440, 1.0},   {"tone.aiff", FF_AIFF, 440, 1.0},
    {"tone.mp3", FF_MP3, 440, 1.0},       {"tone.ogg", FF_OGG, 440, 1.0},      {"tone.flac", FF_FLAC, 440, 1.0},
    {"tone.spx", FF_SPEEX, 440, 1.0},     {"tone.mod", FF_MOD, 7093789.2 / (2 * 428 * 32), 0.96},
};

TEST(AudioEngine, EveryFormatPlaysItsToneThroughTheRecorder) {
  for (const auto& c : kFormats) {
    for (FileFormat format : {FF_AUTODETECT, c.format}) {
      const auto rec = playThroughRecorder(fixture(c.file), format, tempWav("formats"));
      ASSERT_EQ(rec.rate, 44100) << c.file;
      // Encoders pad by up to a frame of their own; ADPCM rounds to blocks.
      EXPECT_NEAR(static_cast<double>(rec.left.size()) / rec.rate, c.seconds, 0.04) << c.file;
      EXPECT_NEAR(tone::frequency(rec.left, rec.rate), c.hz, 4) << c.file;
      // The module's channel sits where its tracker put it; the tones are centred.
      const float loudest = std::max(tone::peak(rec.left), tone::peak(rec.right));
      EXPECT_NEAR(loudest, c.format == FF_MOD ? loudest : 0.5, 0.1) << c.file;
      EXPECT_GT(loudest, 0.05f) << c.file;
    }
  }
}

TEST(AudioEngine, UTF16NamesOpen) {
  const std::string name = fixture("tone.flac");
  const std::wstring wide(name.begin(), name.end());
  auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSourceW(wide.c_str(), FF_AUTODETECT));
  ASSERT_TRUE(source);
  EXPECT_EQ(source->getLength(), 44100);
}

// The system's wave output when wine has one (run with ALSA_CONFIG_PATH naming
// a configuration whose default device is ALSA's null device); without it the
// device is absent, not a crash.
TEST(AudioEngine, SystemWaveOutput) {
  auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("winmm", ""));
  if (waveOutGetNumDevs() == 0) {
    EXPECT_FALSE(device);
    GTEST_SKIP() << "no wave output device";
  }
  ASSERT_TRUE(device);
  EXPECT_STREQ(device->getName(), "winmm");
  StopRecorder stops;
  device->registerCallback(&stops);
  auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSource(fixture("tone.ogg").c_str(), FF_AUTODETECT));
  auto stream = RefPtr<OutputStream>::adopt(AdrOpenSound(device.get(), source.get(), true));
  ASSERT_TRUE(stream);
  stream->setPan(0.5f);
  stream->play();
  EXPECT_TRUE(stream->isPlaying());
  ASSERT_TRUE(stops.waitFor(1));
  EXPECT_EQ(stops.reasons[0], SR_STREAM_ENDED);
  EXPECT_FALSE(stream->isPlaying());
  // The end rewinds, so the sound can play again.
  stream->play();
  ASSERT_TRUE(stops.waitFor(2));
  device->unregisterCallback(&stops);
}

// The DLL as the music player binds it: the 22 names, and objects whose
// layout and calling convention match our declarations.
class AudiereDll : public ::testing::Test {
protected:
  void SetUp() override {
    module_ = LoadLibraryA(ORB_AUDIERE_DLL);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_)
      FreeLibrary(module_);
  }
  template <class F> F entry(const char* name) { return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name))); }
  HMODULE module_ = nullptr;
};

TEST_F(AudiereDll, ResolvesAllTwentyTwoNames) {
  for (const char* name : kEntryPointNames)
    EXPECT_NE(GetProcAddress(module_, name), nullptr) << name;
  EXPECT_EQ(GetProcAddress(module_, "AdrOpenDevice"), nullptr);
}

TEST_F(AudiereDll, PlaysAndReportsStopsAcrossTheBoundary) {
  using OpenDevice = AudioDevice*(ADR_CALL*)(const char*, const char*);
  using OpenSource = SampleSource*(ADR_CALL*)(const char*, FileFormat);
  using OpenSound = OutputStream*(ADR_CALL*)(AudioDevice*, SampleSource*, bool);
  const auto openDevice = entry<OpenDevice>("_AdrOpenDevice@8");
  const auto openSource = entry<OpenSource>("_AdrOpenSampleSource@8");
  const auto openSound = entry<OpenSound>("_AdrOpenSound@12");
  ASSERT_TRUE(openDevice && openSource && openSound);

  const std::string out = tempWav("dll");
  {
    const std::string params = "file=" + out;
    auto device = RefPtr<AudioDevice>::adopt(openDevice("wavfile", params.c_str()));
    ASSERT_TRUE(device);
    StopRecorder stops;
    device->registerCallback(&stops);
    auto source = RefPtr<SampleSource>::adopt(openSource(fixture("tone.mp3").c_str(), FF_AUTODETECT));
    ASSERT_TRUE(source);
    int channels = 0, rate = 0;
    SampleFormat format;
    source->getFormat(channels, rate, format);
    EXPECT_EQ(rate, 44100);
    auto stream = RefPtr<OutputStream>::adopt(openSound(device.get(), source.get(), true));
    ASSERT_TRUE(stream);
    stream->setVolume(0.5f);
    stream->play();
    std::this_thread::sleep_for(200ms);
    stream->stop();
    ASSERT_TRUE(stops.waitFor(1));
    EXPECT_EQ(stops.reasons[0], SR_STOP_CALLED);
    EXPECT_FALSE(stream->isPlaying());
    stream->play();
    ASSERT_TRUE(stops.waitFor(2));
    EXPECT_EQ(stops.reasons[1], SR_STREAM_ENDED);
    device->unregisterCallback(&stops);
  }
  const auto rec = tone::readWav16(out);
  DeleteFileA(out.c_str());
  EXPECT_NEAR(tone::frequency(rec.left, 44100), 440, 3);
  EXPECT_NEAR(tone::peak(rec.left), 0.25, 0.05);
}

} // namespace
