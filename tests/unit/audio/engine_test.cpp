#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"
#include "audio/AudioInterface.h"

using namespace adr;
using namespace audiotest;
using namespace std::chrono_literals;

namespace {

// Records stop events and lets the test wait for them.
class RecordingCallback final : public StopCallback {
public:
  void ADR_CALL streamStopped(StopEvent* event) override {
    std::lock_guard lock(mutex_);
    reasons.push_back(event->getReason());
    streams.push_back(event->getOutputStream());
    onEngineThread = std::this_thread::get_id() != testThread_;
    cv_.notify_all();
  }
  bool waitFor(size_t count, std::chrono::milliseconds timeout = 10s) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [&] { return reasons.size() >= count; });
  }
  std::vector<StopReason> reasons;
  std::vector<OutputStream*> streams;
  bool onEngineThread = false;

private:
  std::thread::id testThread_ = std::this_thread::get_id();
  std::mutex mutex_;
  std::condition_variable cv_;
};

class Engine : public ::testing::Test {
protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("orb-audio-" + std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id())) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav"))
                .string();
  }
  void TearDown() override { std::filesystem::remove(path_); }

  RefPtr<AudioDevice> openRecorder(bool realTime = false) {
    const std::string params = "file=" + path_ + (realTime ? "" : ",realtime=0");
    return RefPtr<AudioDevice>::adopt(AdrOpenDevice("wavfile", params.c_str()));
  }
  RefPtr<OutputStream> openStream(AudioDevice* device, const char* name) {
    auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSource(fixture(name).c_str(), FF_AUTODETECT));
    if (!source)
      return {};
    return RefPtr<OutputStream>::adopt(AdrOpenSound(device, source.get(), true));
  }

  std::string path_;
};

TEST_F(Engine, RecordsWhatPlaysAtTheDeviceRate) {
  RecordingCallback callback;
  {
    auto device = openRecorder();
    ASSERT_TRUE(device);
    EXPECT_STREQ(device->getName(), "wavfile");
    device->registerCallback(&callback);
    // 22.05 kHz stereo 8-bit: the mixer converts rate, width and channels.
    auto stream = openStream(device.get(), "tone8.wav");
    ASSERT_TRUE(stream);
    EXPECT_FALSE(stream->isPlaying());
    stream->play();
    EXPECT_TRUE(callback.waitFor(1));
    EXPECT_FALSE(stream->isPlaying());
    device->unregisterCallback(&callback);
  }
  ASSERT_EQ(callback.reasons.size(), 1u);
  EXPECT_EQ(callback.reasons[0], SR_STREAM_ENDED);
  EXPECT_TRUE(callback.onEngineThread);
  const auto rec = tone::readWav16(path_);
  EXPECT_EQ(rec.rate, 44100);
  EXPECT_NEAR(static_cast<double>(rec.left.size()), 44100, 2);
  EXPECT_NEAR(tone::frequency(rec.left, rec.rate), 440, 1);
  EXPECT_NEAR(tone::peak(rec.right), 0.5, 0.02);
}

TEST_F(Engine, VolumeAndPanShapeTheRecording) {
  {
    auto device = openRecorder();
    RecordingCallback callback;
    device->registerCallback(&callback);
    auto stream = openStream(device.get(), "tone16.wav");
    ASSERT_TRUE(stream);
    stream->setVolume(0.5f);
    stream->setPan(-1.0f);
    EXPECT_FLOAT_EQ(stream->getVolume(), 0.5f);
    EXPECT_FLOAT_EQ(stream->getPan(), -1.0f);
    stream->play();
    ASSERT_TRUE(callback.waitFor(1));
    device->unregisterCallback(&callback);
  }
  const auto rec = tone::readWav16(path_);
  EXPECT_NEAR(tone::peak(rec.left), 0.25, 0.01);
  EXPECT_EQ(tone::peak(rec.right), 0.0f);
}

