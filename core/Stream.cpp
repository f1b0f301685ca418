#include "core/Stream.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "core/Errors.h"

namespace orb {

std::string formatMessage(std::string_view pattern, std::string_view arg) {
    std::string out(pattern);
    auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

size_t Stream::write(const void*, size_t) { throw StreamError("Stream write error"); }

void Stream::readExact(void* buffer, size_t count) {
    if (read(buffer, count) != count) throw StreamError(kStreamReadError);
}

void Stream::writeExact(const void* buffer, size_t count) {
    if (write(buffer, count) != count) throw StreamError("Stream write error");
}

uint8_t Stream::readU8() {
    uint8_t b;
    readExact(&b, 1);
    return b;
}

uint16_t Stream::readU16() {
    uint8_t b[2];
    readExact(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t Stream::readU32() {
    uint8_t b[4];
    readExact(b, 4);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void Stream::writeU16(uint16_t v) {
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    writeExact(b, 2);
}

void Stream::writeU32(uint32_t v) {
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                    static_cast<uint8_t>(v >> 24)};
    writeExact(b, 4);
}

namespace {
int64_t resolveSeek(int64_t offset, SeekOrigin origin, size_t pos, size_t size) {
    int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? static_cast<int64_t>(pos)
                                                                                   : static_cast<int64_t>(size);
    int64_t target = base + offset;
    if (target < 0) throw StreamError("Invalid stream operation");
    return target;
}
}  // namespace

size_t MemoryStream::read(void* buffer, size_t count) {
    size_t n = pos_ < bytes_.size() ? std::min(count, bytes_.size() - pos_) : 0;
    if (n) std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

size_t MemoryStream::write(const void* buffer, size_t count) {
    if (pos_ + count > bytes_.size()) bytes_.resize(pos_ + count);
    if (count) std::memcpy(bytes_.data() + pos_, buffer, count);
    pos_ += count;
    return count;
}

int64_t MemoryStream::seek(int64_t offset, SeekOrigin origin) {
    pos_ = static_cast<size_t>(resolveSeek(offset, origin, pos_, bytes_.size()));
    return static_cast<int64_t>(pos_);
}

size_t MemoryView::read(void* buffer, size_t count) {
    size_t n = pos_ < bytes_.size() ? std::min(count, bytes_.size() - pos_) : 0;
    if (n) std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

int64_t MemoryView::seek(int64_t offset, SeekOrigin origin) {
    pos_ = static_cast<size_t>(resolveSeek(offset, origin, pos_, bytes_.size()));
    return static_cast<int64_t>(pos_);
}

std::vector<uint8_t> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw StreamError("Cannot open file \"" + path.string() + "\"");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes;
}

void writeWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw StreamError("Cannot create file \"" + path.string() + "\"");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw StreamError("Stream write error");
}

}  // namespace orb
