// tunecore.dll loaded as menuhost loads it, listening through the WAV-file
// device that ORB_AUDIO_DEVICE puts in place of the default device.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ToneAnalysis.h"

using namespace std::chrono_literals;

namespace {

using PlayFn = void (*)(const void*, int32_t, uint8_t, int32_t);
using PlayFileFn = void (*)(const char*, uint8_t);
using StopFn = void (*)();
using IsPlayingFn = int32_t (*)();

template <class F> F procAddress(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::vector<char> bytesOf(const std::string& name) {
  std::ifstream in(std::string(ORB_AUDIO_FIXTURES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TuneCore : public ::testing::Test {
protected:
  void SetUp() override {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    out_ = std::string(dir) + "orb-tunecore-" + std::to_string(GetCurrentProcessId()) + ".wav";
    _putenv_s("ORB_AUDIO_DEVICE", ("wavfile:" + out_).c_str());
    module_ = LoadLibraryA(ORB_TUNECORE_DLL);
    ASSERT_NE(module_, nullptr);
    play = procAddress<PlayFn>(module_, "Orb_Audiere_Play");
    playFile = procAddress<PlayFileFn>(module_, "Orb_Audiere_PlayFile");
    stop = procAddress<StopFn>(module_, "Orb_Audiere_Stop");
    isPlaying = procAddress<IsPlayingFn>(module_, "Orb_Audiere_IsPlaying");
    ASSERT_TRUE(play && playFile && stop && isPlaying);
  }
  void TearDown() override {
    if (module_) {
      stop();
      FreeLibrary(module_);
    }
    _putenv_s("ORB_AUDIO_DEVICE", "");
    DeleteFileA(out_.c_str());
  }
  bool waitUntilSilent(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (isPlaying() && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(20ms);
    return !isPlaying();
  }

  std::string out_;
  HMODULE module_ = nullptr;
  PlayFn play = nullptr;
  PlayFileFn playFile = nullptr;
  StopFn stop = nullptr;
  IsPlayingFn isPlaying = nullptr;
};

TEST_F(TuneCore, PlaysFromMemoryUntilTheEndAndKeepsTheSoundCurrent) {
  auto data = bytesOf("tone.ogg");
  ASSERT_FALSE(data.empty());
  play(data.data(), static_cast<int32_t>(data.size()), 0, 2);
  // The caller's buffer may go as soon as Play returns.
  std::fill(data.begin(), data.end(), 0);
  EXPECT_EQ(isPlaying(), 1);
  ASSERT_TRUE(waitUntilSilent(5s));
  // Ended, but still current until Stop: Stop then releases the device.
  EXPECT_EQ(isPlaying(), 0);
  stop();
  const auto rec = tone::readWav16(out_);
  EXPECT_NEAR(static_cast<double>(rec.left.size()), 44100, 200);
  EXPECT_NEAR(tone::frequency(rec.left, 44100), 440, 2);
}

TEST_F(TuneCore, FormatCodesAndDetection) {
  const std::pair<const char*, int32_t> cases[] = {{"tone16.wav", 1}, {"tone.ogg", 2}, {"tone.mp3", 4},
                                                   {"tone.mod", 5},   {"tone.flac", 0}, {"tone.spx", 0}};
  for (const auto& [name, format] : cases) {
    const auto data = bytesOf(name);
    play(data.data(), static_cast<int32_t>(data.size()), 0, format);
    EXPECT_EQ(isPlaying(), 1) << name;
    stop();
    EXPECT_EQ(isPlaying(), 0) << name;
  }
}

TEST_F(TuneCore, PlayWhilePlayingReplacesTheOldSound) {
  const auto looped = bytesOf("tone16.wav");
  const auto module = bytesOf("tone.mod");
  play(looped.data(), static_cast<int32_t>(looped.size()), 1, 1);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(isPlaying(), 1);
  play(module.data(), static_cast<int32_t>(module.size()), 0, 5);
  ASSERT_TRUE(waitUntilSilent(5s));
  stop();
  // The new device's recording holds the module alone: the looping tone was
  // stopped before it started, so nothing of 440 Hz is mixed in.
  const auto rec = tone::readWav16(out_);
  EXPECT_NEAR(static_cast<double>(rec.left.size()), 0.96 * 44100, 0.03 * 44100);
  EXPECT_NEAR(tone::frequency(rec.left, 44100), 7093789.2 / (2 * 428 * 32), 4);
}

TEST_F(TuneCore, LoopingKeepsPlayingPastTheEnd) {
  const auto data = bytesOf("tone.flac");
  play(data.data(), static_cast<int32_t>(data.size()), 1, 0);
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(isPlaying(), 1);
  stop();
  EXPECT_EQ(isPlaying(), 0);
  EXPECT_GT(tone::readWav16(out_).left.size(), 44100u * 1.2);
}

TEST_F(TuneCore, StopWithoutASoundAndUndecodableData) {
  stop();
  stop();
  EXPECT_EQ(isPlaying(), 0);
  const std::string text = "not a sound, only words";
  play(text.data(), static_cast<int32_t>(text.size()), 0, 0);
  EXPECT_EQ(isPlaying(), 0);
  play(text.data(), static_cast<int32_t>(text.size()), 1, 4);
  EXPECT_EQ(isPlaying(), 0);
  play(nullptr, 0, 0, 0);
  EXPECT_EQ(isPlaying(), 0);
  stop();
  EXPECT_EQ(isPlaying(), 0);
}

TEST_F(TuneCore, PlayFileDetectsTheFormat) {
  playFile((std::string(ORB_AUDIO_FIXTURES) + "/tone.aiff").c_str(), 0);
  EXPECT_EQ(isPlaying(), 1);
  ASSERT_TRUE(waitUntilSilent(5s));
  stop();
  EXPECT_NEAR(tone::frequency(tone::readWav16(out_).left, 44100), 440, 2);
  playFile("Z:/no/such/file.ogg", 0);
  EXPECT_EQ(isPlaying(), 0);
  playFile(nullptr, 0);
  EXPECT_EQ(isPlaying(), 0);
}

// Unloading with a sound playing stops it without hanging on the loader lock.
TEST_F(TuneCore, UnloadingStopsTheSound) {
  const auto data = bytesOf("tone16.wav");
  play(data.data(), static_cast<int32_t>(data.size()), 1, 1);
  std::this_thread::sleep_for(200ms);
  ASSERT_EQ(isPlaying(), 1);
  FreeLibrary(module_);
  module_ = nullptr;
  const auto length = tone::readWav16(out_).left.size();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(tone::readWav16(out_).left.size(), length);
}

} // namespace
