#include "audio/core/Files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace adr {
namespace {

class MemoryFile final : public RefImpl<File> {
public:
  MemoryFile(const void* data, int size)
      : bytes_(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size) {}

  int ADR_CALL read(void* buffer, int size) override {
    if (size <= 0 || pos_ >= bytes_.size())
      return 0;
    const size_t n = std::min(static_cast<size_t>(size), bytes_.size() - pos_);
    std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return static_cast<int>(n);
  }
  bool ADR_CALL seek(int position, SeekMode mode) override {
    const int64_t base = mode == SM_BEGIN ? 0 : mode == SM_CURRENT ? static_cast<int64_t>(pos_)
                                                                   : static_cast<int64_t>(bytes_.size());
    const int64_t target = base + position;
    if (target < 0 || target > static_cast<int64_t>(bytes_.size()))
      return false;
    pos_ = static_cast<size_t>(target);
    return true;
  }
  int ADR_CALL tell() override { return static_cast<int>(pos_); }

private:
  std::vector<uint8_t> bytes_;
  size_t pos_ = 0;
};

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

class StdFile final : public RefImpl<File> {
public:
  explicit StdFile(FILE* f) : f_(f) {}
  int ADR_CALL read(void* buffer, int size) override {
    if (size <= 0)
      return 0;
    return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(size), f_.get()));
  }
  bool ADR_CALL seek(int position, SeekMode mode) override {
    const int whence = mode == SM_BEGIN ? SEEK_SET : mode == SM_CURRENT ? SEEK_CUR : SEEK_END;
    return std::fseek(f_.get(), position, whence) == 0;
  }
  int ADR_CALL tell() override {
    const long pos = std::ftell(f_.get());
    return pos < 0 || pos > std::numeric_limits<int>::max() ? -1 : static_cast<int>(pos);
  }

private:
  std::unique_ptr<FILE, FileCloser> f_;
};

#if !defined(_WIN32)
std::string toUtf8(const wchar_t* s) {
  std::string out;
  for (; *s; ++s) {
    auto c = static_cast<uint32_t>(*s);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c < 0xDC00 && s[1] >= 0xDC00 && s[1] < 0xE000)
        c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(*++s) - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
#endif

} // namespace

RefPtr<File> makeMemoryFile(const void* data, int size) {
  if (!data || size < 0)
    return {};
  return makeRef<MemoryFile>(data, size);
}

RefPtr<File> openFile8(const char* name, bool writeable) {
  if (!name || !*name)
    return {};
  FILE* f = std::fopen(name, writeable ? "r+b" : "rb");
  if (!f)
    return {};
  return makeRef<StdFile>(f);
}

RefPtr<File> openFileWide(const wchar_t* name) {
  if (!name || !*name)
    return {};
#if defined(_WIN32)
  FILE* f = _wfopen(name, L"rb");
#else
  FILE* f = std::fopen(toUtf8(name).c_str(), "rb");
#endif
  if (!f)
    return {};
  return makeRef<StdFile>(f);
}

int fileSize(File& file) {
  const int here = file.tell();
  if (here < 0 || !file.seek(0, SM_END))
    return -1;
  const int size = file.tell();
  file.seek(here, SM_BEGIN);
  return size;
}

int readFully(File& file, void* buffer, int size) {
  auto* out = static_cast<uint8_t*>(buffer);
  int total = 0;
  while (total < size) {
    const int n = file.read(out + total, size - total);
    if (n <= 0)
      break;
    total += n;
  }
  return total;
}

std::vector<uint8_t> readAll(File& file) {
  std::vector<uint8_t> bytes;
  const int size = fileSize(file);
  const int here = file.tell();
  if (size >= 0 && here >= 0 && size >= here) {
    bytes.resize(static_cast<size_t>(size - here));
    bytes.resize(static_cast<size_t>(readFully(file, bytes.data(), static_cast<int>(bytes.size()))));
    return bytes;
  }
  uint8_t chunk[65536];
  for (int n; (n = file.read(chunk, sizeof chunk)) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + n);
  return bytes;
}

namespace {
template <class Char> std::string lowerExtension(const std::basic_string<Char>& name) {
  std::string ext;
  for (size_t i = name.size(); i-- > 0;) {
    const auto c = name[i];
    if (c == '.') {
      std::reverse(ext.begin(), ext.end());
      return ext;
    }
    if (c == '/' || c == '\\' || c == ':' || c > 0x7F)
      break;
    ext += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return {};
}
} // namespace

std::string extensionOf(const std::string& name) { return lowerExtension(name); }
std::string extensionOf(const std::wstring& name) { return lowerExtension(name); }

} // namespace adr
