#include "audio/core/Sources.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "audio/core/BasicSource.h"

namespace adr {
namespace {

constexpr int kSynthRate = 44100;

// Endless mono 16-bit signals.
class SynthSource : public BasicSource {
public:
  SynthSource() { setFormat(1, kSynthRate, SF_S16); }

protected:
  virtual int16_t next() = 0;
  int readFrames(int frameCount, void* buffer) override {
    auto* out = static_cast<int16_t*>(buffer);
    for (int i = 0; i < frameCount; ++i)
      out[i] = next();
    return frameCount;
  }
};

class Tone final : public SynthSource {
public:
  Tone(double frequency, bool square) : step_(frequency / kSynthRate), square_(square) {}
  void ADR_CALL setPosition(int position) override {
    phase_ = std::fmod(std::max(0, position) * step_, 1.0);
  }

protected:
  int16_t next() override {
    const double v = square_ ? (phase_ < 0.5 ? 1.0 : -1.0) : std::sin(2 * std::numbers::pi * phase_);
    phase_ = std::fmod(phase_ + step_, 1.0);
    return static_cast<int16_t>(std::lround(v * 32767.0));
  }

private:
  double step_;
  bool square_;
  double phase_ = 0;
};

class WhiteNoise final : public SynthSource {
protected:
  int16_t next() override { return static_cast<int16_t>(dist_(rng_)); }

private:
  std::minstd_rand rng_{12345};
  std::uniform_int_distribution<int> dist_{-32767, 32767};
};

// White noise through a filter whose response falls by 3 dB per octave.
class PinkNoise final : public SynthSource {
protected:
  int16_t next() override {
    const double white = dist_(rng_);
    b0_ = 0.99765 * b0_ + white * 0.0990460;
    b1_ = 0.96300 * b1_ + white * 0.2965164;
    b2_ = 0.57000 * b2_ + white * 1.0526913;
    const double pink = (b0_ + b1_ + b2_ + white * 0.1848) * 0.2;
    return static_cast<int16_t>(std::lround(std::clamp(pink, -1.0, 1.0) * 32767.0));
  }

private:
  std::minstd_rand rng_{54321};
  std::uniform_real_distribution<double> dist_{-1.0, 1.0};
  double b0_ = 0, b1_ = 0, b2_ = 0;
};

class SampleBufferImpl;

class BufferSource final : public BasicSource {
public:
  BufferSource(RefPtr<SampleBuffer> owner, const uint8_t* data, int frames, int channels, int rate,
               SampleFormat format)
      : owner_(std::move(owner)), data_(data), frames_(frames) {
    setFormat(channels, rate, format);
  }
  bool ADR_CALL isSeekable() override { return true; }
  int ADR_CALL getLength() override { return frames_; }
  void ADR_CALL setPosition(int position) override { pos_ = std::clamp(position, 0, frames_); }
  int ADR_CALL getPosition() override { return pos_; }

protected:
  int readFrames(int frameCount, void* buffer) override {
    const int n = std::min(frameCount, frames_ - pos_);
    if (n <= 0)
      return 0;
    std::memcpy(buffer, data_ + static_cast<size_t>(pos_) * frameSize(), static_cast<size_t>(n) * frameSize());
    pos_ += n;
    return n;
  }

private:
  RefPtr<SampleBuffer> owner_; // keeps data_ alive
  const uint8_t* data_;
  int frames_;
  int pos_ = 0;
};

class SampleBufferImpl final : public RefImpl<SampleBuffer> {
public:
  SampleBufferImpl(std::vector<uint8_t> bytes, int frames, int channels, int rate, SampleFormat format)
      : bytes_(std::move(bytes)), frames_(frames), channels_(channels), rate_(rate), format_(format) {}
  void ADR_CALL getFormat(int& channelCount, int& sampleRate, SampleFormat& sampleFormat) override {
    channelCount = channels_;
    sampleRate = rate_;
    sampleFormat = format_;
  }
  int ADR_CALL getLength() override { return frames_; }
  const void* ADR_CALL getSamples() override { return bytes_.data(); }
  SampleSource* ADR_CALL openStream() override {
    return makeRef<BufferSource>(RefPtr<SampleBuffer>(this), bytes_.data(), frames_, channels_, rate_, format_)
        .detach();
  }

private:
  std::vector<uint8_t> bytes_;
  int frames_, channels_, rate_;
  SampleFormat format_;
};

struct LoopPoint {
  int location;
  int target;
  int loopCount; // 0 for ever
  int remaining;
};

class LoopPointSourceImpl final : public RefImpl<LoopPointSource> {
public:
  explicit LoopPointSourceImpl(RefPtr<SampleSource> source) : source_(std::move(source)) {
    SampleFormat format;
    source_->getFormat(channels_, rate_, format);
    frameBytes_ = channels_ * (format == SF_U8 ? 1 : 2);
  }