TEST_F(Engine, StopPausesKeepsThePositionAndReportsTheCall) {
  auto device = openRecorder(true);
  RecordingCallback callback;
  device->registerCallback(&callback);
  auto stream = openStream(device.get(), "tone.flac");
  ASSERT_TRUE(stream);
  EXPECT_TRUE(stream->isSeekable());
  EXPECT_EQ(stream->getLength(), 44100);
  stream->play();
  std::this_thread::sleep_for(300ms);
  stream->stop();
  EXPECT_FALSE(stream->isPlaying());
  ASSERT_TRUE(callback.waitFor(1));
  EXPECT_EQ(callback.reasons[0], SR_STOP_CALLED);
  EXPECT_EQ(callback.streams[0], stream.get());
  const int paused = stream->getPosition();
  EXPECT_GT(paused, 0);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(stream->getPosition(), paused);
  // A second stop changes nothing and reports nothing.
  stream->stop();
  stream->setPosition(40000);
  EXPECT_EQ(stream->getPosition(), 40000);
  stream->play();
  ASSERT_TRUE(callback.waitFor(2));
  EXPECT_EQ(callback.reasons[1], SR_STREAM_ENDED);
  device->unregisterCallback(&callback);
}

TEST_F(Engine, RepeatPlaysOnUntilStopped) {
  auto device = openRecorder();
  RecordingCallback callback;
  device->registerCallback(&callback);
  auto stream = openStream(device.get(), "tone16.wav");
  stream->setRepeat(true);
  EXPECT_TRUE(stream->getRepeat());
  stream->play();
  // Unpaced, a second of sound takes a few milliseconds: well past the end.
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(stream->isPlaying());
  EXPECT_TRUE(callback.reasons.empty());
  stream->stop();
  ASSERT_TRUE(callback.waitFor(1));
  EXPECT_EQ(callback.reasons[0], SR_STOP_CALLED);
  device->unregisterCallback(&callback);
  stream = {};
  device = {};
  EXPECT_GT(tone::readWav16(path_).left.size(), 44100u * 2);
}

TEST_F(Engine, TwoStreamsMix) {
  {
    // At the pace of playback, so that the second starts while the first plays.
    auto device = openRecorder(true);
    RecordingCallback callback;
    device->registerCallback(&callback);
    auto a = openStream(device.get(), "tone16.wav");
    auto b = openStream(device.get(), "tone.ogg");
    a->setPan(-1);
    b->setPan(1);
    b->setPitchShift(2.0f);
    a->play();
    b->play();
    ASSERT_TRUE(callback.waitFor(2));
    device->unregisterCallback(&callback);
  }
  const auto rec = tone::readWav16(path_);
  EXPECT_NEAR(tone::frequency(rec.left, 44100), 440, 1);
  // Twice the pitch, over half the time, from wherever the second play began.
  const auto start = std::find_if(rec.right.begin(), rec.right.end(), [](float v) { return std::fabs(v) > 0.01f; });
  ASSERT_GT(rec.right.end() - start, 23000);
  EXPECT_NEAR(tone::frequency(std::vector<float>(start, start + 21000), 44100), 880, 2);
  EXPECT_EQ(tone::peak(std::vector<float>(start + 23000, rec.right.end())), 0.0f);
}

// Releasing the last reference to a playing stream stops it; the device
// outlives it for as long as the stream holds it.
TEST_F(Engine, ReleasingInAnyOrderIsSafe) {
  for (int round = 0; round < 20; ++round) {
    auto device = openRecorder(true);
    auto stream = openStream(device.get(), "tone.mp3");
    ASSERT_TRUE(stream);
    stream->play();
    if (round % 2)
      device = {};
    std::this_thread::sleep_for(std::chrono::milliseconds(round % 5));
    stream = {};
    device = {};
  }
}

TEST_F(Engine, UnregisteredCallbacksHearNothing) {
  auto device = openRecorder();
  RecordingCallback kept, dropped;
  device->registerCallback(&kept);
  device->registerCallback(&dropped);
  device->unregisterCallback(&dropped);
  auto stream = openStream(device.get(), "tone16.wav");
  stream->play();
  ASSERT_TRUE(kept.waitFor(1));
  EXPECT_TRUE(dropped.reasons.empty());
  device->clearCallbacks();
  stream->play();
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(kept.reasons.size(), 1u);
}

