#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace orb {

enum class SeekOrigin { Begin, Current, End };

// A byte stream as the project readers see it: reads may come back short,
// readExact turns a short read into "Stream read error".
class Stream {
public:
    virtual ~Stream() = default;
    virtual size_t read(void* buffer, size_t count) = 0;
    virtual size_t write(const void* buffer, size_t count);
    virtual int64_t seek(int64_t offset, SeekOrigin origin) = 0;
    // -1 when the stream cannot know (an inflating stream).
    virtual int64_t size() { return -1; }

    int64_t position() { return seek(0, SeekOrigin::Current); }
    void readExact(void* buffer, size_t count);
    void writeExact(const void* buffer, size_t count);
    uint8_t readU8();
    uint16_t readU16();
    uint32_t readU32();
    void writeU8(uint8_t v) { writeExact(&v, 1); }
    void writeU16(uint16_t v);
    void writeU32(uint32_t v);
};

// Owns its bytes; grows on write.
class MemoryStream final : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    size_t read(void* buffer, size_t count) override;
    size_t write(const void* buffer, size_t count) override;
    int64_t seek(int64_t offset, SeekOrigin origin) override;
    int64_t size() override { return static_cast<int64_t>(bytes_.size()); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> takeBytes() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    size_t pos_ = 0;
};

// Reads bytes it does not own.
class MemoryView final : public Stream {
public:
    explicit MemoryView(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t read(void* buffer, size_t count) override;
    int64_t seek(int64_t offset, SeekOrigin origin) override;
    int64_t size() override { return static_cast<int64_t>(bytes_.size()); }

private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

std::vector<uint8_t> readWholeFile(const std::filesystem::path& path);  // throws StreamError
void writeWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace orb
