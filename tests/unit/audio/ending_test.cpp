// A stream's end is reported when its last frame has been heard, not when it
// was handed to the output, which may hold a long queue.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"
#include "audio/AudioInterface.h"
#include "audio/core/Engine.h"

using namespace adr;
using namespace audiotest;
using namespace std::chrono_literals;

namespace {

class Stops final : public StopCallback {
public:
  void ADR_CALL streamStopped(StopEvent* event) override {
    std::lock_guard lock(mutex_);
    reasons.push_back(event->getReason());
    positions.push_back(event->getOutputStream()->getPosition());
    cv_.notify_all();
  }
  bool waitFor(size_t count, std::chrono::milliseconds timeout = 10s) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [&] { return reasons.size() >= count; });
  }
  size_t count() {
    std::lock_guard lock(mutex_);
    return reasons.size();
  }
  std::vector<StopReason> reasons;
  std::vector<int> positions;

private:
  std::mutex mutex_;
  std::condition_variable cv_;
};

// An output that takes everything at once and plays only as far as the test
// says, like a sound card with a deep queue.
class QueueSink final : public Sink {
public:
  struct State {
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> heard{0};
  };
  explicit QueueSink(std::shared_ptr<State> state) : state_(std::move(state)) {}
  int rate() const override { return 44100; }
  void write(const int16_t*, size_t count) override {
    state_->written += count;
    // Still a little pacing, so that a stream never hands over everything in
    // one go with nothing left to watch.
    std::this_thread::sleep_for(1ms);
  }
  uint64_t played() override { return state_->heard.load(); }

private:
  std::shared_ptr<State> state_;
};

class QueuedOutput : public ::testing::Test {
protected:
  void SetUp() override {
    state_ = std::make_shared<QueueSink::State>();
    device_ = makeMixerDevice("queue", std::make_unique<QueueSink>(state_));
    device_->registerCallback(&stops_);
    auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSource(fixture("tone16.wav").c_str(), FF_AUTODETECT));
    stream_ = RefPtr<OutputStream>::adopt(AdrOpenSound(device_.get(), source.get(), true));
    ASSERT_TRUE(stream_);
    ASSERT_EQ(stream_->getLength(), 44100);
  }
  void TearDown() override { device_->unregisterCallback(&stops_); }

  bool waitWritten(uint64_t frames) {
    for (int i = 0; i < 500 && state_->written < frames; ++i)
      std::this_thread::sleep_for(10ms);
    return state_->written >= frames;
  }

  std::shared_ptr<QueueSink::State> state_;
  RefPtr<AudioDevice> device_;
  Stops stops_;
  RefPtr<OutputStream> stream_;
};

TEST_F(QueuedOutput, TheEndWaitsForTheLastFrameToBeHeard) {
  stream_->play();
  ASSERT_TRUE(waitWritten(44100));
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(stops_.count(), 0u);
  EXPECT_TRUE(stream_->isPlaying());
  state_->heard = 44099;
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(stops_.count(), 0u);
  state_->heard = 44100;
  ASSERT_TRUE(stops_.waitFor(1));
  EXPECT_EQ(stops_.reasons[0], SR_STREAM_ENDED);
  // Rewound for the next play, as the end always did.
  EXPECT_EQ(stops_.positions[0], 0);
  EXPECT_FALSE(stream_->isPlaying());
  EXPECT_EQ(state_->written.load(), 44100u);

  // Played again, the end counts from where the output then stands.
  stream_->play();
  ASSERT_TRUE(waitWritten(88200));
  state_->heard = 88199;
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(stops_.count(), 1u);
  state_->heard = 88200;
  ASSERT_TRUE(stops_.waitFor(2));
  EXPECT_EQ(stops_.reasons[1], SR_STREAM_ENDED);
}

TEST_F(QueuedOutput, AStopDuringTheTailIsTheOnlyReport) {
  stream_->play();
  ASSERT_TRUE(waitWritten(44100));
  stream_->stop();
  EXPECT_FALSE(stream_->isPlaying());
  ASSERT_TRUE(stops_.waitFor(1));
  EXPECT_EQ(stops_.reasons[0], SR_STOP_CALLED);
  state_->heard = 44100;
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(stops_.count(), 1u);
  // The stop came after all was handed over: the next play starts afresh.
  EXPECT_EQ(stream_->getPosition(), 0);
}

TEST_F(QueuedOutput, ASeekDuringTheTailPlaysOnFromThere) {
  stream_->play();
  ASSERT_TRUE(waitWritten(44100));
  stream_->setPosition(34100);
  ASSERT_TRUE(waitWritten(54100));
  // The first end no longer stands.
  state_->heard = 44100;
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(stops_.count(), 0u);
  EXPECT_TRUE(stream_->isPlaying());
  state_->heard = 54100;
  ASSERT_TRUE(stops_.waitFor(1));
  EXPECT_EQ(stops_.reasons[0], SR_STREAM_ENDED);
  EXPECT_EQ(state_->written.load(), 54100u);
}

TEST_F(QueuedOutput, ReleasingAStreamDuringItsTailReportsNothing) {
  stream_->play();
  ASSERT_TRUE(waitWritten(44100));
  stream_ = {};
  state_->heard = 44100;
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(stops_.count(), 0u);
}

// The devices without a sound card keep the time of real playback: the end
// of a one-second sound is not reported before a second has passed.
TEST(DeviceTiming, PacedDevicesReportTheEndAfterTheSoundsLength) {
  const auto path = (std::filesystem::temp_directory_path() / "orb-audio-timing.wav").string();
  const std::string recorder = "file=" + path;
  const struct {
    const char* name;
    const char* parameters;
  } devices[] = {{"null", ""}, {"wavfile", recorder.c_str()}};
  for (const auto& d : devices) {
    auto device = RefPtr<AudioDevice>::adopt(AdrOpenDevice(d.name, d.parameters));
    ASSERT_TRUE(device) << d.name;
    Stops stops;
    device->registerCallback(&stops);
    auto source = RefPtr<SampleSource>::adopt(AdrOpenSampleSource(fixture("tone16.wav").c_str(), FF_AUTODETECT));
    auto stream = RefPtr<OutputStream>::adopt(AdrOpenSound(device.get(), source.get(), true));
    ASSERT_TRUE(stream);
    const auto start = std::chrono::steady_clock::now();
    stream->play();
    ASSERT_TRUE(stops.waitFor(1)) << d.name;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, 990ms) << d.name;
    EXPECT_EQ(stops.reasons[0], SR_STREAM_ENDED);
    device->unregisterCallback(&stops);
  }
  std::filesystem::remove(path);
}

} // namespace
