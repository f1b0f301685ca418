#include "core/InflateStream.h"

#include <zlib.h>

#include <cstring>

#include "core/Errors.h"

namespace orb {

struct InflateStream::State {
    z_stream z{};
    bool ended = false;
    uint64_t produced = 0;
    uint64_t maxOutput = 0;
};

InflateStream::InflateStream(std::span<const uint8_t> compressed, uint64_t maxOutput) : state_(new State) {
    state_->maxOutput = maxOutput;
    state_->z.next_in = const_cast<Bytef*>(compressed.data());
    state_->z.avail_in = static_cast<uInt>(compressed.size());
    if (inflateInit(&state_->z) != Z_OK) throw StreamError("Error while inflating");
}

InflateStream::~InflateStream() { inflateEnd(&state_->z); }

size_t InflateStream::read(void* buffer, size_t count) {
    auto& s = *state_;
    if (s.ended || count == 0) return 0;
    s.z.next_out = static_cast<Bytef*>(buffer);
    s.z.avail_out = static_cast<uInt>(count);
    while (s.z.avail_out > 0) {
        int rc = inflate(&s.z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            s.ended = true;
            // Bytes after the zlib stream inside the block mean the block is not what it claims.
            if (s.z.avail_in != 0) throw StreamError("Invalid compressed data");
            break;
        }
        if (rc == Z_BUF_ERROR && s.z.avail_in == 0) break;  // truncated: a short read
        if (rc != Z_OK) throw StreamError("Invalid compressed data");
    }
    size_t n = count - s.z.avail_out;
    s.produced += n;
    if (s.produced > s.maxOutput) throw StreamError("Inflated data too large");
    return n;
}

int64_t InflateStream::seek(int64_t offset, SeekOrigin origin) {
    if (origin == SeekOrigin::Current && offset == 0) return static_cast<int64_t>(state_->produced);
    if (origin == SeekOrigin::Current && offset > 0) {
        uint8_t skip[4096];
        while (offset > 0) {
            size_t n = read(skip, static_cast<size_t>(std::min<int64_t>(offset, sizeof skip)));
            if (n == 0) throw StreamError(kStreamReadError);
            offset -= static_cast<int64_t>(n);
        }
        return static_cast<int64_t>(state_->produced);
    }
    throw StreamError("Invalid stream operation");
}

void InflateStream::checkFullyConsumed() {
    uint8_t probe;
    if (read(&probe, 1) != 0) throw StreamError("Invalid stream operation");
    if (!state_->ended || state_->z.avail_in != 0) throw StreamError("Invalid compressed data");
}

}  // namespace orb
