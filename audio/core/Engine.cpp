#include "audio/core/Engine.h"

#include <algorithm>

#include "audio/core/Sources.h"

namespace adr {
namespace {

std::atomic<bool> g_joinAllowed{true};

class StopEventImpl final : public RefImpl<StopEvent> {
public:
  StopEventImpl(OutputStream* stream, StopReason reason) : stream_(stream), reason_(reason) {}
  EventType ADR_CALL getType() override { return ET_STOP; }
  OutputStream* ADR_CALL getOutputStream() override { return stream_.get(); }
  StopReason ADR_CALL getReason() override { return reason_; }

private:
  RefPtr<OutputStream> stream_;
  StopReason reason_;
};

} // namespace

void Engine::setJoinAllowed(bool allowed) { g_joinAllowed = allowed; }

Engine::Engine(std::unique_ptr<Sink> sink) : sink_(std::move(sink)), rate_(sink_->rate()) {}

Engine::~Engine() {
  for (Callback* callback : callbacks_)
    callback->unref();
}

void Engine::start() {
  thread_ = std::thread([self = shared_from_this()] { self->run(); });
  threadId_ = thread_.get_id();
}

void Engine::shutdown() {
  std::unique_lock lock(mutex_);
  quit_ = true;
  cv_.notify_all();
  if (thread_.joinable()) {
    if (onEngineThread()) {
      thread_.detach();
    } else if (!g_joinAllowed) {
      // The thread cannot end while the loader lock is held, but it can leave
      // our loop: wait for that, take the sink from it, and let it go.
      cv_.wait(lock, [&] { return loopDone_; });
      sink_.reset();
      lock.unlock();
      // A moment for it to reach the system's thread exit, which then waits
      // for the lock outside our code.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      lock.lock();
      thread_.detach();
    } else {
      lock.unlock();
      thread_.join();
      lock.lock();
    }
  }
  // Events nobody will deliver would keep their streams, and so this engine.
  std::vector<RefPtr<StopEvent>> undelivered;
  undelivered.swap(events_);
  lock.unlock();
}

void Engine::add(StreamImpl* stream) {
  std::lock_guard lock(mutex_);
  streams_.push_back(stream);
}

void Engine::release(StreamImpl* stream) {
  std::unique_lock lock(mutex_);
  if (!stream->dropReference())
    return;
  streams_.erase(std::remove(streams_.begin(), streams_.end(), stream), streams_.end());
  std::erase_if(endings_, [&](const Ending& e) { return e.stream == stream; });
  lock.unlock();
  // The stream may hold the last reference to this engine's device, and so to
  // this engine: keep it alive until the function has returned.
  const auto self = shared_from_this();
  delete stream;
}

void Engine::wake() {
  std::lock_guard lock(mutex_);
  cv_.notify_all();
}

void Engine::postStop(OutputStream* stream, StopReason reason) {
  std::lock_guard lock(mutex_);
  if (quit_)
    return;
  events_.push_back(makeRef<StopEventImpl>(stream, reason));
  cv_.notify_all();
}

void Engine::registerCallback(Callback* callback) {
  if (!callback)
    return;
  std::lock_guard lock(callbackMutex_);
  callback->ref();
  callbacks_.push_back(callback);
}

void Engine::unregisterCallback(Callback* callback) {
  std::unique_lock<std::mutex> running;
  if (!onEngineThread())
    running = std::unique_lock(dispatchMutex_);
  std::lock_guard lock(callbackMutex_);
  const auto it = std::find(callbacks_.begin(), callbacks_.end(), callback);
  if (it != callbacks_.end()) {
    callbacks_.erase(it);
    callback->unref();
  }
}

void Engine::clearCallbacks() {
  std::unique_lock<std::mutex> running;
  if (!onEngineThread())
    running = std::unique_lock(dispatchMutex_);
  std::lock_guard lock(callbackMutex_);
  for (Callback* callback : callbacks_)
    callback->unref();
  callbacks_.clear();
}

void Engine::dispatch() {
  std::vector<RefPtr<StopEvent>> events;
  {
    std::lock_guard lock(mutex_);
    events.swap(events_);
  }
  if (events.empty())
    return;
  std::lock_guard running(dispatchMutex_);
  for (auto& event : events) {
    std::vector<RefPtr<Callback>> callbacks;
    {
      std::lock_guard lock(callbackMutex_);
      for (Callback* callback : callbacks_)
        callbacks.emplace_back(callback);
    }
    for (auto& callback : callbacks) {
      // A callback is foreign code: nothing it throws may end the engine.
      try {
        if (callback->getType() == event->getType())
          callback->call(event.get());
      } catch (...) {
      }
    }
  }
}

void Engine::finishHeard() {
  {
    std::lock_guard lock(mutex_);
    if (endings_.empty())
      return;
  }
  // Asked outside the lock: the system's device may take its time.
  const uint64_t heard = sink_->played();
  std::lock_guard lock(mutex_);
  std::erase_if(endings_, [&](const Ending& e) {
    if (e.lastFrame > heard)
      return false;
    if (e.stream->finishEnd(e.generation))
      events_.push_back(makeRef<StopEventImpl>(e.stream, SR_STREAM_ENDED));
    return true;
  });
}

void Engine::run() {
  std::vector<float> mix(kBlockFrames * 2);
  std::vector<int16_t> pcm(kBlockFrames * 2);
  bool active = false;
  try {
    for (;;) {
      size_t produced = 0;
      {
        std::unique_lock lock(mutex_);
        const auto ready = [&] {
          return quit_ || !events_.empty() ||
                 std::any_of(streams_.begin(), streams_.end(), [](StreamImpl* s) { return s->mixing(); });
        };
        // While a tail is being heard the sink's clock is watched.
        if (endings_.empty())
          cv_.wait(lock, ready);
        else
          cv_.wait_for(lock, std::chrono::milliseconds(5), ready);
        if (quit_)
          break;
        std::fill(mix.begin(), mix.end(), 0.0f);
        for (StreamImpl* stream : streams_) {
          bool ended = false;
          unsigned generation = 0;
          const size_t n = stream->mixInto(mix.data(), kBlockFrames, ended, generation);
          produced = std::max(produced, n);
          if (ended)
            endings_.push_back({stream, written_ + n, generation});
        }
      }
      if (produced > 0) {
        toS16(mix.data(), produced * 2, pcm.data());
        sink_->write(pcm.data(), produced);
        written_ += produced;
        active = true;
      } else if (active) {
        // Sends what the sink gathered, so the last frames get played.
        sink_->idle();
        active = false;
      }
      finishHeard();
      dispatch();
    }
    dispatch();
    // Events posted after the end would hold their streams for ever.
    std::vector<RefPtr<StopEvent>> late;
    {
      std::lock_guard lock(mutex_);
      late.swap(events_);
      endings_.clear();
    }
  } catch (...) {
    // Out of memory or a broken sink: the device falls silent but stays usable.
  }
  std::lock_guard lock(mutex_);
  loopDone_ = true;
  cv_.notify_all();
}

MixerDevice::MixerDevice(std::string name, std::unique_ptr<Sink> sink)
    : name_(std::move(name)), engine_(std::make_shared<Engine>(std::move(sink))) {
  engine_->start();
}

MixerDevice::~MixerDevice() { engine_->shutdown(); }

OutputStream* MixerDevice::openStream(SampleSource* source) {
  if (!source)
    return nullptr;
  try {
    return makeRef<StreamImpl>(engine_, RefPtr<SampleSource>(source)).detach();
  } catch (...) {
    return nullptr;
  }
}

OutputStream* MixerDevice::openBuffer(void* samples, int frameCount, int channelCount, int sampleRate,
                                      SampleFormat sampleFormat) {
  auto buffer = makeSampleBuffer(samples, frameCount, channelCount, sampleRate, sampleFormat);
  if (!buffer)
    return nullptr;
  auto source = RefPtr<SampleSource>::adopt(buffer->openStream());
  return openStream(source.get());
}

RefPtr<AudioDevice> makeMixerDevice(std::string name, std::unique_ptr<Sink> sink) {
  if (!sink)
    return {};
  return makeRef<MixerDevice>(std::move(name), std::move(sink));
}

StreamImpl::StreamImpl(std::shared_ptr<Engine> engine, RefPtr<SampleSource> source)
    : engine_(std::move(engine)), source_(std::move(source)) {
  source_->getFormat(channels_, rate_, format_);
  channels_ = std::max(1, channels_);
  rate_ = std::max(1, rate_);
  resampler_.setStep(static_cast<double>(rate_) / engine_->rate());
  engine_->add(this);
}

void StreamImpl::play() {
  {
    std::lock_guard lock(mutex_);
    if (playing_)
      return;
    playing_ = true;
  }
  engine_->wake();
}

void StreamImpl::stop() {
  {
    std::lock_guard lock(mutex_);
    if (!playing_)
      return;
    playing_ = false;
    if (ending_) {
      // Stopped while its tail played: rewound as the end would have.
      ending_ = false;
      source_->reset();
      resampler_.reset();
    }
  }
  engine_->postStop(this, SR_STOP_CALLED);
}

void StreamImpl::setRepeat(bool repeat) {
  std::lock_guard lock(mutex_);
  source_->setRepeat(repeat);
}
bool StreamImpl::getRepeat() {
  std::lock_guard lock(mutex_);
  return source_->getRepeat();
}
void StreamImpl::setVolume(float volume) {
  std::lock_guard lock(mutex_);
  volume_ = std::clamp(volume, 0.0f, 1.0f);
}
float StreamImpl::getVolume() {
  std::lock_guard lock(mutex_);
  return volume_;
}
void StreamImpl::setPan(float pan) {
  std::lock_guard lock(mutex_);
  pan_ = std::clamp(pan, -1.0f, 1.0f);
}
float StreamImpl::getPan() {
  std::lock_guard lock(mutex_);
  return pan_;
}
void StreamImpl::setPitchShift(float shift) {
  std::lock_guard lock(mutex_);
  pitch_ = std::clamp(shift, 0.5f, 2.0f);
  resampler_.setStep(static_cast<double>(rate_) * pitch_ / engine_->rate());
}
float StreamImpl::getPitchShift() {
  std::lock_guard lock(mutex_);
  return pitch_;
}
bool StreamImpl::isSeekable() {
  std::lock_guard lock(mutex_);
  return source_->isSeekable();
}
int StreamImpl::getLength() {
  std::lock_guard lock(mutex_);
  return source_->getLength();
}
void StreamImpl::setPosition(int position) {
  std::lock_guard lock(mutex_);
  source_->setPosition(position);
  resampler_.reset();
  // A seek during the tail plays on from there; that end no longer stands.
  ending_ = false;
}
int StreamImpl::getPosition() {
  std::lock_guard lock(mutex_);
  return source_->getPosition();
}

size_t StreamImpl::mixInto(float* mix, size_t frames, bool& ended, unsigned& generation) {
  std::lock_guard lock(mutex_);
  if (!playing_ || ending_)
    return 0;
  scratch_.resize(frames * 2);
  const size_t frameBytes = static_cast<size_t>(channels_) * (format_ == SF_U8 ? 1 : 2);
  const size_t produced = resampler_.process(scratch_.data(), frames, [&](float* dst, size_t n) -> size_t {
    raw_.resize(n * frameBytes);
    const int got = source_->read(static_cast<int>(n), raw_.data());
    if (got <= 0)
      return 0;
    toStereoFloat(raw_.data(), format_, channels_, static_cast<size_t>(got), dst);
    return static_cast<size_t>(got);
  });
  const PanGains g = panGains(volume_, pan_);
  for (size_t i = 0; i < produced; ++i) {
    mix[2 * i] += scratch_[2 * i] * g.left;
    mix[2 * i + 1] += scratch_[2 * i + 1] * g.right;
  }
  if (produced < frames) {
    ending_ = true;
    ended = true;
    generation = ++endGeneration_;
  }
  return produced;
}

bool StreamImpl::finishEnd(unsigned generation) {
  std::lock_guard lock(mutex_);
  if (!ending_ || generation != endGeneration_)
    return false;
  // A later play starts again from the beginning.
  ending_ = false;
  playing_ = false;
  source_->reset();
  resampler_.reset();
  return true;
}

} // namespace adr