  void ADR_CALL getFormat(int& c, int& r, SampleFormat& f) override { source_->getFormat(c, r, f); }
  int ADR_CALL read(int frameCount, void* buffer) override {
    auto* out = static_cast<uint8_t*>(buffer);
    int total = 0;
    int idle = 0;
    while (total < frameCount) {
      const int pos = source_->getPosition();
      // The next loop point ahead that still has loops to give.
      LoopPoint* next = nullptr;
      for (auto& p : points_)
        if (p.location >= pos && (p.loopCount == 0 || p.remaining > 0) && (!next || p.location < next->location))
          next = &p;
      int want = frameCount - total;
      if (next)
        want = std::min(want, next->location - pos);
      const int n = want > 0 ? source_->read(want, out + static_cast<size_t>(total) * frameBytes_) : 0;
      total += n;
      if (next && source_->getPosition() >= next->location) {
        if (next->loopCount > 0)
          --next->remaining;
        source_->setPosition(next->target);
        // Jumps that yield nothing (a point onto itself) must not spin.
        if (n == 0 && ++idle > 1)
          break;
        continue;
      }
      if (n < want || n == 0)
        break;
    }
    return total;
  }
  void ADR_CALL reset() override {
    source_->reset();
    for (auto& p : points_)
      p.remaining = p.loopCount;
  }
  bool ADR_CALL isSeekable() override { return source_->isSeekable(); }
  int ADR_CALL getLength() override { return source_->getLength(); }
  void ADR_CALL setPosition(int position) override { source_->setPosition(position); }
  int ADR_CALL getPosition() override { return source_->getPosition(); }
  bool ADR_CALL getRepeat() override { return source_->getRepeat(); }
  void ADR_CALL setRepeat(bool repeat) override { source_->setRepeat(repeat); }
  int ADR_CALL getTagCount() override { return source_->getTagCount(); }
  const char* ADR_CALL getTagKey(int i) override { return source_->getTagKey(i); }
  const char* ADR_CALL getTagValue(int i) override { return source_->getTagValue(i); }
  const char* ADR_CALL getTagType(int i) override { return source_->getTagType(i); }

  void ADR_CALL addLoopPoint(int location, int target, int loopCount) override {
    const int length = source_->getLength();
    if (location < 0 || target < 0 || target >= location || (length > 0 && location > length) || loopCount < 0)
      return;
    points_.push_back({location, target, loopCount, loopCount});
  }
  void ADR_CALL removeLoopPoint(int index) override {
    if (index >= 0 && index < getLoopPointCount())
      points_.erase(points_.begin() + index);
  }
  int ADR_CALL getLoopPointCount() override { return static_cast<int>(points_.size()); }
  bool ADR_CALL getLoopPoint(int index, int& location, int& target, int& loopCount) override {
    if (index < 0 || index >= getLoopPointCount())
      return false;
    const auto& p = points_[static_cast<size_t>(index)];
    location = p.location;
    target = p.target;
    loopCount = p.loopCount;
    return true;
  }

private:
  RefPtr<SampleSource> source_;
  int channels_ = 1, rate_ = 0, frameBytes_ = 2;
  std::vector<LoopPoint> points_;
};

class SoundEffectImpl final : public RefImpl<SoundEffect> {
public:
  SoundEffectImpl(RefPtr<AudioDevice> device, RefPtr<SampleBuffer> buffer, SoundEffectType type)
      : device_(std::move(device)), buffer_(std::move(buffer)), type_(type) {}

