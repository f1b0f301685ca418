// Compressed WAV data through the system's codecs, decoded while it plays;
// and the end of a sound on the system's wave output reported once heard.

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "ToneAnalysis.h"
#include "audio/AudioInterface.h"
#include "audio/core/BlockSource.h"
#include "audio/core/Mixing.h"
#include "audio/core/Ref.h"

using namespace adr;
using namespace std::chrono_literals;

namespace {

std::string fixture(const std::string& name) { return std::string(ORB_AUDIO_FIXTURES) + "/" + name; }

RefPtr<SampleSource> openFixture(const std::string& name) {
  return RefPtr<SampleSource>::adopt(AdrOpenSampleSource(fixture(name).c_str(), FF_AUTODETECT));
}

// The left channel of everything the source yields from where it stands.
std::vector<float> decodeLeft(SampleSource& source) {
  int channels = 0, rate = 0;
  SampleFormat format;
  source.getFormat(channels, rate, format);
  std::vector<float> out;
  std::vector<uint8_t> raw(1000 * static_cast<size_t>(channels) * 2);
  std::vector<float> stereo(2000);
  for (int n; out.size() < 10'000'000 && (n = source.read(1000, raw.data())) > 0;) {
    toStereoFloat(raw.data(), format, channels, static_cast<size_t>(n), stereo.data());
    for (int i = 0; i < n; ++i)
      out.push_back(stereo[2 * static_cast<size_t>(i)]);
  }
  return out;
}

struct Kind {
  const char* file;
  int rate;
  int channels;
  // Blocks that decode on their own: a seek gives the very samples of a
  // play-through. GSM carries state between frames, and wine's decoder
  // starts with a loud transient, so only its pitch and timing are checked.
  bool exact;
};

// sox writes the true frame count in a "fact" chunk: one second each.
const Kind kKinds[] = {
    {"tone_ima.wav", 44100, 1, true}, {"tone_ms.wav", 44100, 1, true},   {"tone_ulaw.wav", 44100, 2, true},
    {"tone_alaw.wav", 8000, 1, true}, {"tone_gsm.wav", 8000, 1, false},
};

TEST(CompressedWav, DecodesWhilePlayingWithExactLengthAndSeeks) {
  for (const auto& k : kKinds) {
    SCOPED_TRACE(k.file);
    auto source = openFixture(k.file);
    if (!source && std::string(k.file) == "tone_gsm.wav")
      continue; // wine's GSM codec needs a library the system may lack
    ASSERT_TRUE(source);
    int channels = 0, rate = 0;
    SampleFormat format;
    source->getFormat(channels, rate, format);
    EXPECT_EQ(rate, k.rate);
    EXPECT_EQ(channels, k.channels);
    EXPECT_EQ(format, SF_S16);
    ASSERT_TRUE(source->isSeekable());
    EXPECT_EQ(source->getLength(), k.rate);

    // Held a chunk at a time, not the whole decoded sound.
    auto* blocks = dynamic_cast<BlockSource*>(source.get());
    ASSERT_NE(blocks, nullptr);
    EXPECT_LT(blocks->bufferBytes(), 32u * 1024);

    const auto whole = decodeLeft(*source);
    ASSERT_EQ(whole.size(), static_cast<size_t>(k.rate));
    EXPECT_NEAR(tone::frequency(whole, k.rate), 440, 2);
    if (k.exact) {
      EXPECT_NEAR(tone::peak(whole), 0.5, 0.08);
    }

    // A seek lands on the frame asked, and from there the sound is the one
    // heard when playing through.
    for (const double at : {0.0, 0.3, 0.5123, 0.9, 0.99995}) {
      const int position = static_cast<int>(at * k.rate);
      source->setPosition(position);
      EXPECT_EQ(source->getPosition(), position) << at;
      const auto rest = decodeLeft(*source);
      ASSERT_EQ(rest.size(), whole.size() - static_cast<size_t>(position)) << at;
      if (!k.exact)
        continue;
      for (size_t i = 0; i < rest.size(); ++i)
        ASSERT_EQ(rest[i], whole[static_cast<size_t>(position) + i]) << at << " frame " << i;
    }
  }
}

// Plays a file to its end on the recording device and hands back the tone.
tone::Recording record(const std::string& name, int seekTo = 0) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string out = std::string(dir) + "orb-audio-streaming-" + std::to_string(GetCurrentProcessId()) + ".wav";
  {
    const std::string params = "file=" + out + ",realtime=0";
    auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("wavfile", params.c_str()));
    if (!device)
      return {};
    struct Ended final : StopCallback {
      void ADR_CALL streamStopped(StopEvent*) override {
        std::lock_guard lock(mutex);
        done = true;
        cv.notify_all();
      }
      std::mutex mutex;
      std::condition_variable cv;
      bool done = false;
    } ended;
    device->registerCallback(&ended);
    auto source = openFixture(name);
    auto stream = RefPtr<OutputStream>::adopt(AdrOpenSound(device.get(), source.get(), true));
    if (stream) {
      stream->setPosition(seekTo);
      stream->play();
      std::unique_lock lock(ended.mutex);
      ended.cv.wait_for(lock, 15s, [&] { return ended.done; });
    }
    device->unregisterCallback(&ended);
  }
  auto recording = tone::readWav16(out);
  DeleteFileA(out.c_str());
  return recording;
}

