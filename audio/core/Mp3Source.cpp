// MP3 through libmpg123, reading from our file objects.

#include <mpg123.h>

#include <cstdio>
#include <memory>

#include "audio/core/BasicSource.h"
#include "audio/core/Decoders.h"
#include "audio/core/Files.h"

namespace adr {
namespace {

// Text fields of fixed size need not end in a zero.
size_t boundedLength(const char* p, size_t n) {
  size_t i = 0;
  while (i < n && p[i])
    ++i;
  return i;
}

struct HandleDeleter {
  void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};

std::string fromMpgString(const mpg123_string* s) {
  return s && s->p && s->fill > 0 ? std::string(s->p, boundedLength(s->p, s->fill)) : std::string();
}

std::string fromFixed(const char* p, size_t n) { return std::string(p, boundedLength(p, n)); }

class Mp3Source final : public BasicSource {
public:
  explicit Mp3Source(RefPtr<File> file) : file_(std::move(file)) {}

  bool open() {
    int err = MPG123_OK;
    handle_.reset(mpg123_new(nullptr, &err));
    if (!handle_)
      return false;
    mpg123_handle* h = handle_.get();
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(h);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
      mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(h, &Mp3Source::readCb, &Mp3Source::seekCb, nullptr) != MPG123_OK)
      return false;
    file_->seek(0, SM_BEGIN);
    if (mpg123_open_handle(h, this) != MPG123_OK)
      return false;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels < 1)
      return false;
    setFormat(channels, static_cast<int>(rate), SF_S16);
    channels_ = channels;
    if (mpg123_scan(h) == MPG123_OK) {
      const off_t length = mpg123_length(h);
      length_ = length > 0 && length < 0x7FFFFFFF ? static_cast<int>(length) : 0;
    }
    readTags();
    mpg123_seek(h, 0, SEEK_SET);
    return true;
  }

  bool ADR_CALL isSeekable() override { return length_ > 0; }
  int ADR_CALL getLength() override { return length_; }
  void ADR_CALL setPosition(int position) override {
    mpg123_seek(handle_.get(), position < 0 ? 0 : position, SEEK_SET);
    ended_ = false;
  }
  int ADR_CALL getPosition() override {
    const off_t pos = mpg123_tell(handle_.get());
    return pos > 0 ? static_cast<int>(pos) : 0;
  }

protected:
  int readFrames(int frameCount, void* buffer) override {
    if (ended_)
      return 0;
    auto* out = static_cast<unsigned char*>(buffer);
    const size_t frameBytes = static_cast<size_t>(channels_) * 2;
    const size_t want = static_cast<size_t>(frameCount) * frameBytes;
    size_t total = 0;
    while (total < want) {
      size_t done = 0;
      const int r = mpg123_read(handle_.get(), out + total, want - total, &done);
      total += done;
      if (r == MPG123_NEW_FORMAT)
        continue;
      if (r != MPG123_OK) {
        ended_ = true;
        break;
      }
      if (done == 0)
        break;
    }
    return static_cast<int>(total / frameBytes);
  }

private:
  static mpg123_ssize_t readCb(void* self, void* buffer, size_t bytes) {
    auto* s = static_cast<Mp3Source*>(self);
    const int n = s->file_->read(buffer, bytes > 0x40000000 ? 0x40000000 : static_cast<int>(bytes));
    return n < 0 ? -1 : n;
  }
  static off_t seekCb(void* self, off_t offset, int whence) {
    auto* s = static_cast<Mp3Source*>(self);
    const SeekMode mode = whence == SEEK_SET ? SM_BEGIN : whence == SEEK_CUR ? SM_CURRENT : SM_END;
    if (offset > 0x7FFFFFFF || offset < -0x7FFFFFFF || !s->file_->seek(static_cast<int>(offset), mode))
      return -1;
    return s->file_->tell();
  }

  void readTags() {
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    if (!(mpg123_meta_check(handle_.get()) & MPG123_ID3) || mpg123_id3(handle_.get(), &v1, &v2) != MPG123_OK)
      return;
    if (v2) {
      const std::pair<const char*, const mpg123_string*> fields[] = {
          {"title", v2->title}, {"artist", v2->artist}, {"album", v2->album},
          {"year", v2->year},   {"comment", v2->comment}, {"genre", v2->genre}};
      for (const auto& [key, value] : fields)
        if (auto text = fromMpgString(value); !text.empty())
          addTag(key, text, "ID3v2");
    } else if (v1) {
      const std::pair<const char*, std::string> fields[] = {{"title", fromFixed(v1->title, 30)},
                                                            {"artist", fromFixed(v1->artist, 30)},
                                                            {"album", fromFixed(v1->album, 30)},
                                                            {"year", fromFixed(v1->year, 4)},
                                                            {"comment", fromFixed(v1->comment, 30)}};
      for (const auto& [key, value] : fields)
        if (!value.empty())
          addTag(key, value, "ID3v1");
    }
  }

  RefPtr<File> file_;
  std::unique_ptr<mpg123_handle, HandleDeleter> handle_;
  int channels_ = 1;
  int length_ = 0;
  bool ended_ = false;
};

} // namespace

RefPtr<SampleSource> openMp3(RefPtr<File> file) {
  auto source = makeRef<Mp3Source>(std::move(file));
  if (!source->open())
    return {};
  return source;
}

} // namespace adr
