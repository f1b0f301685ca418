// Ogg Vorbis through vorbisfile, reading from our file objects.

#include <vorbis/vorbisfile.h>

#include <cstdio>

#include "audio/core/BasicSource.h"
#include "audio/core/Decoders.h"
#include "audio/core/Files.h"

namespace adr {
namespace {

class VorbisSource final : public BasicSource {
public:
  explicit VorbisSource(RefPtr<File> file) : file_(std::move(file)) {}
  ~VorbisSource() override {
    if (open_)
      ov_clear(&vf_);
  }

  bool open() {
    const ov_callbacks callbacks = {&VorbisSource::readCb, &VorbisSource::seekCb, nullptr, &VorbisSource::tellCb};
    file_->seek(0, SM_BEGIN);
    if (ov_open_callbacks(this, &vf_, nullptr, 0, callbacks) != 0)
      return false;
    open_ = true;
    const vorbis_info* info = ov_info(&vf_, -1);
    if (!info || info->channels < 1 || info->rate <= 0)
      return false;
    channels_ = info->channels;
    setFormat(info->channels, static_cast<int>(info->rate), SF_S16);
    const ogg_int64_t total = ov_pcm_total(&vf_, -1);
    length_ = total > 0 && total < 0x7FFFFFFF ? static_cast<int>(total) : 0;
    if (const vorbis_comment* vc = ov_comment(&vf_, -1))
      for (int i = 0; i < vc->comments; ++i)
        addComment(std::string(vc->user_comments[i], static_cast<size_t>(vc->comment_lengths[i])), "vorbis");
    return true;
  }

  bool ADR_CALL isSeekable() override { return ov_seekable(&vf_) != 0; }
  int ADR_CALL getLength() override { return length_; }
  void ADR_CALL setPosition(int position) override { ov_pcm_seek(&vf_, position < 0 ? 0 : position); }
  int ADR_CALL getPosition() override {
    const ogg_int64_t pos = ov_pcm_tell(&vf_);
    return pos > 0 ? static_cast<int>(pos) : 0;
  }

protected:
  int readFrames(int frameCount, void* buffer) override {
    auto* out = static_cast<char*>(buffer);
    const int frameBytes = channels_ * 2;
    const int want = frameCount * frameBytes;
    int total = 0;
    int failures = 0;
    while (total < want) {
      int section = 0;
      const long n = ov_read(&vf_, out + total, want - total, 0, 2, 1, &section);
      if (n == 0)
        break;
      if (n < 0) {
        // A hole in the data: skip it, but give up on a stream of nothing but holes.
        if (++failures > 16)
          break;
        continue;
      }
      total += static_cast<int>(n);
    }
    return total / frameBytes;
  }

private:
  static size_t readCb(void* ptr, size_t size, size_t count, void* self) {
    const size_t bytes = size * count;
    const int n = static_cast<VorbisSource*>(self)->file_->read(ptr, bytes > 0x40000000 ? 0x40000000 : static_cast<int>(bytes));
    return n > 0 && size > 0 ? static_cast<size_t>(n) / size : 0;
  }
  static int seekCb(void* self, ogg_int64_t offset, int whence) {
    const SeekMode mode = whence == SEEK_SET ? SM_BEGIN : whence == SEEK_CUR ? SM_CURRENT : SM_END;
    if (offset > 0x7FFFFFFF || offset < -0x7FFFFFFF)
      return -1;
    return static_cast<VorbisSource*>(self)->file_->seek(static_cast<int>(offset), mode) ? 0 : -1;
  }
  static long tellCb(void* self) { return static_cast<VorbisSource*>(self)->file_->tell(); }

  RefPtr<File> file_;
  OggVorbis_File vf_{};
  bool open_ = false;
  int channels_ = 1;
  int length_ = 0;
};

} // namespace

RefPtr<SampleSource> openVorbis(RefPtr<File> file) {
  auto source = makeRef<VorbisSource>(std::move(file));
  if (!source->open())
    return {};
  return source;
}

} // namespace adr
