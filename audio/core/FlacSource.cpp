// FLAC through libFLAC's stream decoder, reading from our file objects.

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "audio/core/BasicSource.h"
#include "audio/core/Decoders.h"
#include "audio/core/Files.h"

namespace adr {
namespace {

struct DecoderDeleter {
  void operator()(FLAC__StreamDecoder* d) const { FLAC__stream_decoder_delete(d); }
};

class FlacSource final : public BasicSource {
public:
  explicit FlacSource(RefPtr<File> file) : file_(std::move(file)), size_(fileSize(*file_)) {}
  ~FlacSource() override {
    if (decoder_)
      FLAC__stream_decoder_finish(decoder_.get());
  }

  bool open() {
    decoder_.reset(FLAC__stream_decoder_new());
    if (!decoder_)
      return false;
    FLAC__stream_decoder_set_metadata_respond(decoder_.get(), FLAC__METADATA_TYPE_VORBIS_COMMENT);
    file_->seek(0, SM_BEGIN);
    if (FLAC__stream_decoder_init_stream(decoder_.get(), &readCb, &seekCb, &tellCb, &lengthCb, &eofCb, &writeCb,
                                         &metadataCb, &errorCb, this) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
      return false;
    if (!FLAC__stream_decoder_process_until_end_of_metadata(decoder_.get()) || !haveInfo_)
      return false;
    return channels_ >= 1 && rate_ > 0 && bits_ >= 4 && bits_ <= 32;
  }

  bool ADR_CALL isSeekable() override { return length_ > 0; }
  int ADR_CALL getLength() override { return length_; }
  void ADR_CALL setPosition(int position) override {
    pending_.clear();
    pendingPos_ = 0;
    const int target = std::clamp(position, 0, length_ > 0 ? length_ : 0);
    if (FLAC__stream_decoder_seek_absolute(decoder_.get(), static_cast<FLAC__uint64>(target))) {
      pos_ = target;
    } else {
      // A failed seek leaves the decoder needing a flush before it decodes again.
      FLAC__stream_decoder_flush(decoder_.get());
      FLAC__stream_decoder_reset(decoder_.get());
      pending_.clear();
      pos_ = 0;
    }
  }
  int ADR_CALL getPosition() override { return pos_; }

protected:
  int readFrames(int frameCount, void* buffer) override {
    auto* out = static_cast<int16_t*>(buffer);
    int total = 0;
    int emptySteps = 0;
    while (total < frameCount) {
      const size_t available = (pending_.size() - pendingPos_) / static_cast<size_t>(channels_);
      if (available == 0) {
        pending_.clear();
        pendingPos_ = 0;
        if (FLAC__stream_decoder_get_state(decoder_.get()) >= FLAC__STREAM_DECODER_END_OF_STREAM ||
            !FLAC__stream_decoder_process_single(decoder_.get()))
          break;
        // Metadata blocks decode to nothing; a run of empty steps means a broken stream.
        if (pending_.empty() && ++emptySteps > 64)
          break;
        continue;
      }
      const size_t n = std::min(available, static_cast<size_t>(frameCount - total));
      std::memcpy(out + static_cast<size_t>(total) * channels_, pending_.data() + pendingPos_,
                  n * static_cast<size_t>(channels_) * 2);
      pendingPos_ += n * static_cast<size_t>(channels_);
      total += static_cast<int>(n);
    }
    pos_ += total;
    return total;
  }

private:
  static FLAC__StreamDecoderReadStatus readCb(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes, void* self) {
    auto* s = static_cast<FlacSource*>(self);
    const int n = s->file_->read(buffer, *bytes > 0x40000000 ? 0x40000000 : static_cast<int>(*bytes));
    if (n <= 0) {
      *bytes = 0;
      return FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
    }
    *bytes = static_cast<size_t>(n);
    return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
  }
  static FLAC__StreamDecoderSeekStatus seekCb(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* self) {
    auto* s = static_cast<FlacSource*>(self);
    return offset <= 0x7FFFFFFF && s->file_->seek(static_cast<int>(offset), SM_BEGIN)
               ? FLAC__STREAM_DECODER_SEEK_STATUS_OK
               : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
  }
  static FLAC__StreamDecoderTellStatus tellCb(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* self) {
    const int pos = static_cast<FlacSource*>(self)->file_->tell();
    if (pos < 0)
      return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
    *offset = static_cast<FLAC__uint64>(pos);
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
  }
  static FLAC__StreamDecoderLengthStatus lengthCb(const FLAC__StreamDecoder*, FLAC__uint64* length, void* self) {
    const int size = static_cast<FlacSource*>(self)->size_;
    if (size < 0)
      return FLAC__STREAM_DECODER_LENGTH_STATUS_UNSUPPORTED;
    *length = static_cast<FLAC__uint64>(size);
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
  }
  static FLAC__bool eofCb(const FLAC__StreamDecoder*, void* self) {
    auto* s = static_cast<FlacSource*>(self);
    return s->size_ >= 0 && s->file_->tell() >= s->size_;
  }
  static FLAC__StreamDecoderWriteStatus writeCb(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                const FLAC__int32* const buffer[], void* self) {
    auto* s = static_cast<FlacSource*>(self);
    const unsigned blocksize = frame->header.blocksize;
    const int channels = s->channels_;
    if (static_cast<int>(frame->header.channels) < channels)
      return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    const int shift = s->bits_ - 16;
    const size_t base = s->pending_.size();
    s->pending_.resize(base + static_cast<size_t>(blocksize) * channels);
    int16_t* out = s->pending_.data() + base;
    for (unsigned i = 0; i < blocksize; ++i)
      for (int c = 0; c < channels; ++c) {
        const FLAC__int32 v = buffer[c][i];
        *out++ = static_cast<int16_t>(shift >= 0 ? v >> shift : v * (1 << -shift));
      }
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  }
  static void metadataCb(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* self) {
    auto* s = static_cast<FlacSource*>(self);
    if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO) {
      const auto& info = metadata->data.stream_info;
      s->channels_ = static_cast<int>(info.channels);
      s->rate_ = static_cast<int>(info.sample_rate);
      s->bits_ = static_cast<int>(info.bits_per_sample);
      s->length_ = info.total_samples < 0x7FFFFFFF ? static_cast<int>(info.total_samples) : 0;
      s->setFormat(s->channels_, s->rate_, SF_S16);
      s->haveInfo_ = true;
    } else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT) {
      const auto& vc = metadata->data.vorbis_comment;
      for (FLAC__uint32 i = 0; i < vc.num_comments; ++i)
        s->addComment(std::string(reinterpret_cast<const char*>(vc.comments[i].entry), vc.comments[i].length), "vorbis");
    }
  }
  static void errorCb(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

  RefPtr<File> file_;
  int size_;
  std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> decoder_;
  bool haveInfo_ = false;
  int channels_ = 0;
  int rate_ = 0;
  int bits_ = 0;
  int length_ = 0;
  int pos_ = 0;
  std::vector<int16_t> pending_;
  size_t pendingPos_ = 0;
};

} // namespace

RefPtr<SampleSource> openFlac(RefPtr<File> file) {
  auto source = makeRef<FlacSource>(std::move(file));
  if (!source->open())
    return {};
  return source;
}

} // namespace adr