TEST(CompressedWav, TheRecordedToneMatchesAndASeekSkipsWhatItShould) {
  for (const auto& k : kKinds) {
    SCOPED_TRACE(k.file);
    if (!openFixture(k.file))
      continue; // checked above; only the GSM codec may be missing
    const auto whole = record(k.file);
    ASSERT_EQ(whole.rate, 44100);
    EXPECT_NEAR(static_cast<double>(whole.left.size()), 44100, 8);
    EXPECT_NEAR(tone::frequency(whole.left, 44100), 440, 2);
    if (k.exact) {
      EXPECT_NEAR(tone::peak(whole.left), 0.5, 0.08);
    }
    // Started at three quarters, a quarter of a second is heard.
    const auto tail = record(k.file, k.rate * 3 / 4);
    EXPECT_NEAR(static_cast<double>(tail.left.size()), 11025, 8);
    EXPECT_NEAR(tone::frequency(tail.left, 44100), 440, 3);
  }
}

// The system's wave output, when wine has one (see audio/README.md): the end
// of a one-second sound must not be reported before it has been heard.
TEST(WaveOutput, TheEndIsReportedAfterTheSoundWasHeard) {
  if (waveOutGetNumDevs() == 0)
    GTEST_SKIP() << "no wave output device";
  auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("winmm", ""));
  ASSERT_TRUE(device);
  struct Timed final : StopCallback {
    void ADR_CALL streamStopped(StopEvent* event) override {
      std::lock_guard lock(mutex);
      reasons.push_back(event->getReason());
      at.push_back(std::chrono::steady_clock::now());
      cv.notify_all();
    }
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<StopReason> reasons;
    std::vector<std::chrono::steady_clock::time_point> at;
  } stops;
  device->registerCallback(&stops);
  for (const char* name : {"tone16.wav", "tone_ima.wav"}) {
    SCOPED_TRACE(name);
    auto source = openFixture(name);
    auto stream = RefPtr<OutputStream>::adopt(AdrOpenSound(device.get(), source.get(), true));
    ASSERT_TRUE(stream);
    const size_t before = stops.reasons.size();
    const auto start = std::chrono::steady_clock::now();
    stream->play();
    std::unique_lock lock(stops.mutex);
    ASSERT_TRUE(stops.cv.wait_for(lock, 15s, [&] { return stops.reasons.size() > before; }));
    EXPECT_EQ(stops.reasons[before], SR_STREAM_ENDED);
    // Loose on purpose: this is about order, not speed.
    EXPECT_GE(stops.at[before] - start, 900ms);
  }
  device->unregisterCallback(&stops);
}

} // namespace