TEST(Devices, ByNameAndThroughTheTestHook) {
  EXPECT_EQ(AdrOpenDevice("no such device", ""), nullptr);
  EXPECT_EQ(AdrOpenDevice("wavfile", ""), nullptr);
  auto null = RefPtr<AudioDevice>::adopt(AdrOpenDevice("null", nullptr));
  ASSERT_TRUE(null);
  EXPECT_STREQ(null->getName(), "null");

  const auto path = (std::filesystem::temp_directory_path() / "orb-audio-hook.wav").string();
  ::setenv("ORB_AUDIO_DEVICE", ("wavfile:" + path).c_str(), 1);
  {
    auto hooked = RefPtr<AudioDevice>::adopt(AdrOpenDevice("", ""));
    ASSERT_TRUE(hooked);
    EXPECT_STREQ(hooked->getName(), "wavfile");
    // Only the default device listens to the hook.
    auto named = RefPtr<AudioDevice>::adopt(AdrOpenDevice("null", ""));
    EXPECT_STREQ(named->getName(), "null");
  }
  ::unsetenv("ORB_AUDIO_DEVICE");
  EXPECT_TRUE(std::filesystem::exists(path));
  std::filesystem::remove(path);
}

TEST(Devices, NullArgumentsAreRefused) {
  auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("null", ""));
  EXPECT_EQ(AdrOpenSound(nullptr, nullptr, true), nullptr);
  EXPECT_EQ(AdrOpenSound(device.get(), nullptr, true), nullptr);
  EXPECT_EQ(device->openStream(nullptr), nullptr);
  EXPECT_EQ(AdrOpenSampleSource(nullptr, FF_AUTODETECT), nullptr);
  EXPECT_EQ(AdrOpenSampleSource("/no/such/file.wav", FF_AUTODETECT), nullptr);
  EXPECT_EQ(AdrOpenSampleSourceW(nullptr, FF_AUTODETECT), nullptr);
  EXPECT_EQ(AdrCreateMemoryFile(nullptr, 10), nullptr);
  EXPECT_EQ(AdrOpenCDDevice(""), nullptr);
  EXPECT_EQ(AdrOpenMIDIDevice(""), nullptr);
  EXPECT_STREQ(AdrEnumerateCDDevices(), "");
  EXPECT_EQ(AdrGetSampleSize(SF_U8), 1);
  EXPECT_EQ(AdrGetSampleSize(SF_S16), 2);
  device->registerCallback(nullptr);
  device->unregisterCallback(nullptr);
}

TEST(Devices, ABufferDecodedUpFrontPlaysLikeAStream) {
  auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice("null", ""));
  const std::string name = fixture("tone.ogg");
  auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSourceW(std::wstring(name.begin(), name.end()).c_str(), FF_AUTODETECT));
  ASSERT_TRUE(source);
  auto stream = RefPtr<OutputStream>::adopt(AdrOpenSound(device.get(), source.get(), false));
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->getLength(), 44100);
  EXPECT_TRUE(stream->isSeekable());
}

} // namespace

namespace {

// The stop callback's slots by position, as a caller that knows only the
// binary layout sees them: 3 is the event type, 4 forwards to 5.
TEST(StopCallbackLayout, SlotsInTheirOrder) {
  struct Probe final : StopCallback {
    void ADR_CALL streamStopped(StopEvent* event) override { seen = event; }
    StopEvent* seen = nullptr;
  } probe;
  void** slots = *reinterpret_cast<void***>(static_cast<Callback*>(&probe));
  using TypeSlot = int (*)(Callback*);
  using CallSlot = void (*)(Callback*, Event*);
  EXPECT_EQ(reinterpret_cast<TypeSlot>(slots[2])(&probe), ET_STOP);
  struct Ended final : StopEvent {
    void ADR_CALL ref() override {}
    void ADR_CALL unref() override {}
    EventType ADR_CALL getType() override { return ET_STOP; }
    OutputStream* ADR_CALL getOutputStream() override { return nullptr; }
    StopReason ADR_CALL getReason() override { return SR_STREAM_ENDED; }
  } event;
  reinterpret_cast<CallSlot>(slots[3])(&probe, &event);
  EXPECT_EQ(probe.seen, &event);
}

} // namespace
