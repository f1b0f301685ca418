#pragma once
// The mixing engine behind every device: one thread that mixes the playing
// streams block by block, hands the result to a sink and delivers stop events
// to the registered callbacks.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/core/Mixing.h"
#include "audio/core/Ref.h"
#include "audio/core/Sink.h"

namespace adr {

class StreamImpl;

class Engine : public std::enable_shared_from_this<Engine> {
public:
  static constexpr size_t kBlockFrames = 1024;

  explicit Engine(std::unique_ptr<Sink> sink);
  ~Engine();
  void start();
  // Ends the thread. From the engine's own thread, or while the system's
  // loader lock is held (see setJoinAllowed), the thread is let go instead of
  // joined; it keeps the engine alive until it has left its loop.
  void shutdown();

  int rate() const { return rate_; }
  void add(StreamImpl* stream);
  // Drops a reference to a stream; the last one takes it off the list in the
  // same step, so the mixer never meets a stream that is being freed.
  void release(StreamImpl* stream);
  void wake();
  void postStop(OutputStream* stream, StopReason reason);

  void registerCallback(Callback* callback);
  void unregisterCallback(Callback* callback);
  void clearCallbacks();

  // A DLL that is being unloaded must not join threads.
  static void setJoinAllowed(bool allowed);

private:
  // A stream whose data ran out, waiting for the sink to have played its
  // last frame before its end is reported.
  struct Ending {
    StreamImpl* stream;
    uint64_t lastFrame;
    unsigned generation;
  };

  void run();
  // Reports the ends whose last frame has been heard.
  void finishHeard();
  void dispatch();
  bool onEngineThread() const { return std::this_thread::get_id() == threadId_; }

  std::unique_ptr<Sink> sink_;
  const int rate_;
  std::mutex mutex_; // guards streams_, endings_, events_, quit_, loopDone_
  std::condition_variable cv_;
  std::vector<StreamImpl*> streams_;
  std::vector<Ending> endings_;
  uint64_t written_ = 0; // frames handed to the sink; engine thread only
  std::vector<RefPtr<StopEvent>> events_;
  bool quit_ = false;
  bool loopDone_ = false;
  std::mutex callbackMutex_;
  std::vector<Callback*> callbacks_;
  // Held while callbacks run, so that unregistering waits for a running call.
  std::mutex dispatchMutex_;
  std::thread thread_;
  std::thread::id threadId_;
};

// A device over an engine.
class MixerDevice final : public RefImpl<AudioDevice> {
public:
  MixerDevice(std::string name, std::unique_ptr<Sink> sink);
  ~MixerDevice() override;

  void ADR_CALL update() override {}
  OutputStream* ADR_CALL openStream(SampleSource* source) override;
  OutputStream* ADR_CALL openBuffer(void* samples, int frameCount, int channelCount, int sampleRate,
                                    SampleFormat sampleFormat) override;
  const char* ADR_CALL getName() override { return name_.c_str(); }
  void ADR_CALL registerCallback(Callback* callback) override { engine_->registerCallback(callback); }
  void ADR_CALL unregisterCallback(Callback* callback) override { engine_->unregisterCallback(callback); }
  void ADR_CALL clearCallbacks() override { engine_->clearCallbacks(); }

private:
  std::string name_;
  std::shared_ptr<Engine> engine_;
};

RefPtr<AudioDevice> makeMixerDevice(std::string name, std::unique_ptr<Sink> sink);

class StreamImpl final : public RefImpl<OutputStream> {
public:
  StreamImpl(std::shared_ptr<Engine> engine, RefPtr<SampleSource> source);
  void ADR_CALL unref() override { engine_->release(this); }
  void ADR_CALL play() override;
  void ADR_CALL stop() override;
  bool ADR_CALL isPlaying() override { return playing_.load(); }
  void ADR_CALL reset() override { setPosition(0); }
  void ADR_CALL setRepeat(bool repeat) override;
  bool ADR_CALL getRepeat() override;
  void ADR_CALL setVolume(float volume) override;
  float ADR_CALL getVolume() override;
  void ADR_CALL setPan(float pan) override;
  float ADR_CALL getPan() override;
  void ADR_CALL setPitchShift(float shift) override;
  float ADR_CALL getPitchShift() override;
  bool ADR_CALL isSeekable() override;
  int ADR_CALL getLength() override;
  void ADR_CALL setPosition(int position) override;
  int ADR_CALL getPosition() override;

  // Engine thread, with the engine's lock held: adds up to frames frames to
  // mix and returns how many it had. When the source ran out, sets ended and
  // the generation of this end; the stream then plays on, silent, until
  // finishEnd() says its last frame has been heard.
  size_t mixInto(float* mix, size_t frames, bool& ended, unsigned& generation);
  // True when the end of that generation still stands (no stop or seek came
  // since): the stream stops and rewinds, and the end is to be reported.
  bool finishEnd(unsigned generation);
  bool mixing() const { return playing_.load() && !ending_.load(); }

private:
  friend class Engine;
  bool dropReference() { return dropRef(); }

  RefPtr<AudioDevice> device_;
  std::shared_ptr<Engine> engine_;
  std::mutex mutex_;
  RefPtr<SampleSource> source_;
  int channels_ = 1;
  int rate_ = 44100;
  SampleFormat format_ = SF_S16;
  std::atomic<bool> playing_{false};
  // Out of data while its tail is still being heard.
  std::atomic<bool> ending_{false};
  unsigned endGeneration_ = 0;
  float volume_ = 1.0f;
  float pan_ = 0.0f;
  float pitch_ = 1.0f;
  Resampler resampler_;
  std::vector<uint8_t> raw_;
  std::vector<float> scratch_;
};

} // namespace adr