  void ADR_CALL play() override {
    if (type_ == SET_SINGLE && !streams_.empty()) {
      streams_.front()->reset();
      streams_.front()->play();
      return;
    }
    // Finished copies make room for new ones.
    std::erase_if(streams_, [](const RefPtr<OutputStream>& s) { return !s->isPlaying(); });
    auto source = RefPtr<SampleSource>::adopt(buffer_->openStream());
    auto stream = RefPtr<OutputStream>::adopt(device_->openStream(source.get()));
    if (!stream)
      return;
    stream->setVolume(volume_);
    stream->setPan(pan_);
    stream->setPitchShift(pitch_);
    stream->play();
    streams_.push_back(std::move(stream));
  }
  void ADR_CALL stop() override {
    for (auto& s : streams_) {
      s->stop();
      s->reset();
    }
  }
  void ADR_CALL setVolume(float v) override { volume_ = v; apply(); }
  float ADR_CALL getVolume() override { return volume_; }
  void ADR_CALL setPan(float p) override { pan_ = p; apply(); }
  float ADR_CALL getPan() override { return pan_; }
  void ADR_CALL setPitchShift(float s) override { pitch_ = s; apply(); }
  float ADR_CALL getPitchShift() override { return pitch_; }

private:
  void apply() {
    for (auto& s : streams_) {
      s->setVolume(volume_);
      s->setPan(pan_);
      s->setPitchShift(pitch_);
    }
  }

  RefPtr<AudioDevice> device_;
  RefPtr<SampleBuffer> buffer_;
  SoundEffectType type_;
  std::vector<RefPtr<OutputStream>> streams_;
  float volume_ = 1, pan_ = 0, pitch_ = 1;
};

} // namespace

RefPtr<SampleSource> makeTone(double frequency) {
  if (!(frequency > 0 && frequency < kSynthRate / 2))
    return {};
  return makeRef<Tone>(frequency, false);
}
RefPtr<SampleSource> makeSquareWave(double frequency) {
  if (!(frequency > 0 && frequency < kSynthRate / 2))
    return {};
  return makeRef<Tone>(frequency, true);
}
RefPtr<SampleSource> makeWhiteNoise() { return makeRef<WhiteNoise>(); }
RefPtr<SampleSource> makePinkNoise() { return makeRef<PinkNoise>(); }

RefPtr<SampleBuffer> makeSampleBuffer(const void* samples, int frameCount, int channelCount, int sampleRate,
                                      SampleFormat format) {
  if (!samples || frameCount < 0 || channelCount < 1 || channelCount > 8 || sampleRate < 1 ||
      (format != SF_U8 && format != SF_S16))
    return {};
  const size_t bytes = static_cast<size_t>(frameCount) * channelCount * (format == SF_U8 ? 1 : 2);
  const auto* p = static_cast<const uint8_t*>(samples);
  return makeRef<SampleBufferImpl>(std::vector<uint8_t>(p, p + bytes), frameCount, channelCount, sampleRate, format);
}

RefPtr<SampleBuffer> makeSampleBufferFromSource(SampleSource* source) {
  if (!source)
    return {};
  const int length = source->getLength();
  if (length <= 0 || !source->isSeekable())
    return {};
  int channels = 1, rate = 0;
  SampleFormat format = SF_S16;
  source->getFormat(channels, rate, format);
  const size_t frameBytes = static_cast<size_t>(channels) * (format == SF_U8 ? 1 : 2);
  std::vector<uint8_t> bytes(static_cast<size_t>(length) * frameBytes);
  const bool repeat = source->getRepeat();
  source->setRepeat(false);
  source->reset();
  int total = 0;
  while (total < length) {
    const int n = source->read(length - total, bytes.data() + static_cast<size_t>(total) * frameBytes);
    if (n <= 0)
      break;
    total += n;
  }
  source->reset();
  source->setRepeat(repeat);
  bytes.resize(static_cast<size_t>(total) * frameBytes);
  return makeRef<SampleBufferImpl>(std::move(bytes), total, channels, rate, format);
}

RefPtr<LoopPointSource> makeLoopPointSource(SampleSource* source) {
  if (!source || !source->isSeekable())
    return {};
  return makeRef<LoopPointSourceImpl>(RefPtr<SampleSource>(source));
}

RefPtr<SoundEffect> makeSoundEffect(AudioDevice* device, SampleSource* source, SoundEffectType type) {
  if (!device || !source || (type != SET_SINGLE && type != SET_MULTIPLE))
    return {};
  auto buffer = makeSampleBufferFromSource(source);
  if (!buffer)
    return {};
  return makeRef<SoundEffectImpl>(RefPtr<AudioDevice>(device), std::move(buffer), type);
}

} // namespace adr
