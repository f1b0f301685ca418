// Speex in Ogg: libogg for the pages, libspeex for the frames.

#include <ogg/ogg.h>
#include <speex/speex.h>
#include <speex/speex_callbacks.h>
#include <speex/speex_header.h>
#include <speex/speex_stereo.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "audio/core/BasicSource.h"
#include "audio/core/Decoders.h"
#include "audio/core/Files.h"

namespace adr {
namespace {

struct HeaderDeleter {
  void operator()(SpeexHeader* h) const { speex_header_free(h); }
};
struct StereoDeleter {
  void operator()(SpeexStereoState* s) const { speex_stereo_state_destroy(s); }
};
struct DecoderDeleter {
  void operator()(void* d) const { speex_decoder_destroy(d); }
};

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

class SpeexSource final : public BasicSource {
public:
  explicit SpeexSource(RefPtr<File> file) : file_(std::move(file)) {
    ogg_sync_init(&sync_);
    speex_bits_init(&bits_);
  }
  ~SpeexSource() override {
    if (streamInit_)
      ogg_stream_clear(&stream_);
    ogg_sync_clear(&sync_);
    speex_bits_destroy(&bits_);
  }

  bool open() {
    if (!restart())
      return false;
    // The encoder's granule positions already leave out the decoder's delay.
    length_ = lastGranule();
    return true;
  }

  bool ADR_CALL isSeekable() override { return length_ > 0; }
  int ADR_CALL getLength() override { return length_; }
  // Speex has no index: seeking decodes from the start up to the target.
  void ADR_CALL setPosition(int position) override {
    if (!restart())
      return;
    int16_t scratch[2048];
    for (int left = std::clamp(position, 0, length_); left > 0;) {
      const int n = readFrames(std::min(left, 2048 / channels_), scratch);
      if (n <= 0)
        break;
      left -= n;
    }
  }
  int ADR_CALL getPosition() override { return pos_; }

protected:
  int readFrames(int frameCount, void* buffer) override {
    auto* out = static_cast<int16_t*>(buffer);
    int total = 0;
    while (total < frameCount && (length_ == 0 || pos_ < length_)) {
      size_t available = (pcm_.size() - pcmPos_) / static_cast<size_t>(channels_);
      if (available == 0) {
        if (!decodePacket())
          break;
        continue;
      }
      int n = static_cast<int>(std::min<size_t>(available, static_cast<size_t>(frameCount - total)));
      if (length_ > 0)
        n = std::min(n, length_ - pos_);
      std::memcpy(out + static_cast<size_t>(total) * channels_, pcm_.data() + pcmPos_,
                  static_cast<size_t>(n) * channels_ * 2);
      pcmPos_ += static_cast<size_t>(n) * channels_;
      total += n;
      pos_ += n;
    }
    return total;
  }

private:
  bool nextPacket(ogg_packet& packet) {
    for (;;) {
      if (streamInit_ && ogg_stream_packetout(&stream_, &packet) == 1)
        return true;
      ogg_page page;
      while (ogg_sync_pageout(&sync_, &page) != 1) {
        char* data = ogg_sync_buffer(&sync_, 4096);
        const int n = data ? file_->read(data, 4096) : 0;
        if (n <= 0)
          return false;
        ogg_sync_wrote(&sync_, n);
      }
      if (!streamInit_) {
        ogg_stream_init(&stream_, ogg_page_serialno(&page));
        streamInit_ = true;
      }
      ogg_stream_pagein(&stream_, &page);
    }
  }

  // Back to the first audio packet, with a fresh decoder.
  bool restart() {
    file_->seek(0, SM_BEGIN);
    ogg_sync_reset(&sync_);
    if (streamInit_) {
      ogg_stream_clear(&stream_);
      streamInit_ = false;
    }
    pcm_.clear();
    pcmPos_ = 0;
    pos_ = 0;
    ogg_packet packet;
    // The library complains on the console about packets too short to be a header.
    if (!nextPacket(packet) || packet.bytes < static_cast<long>(sizeof(SpeexHeader)) ||
        std::memcmp(packet.packet, "Speex   ", 8) != 0)
      return false;
    std::unique_ptr<SpeexHeader, HeaderDeleter> header(
        speex_packet_to_header(reinterpret_cast<char*>(packet.packet), static_cast<int>(packet.bytes)));
    if (!header || header->mode < 0 || header->mode >= SPEEX_NB_MODES || header->nb_channels < 1 ||
        header->nb_channels > 2 || header->rate < 1000 || header->rate > 192000)
      return false;
    decoder_.reset(speex_decoder_init(speex_lib_get_mode(header->mode)));
    if (!decoder_)
      return false;
    channels_ = header->nb_channels;
    framesPerPacket_ = std::max(1, static_cast<int>(header->frames_per_packet));
    int rate = header->rate, enhance = 1;
    speex_decoder_ctl(decoder_.get(), SPEEX_SET_SAMPLING_RATE, &rate);
    speex_decoder_ctl(decoder_.get(), SPEEX_SET_ENH, &enhance);
    speex_decoder_ctl(decoder_.get(), SPEEX_GET_FRAME_SIZE, &frameSize_);
    speex_decoder_ctl(decoder_.get(), SPEEX_GET_LOOKAHEAD, &lookahead_);
    if (frameSize_ <= 0 || frameSize_ > 2048)
      return false;
    stereo_.reset(speex_stereo_state_init());
    if (channels_ == 2) {
      SpeexCallback callback{};
      callback.callback_id = SPEEX_INBAND_STEREO;
      callback.func = speex_std_stereo_request_handler;
      callback.data = stereo_.get();
      speex_decoder_ctl(decoder_.get(), SPEEX_SET_HANDLER, &callback);
    }
    setFormat(channels_, rate, SF_S16);
    // The comment packet, then any extra headers the encoder announced.
    if (!nextPacket(packet))
      return false;
    if (!tagsRead_) {
      readComments(packet);
      tagsRead_ = true;
    }
    for (int i = 0; i < header->extra_headers && i < 16; ++i)
      if (!nextPacket(packet))
        return false;
    skip_ = lookahead_;
    return true;
  }

