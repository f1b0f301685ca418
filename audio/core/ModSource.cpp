// Tracker modules (MOD, S3M, XM, IT) through libxmp, rendered at 44.1 kHz stereo.

#include <xmp.h>

#include <algorithm>
#include <vector>

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

constexpr int kRate = 44100;

// The 31-sample module layout with a channel tag at 1080 ("M.K.", "6CHN"...).
bool hasModTag(const std::vector<uint8_t>& b) {
  if (b.size() < 1084)
    return false;
  for (size_t i = 1080; i < 1084; ++i)
    if (b[i] < 0x20 || b[i] > 0x7E)
      return false;
  return true;
}

// The tracker library trusts a tagged module's header further than it should
// and has been seen to crash while playing one whose header is nonsense, so
// what no tracker writes is refused here: an order list longer than 128 or
// naming a pattern beyond 127, volumes above 64, fine-tunes above 15.
bool plausibleModHeader(const std::vector<uint8_t>& b) {
  for (size_t i = 0; i < 31; ++i) {
    const uint8_t* sample = b.data() + 20 + 30 * i;
    if (sample[24] > 15 || sample[25] > 64)
      return false;
  }
  const uint8_t length = b[950];
  if (length == 0 || length > 128)
    return false;
  for (size_t i = 0; i < 128; ++i)
    if (b[952 + i] > 127)
      return false;
  return true;
}

class ModSource final : public BasicSource {
public:
  ModSource() : ctx_(xmp_create_context()) {}
  ~ModSource() override {
    if (playing_)
      xmp_end_player(ctx_);
    if (loaded_)
      xmp_release_module(ctx_);
    if (ctx_)
      xmp_free_context(ctx_);
  }

  bool open(File& file) {
    if (!ctx_)
      return false;
    file.seek(0, SM_BEGIN);
    const std::vector<uint8_t> bytes = readAll(file);
    if (bytes.size() < 64 || (hasModTag(bytes) && !plausibleModHeader(bytes)))
      return false;
    if (xmp_load_module_from_memory(ctx_, bytes.data(), static_cast<long>(bytes.size())) != 0)
      return false;
    loaded_ = true;
    if (xmp_start_player(ctx_, kRate, 0) != 0)
      return false;
    playing_ = true;
    setFormat(2, kRate, SF_S16);
    xmp_frame_info info{};
    xmp_get_frame_info(ctx_, &info);
    length_ = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(info.total_time) * kRate / 1000, 0x7FFFFFFF));
    xmp_module_info module{};
    xmp_get_module_info(ctx_, &module);
    if (module.mod && module.mod->name[0])
      addTag("title", std::string(module.mod->name, boundedLength(module.mod->name, XMP_NAME_SIZE)), "MOD");
    return length_ > 0;
  }

  bool ADR_CALL isSeekable() override { return true; }
  int ADR_CALL getLength() override { return length_; }
  void ADR_CALL setPosition(int position) override {
    pos_ = std::clamp(position, 0, length_);
    if (pos_ == 0) {
      // Seeking alone keeps the players' channel state; a restart is clean.
      xmp_end_player(ctx_);
      xmp_start_player(ctx_, kRate, 0);
    } else {
      xmp_seek_time(ctx_, static_cast<int>(static_cast<int64_t>(pos_) * 1000 / kRate));
    }
    ended_ = false;
  }
  int ADR_CALL getPosition() override { return pos_; }

protected:
  int readFrames(int frameCount, void* buffer) override {
    const int n = std::min(frameCount, length_ - pos_);
    if (n <= 0 || ended_)
      return 0;
    if (xmp_play_buffer(ctx_, buffer, n * 4, 1) != 0)
      ended_ = true;
    pos_ += n;
    return n;
  }

private:
  xmp_context ctx_;
  bool loaded_ = false;
  bool playing_ = false;
  bool ended_ = false;
  int length_ = 0;
  int pos_ = 0;
};

} // namespace

RefPtr<SampleSource> openMod(RefPtr<File> file) {
  auto source = makeRef<ModSource>();
  if (!source->open(*file))
    return {};
  return source;
}

} // namespace adr