  bool decodePacket() {
    ogg_packet packet;
    if (!nextPacket(packet))
      return false;
    pcm_.clear();
    pcmPos_ = 0;
    speex_bits_read_from(&bits_, reinterpret_cast<char*>(packet.packet), static_cast<int>(packet.bytes));
    std::vector<int16_t> frame(static_cast<size_t>(frameSize_) * 2);
    for (int i = 0; i < framesPerPacket_; ++i) {
      if (speex_decode_int(decoder_.get(), &bits_, frame.data()) != 0 || speex_bits_remaining(&bits_) < 0)
        break;
      if (channels_ == 2)
        speex_decode_stereo_int(frame.data(), frameSize_, stereo_.get());
      pcm_.insert(pcm_.end(), frame.begin(), frame.begin() + static_cast<ptrdiff_t>(frameSize_) * channels_);
    }
    // The decoder's delay is trimmed from the front, as the encoder added it.
    const size_t drop = std::min(pcm_.size(), static_cast<size_t>(skip_) * channels_);
    pcmPos_ = drop;
    skip_ -= static_cast<int>(drop / channels_);
    return true;
  }

  void readComments(const ogg_packet& packet) {
    const unsigned char* p = packet.packet;
    const unsigned char* end = p + packet.bytes;
    if (end - p < 8)
      return;
    const uint32_t vendor = le32(p);
    p += 4;
    if (vendor > static_cast<uint32_t>(end - p) - 4)
      return;
    p += vendor;
    uint32_t count = le32(p);
    p += 4;
    while (count-- > 0 && end - p >= 4) {
      const uint32_t length = le32(p);
      p += 4;
      if (length > static_cast<uint32_t>(end - p))
        return;
      addComment(std::string(reinterpret_cast<const char*>(p), length), "Speex");
      p += length;
    }
  }

  // The granule position of the last page: the stream's length in samples.
  int lastGranule() {
    const int size = fileSize(*file_);
    const int here = file_->tell();
    const int start = std::max(0, size - 65536);
    std::vector<unsigned char> tail(static_cast<size_t>(size - start));
    file_->seek(start, SM_BEGIN);
    tail.resize(static_cast<size_t>(readFully(*file_, tail.data(), static_cast<int>(tail.size()))));
    file_->seek(here, SM_BEGIN);
    for (size_t i = tail.size() >= 27 ? tail.size() - 27 + 1 : 0; i-- > 0;) {
      if (std::memcmp(tail.data() + i, "OggS", 4) != 0)
        continue;
      int64_t granule = 0;
      for (int b = 7; b >= 0; --b)
        granule = granule << 8 | tail[i + 6 + static_cast<size_t>(b)];
      if (granule > 0 && granule < 0x7FFFFFFF)
        return static_cast<int>(granule);
    }
    return 0;
  }

  RefPtr<File> file_;
  ogg_sync_state sync_{};
  ogg_stream_state stream_{};
  bool streamInit_ = false;
  SpeexBits bits_{};
  std::unique_ptr<void, DecoderDeleter> decoder_;
  std::unique_ptr<SpeexStereoState, StereoDeleter> stereo_;
  int channels_ = 1;
  int frameSize_ = 0;
  int framesPerPacket_ = 1;
  int lookahead_ = 0;
  int skip_ = 0;
  int length_ = 0;
  int pos_ = 0;
  bool tagsRead_ = false;
  std::vector<int16_t> pcm_;
  size_t pcmPos_ = 0;
};

} // namespace

RefPtr<SampleSource> openSpeex(RefPtr<File> file) {
  auto source = makeRef<SpeexSource>(std::move(file));
  if (!source->open())
    return {};
  return source;
}

} // namespace adr
