#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "core/Stream.h"

namespace orb {

// Inflates one zlib stream (RFC 1950) held in memory, forward only. It cannot
// step back, so a reader that stops before the end of the inflated data fails.
class InflateStream final : public Stream {
public:
    explicit InflateStream(std::span<const uint8_t> compressed, uint64_t maxOutput = kDefaultMaxOutput);
    ~InflateStream() override;
    size_t read(void* buffer, size_t count) override;
    int64_t seek(int64_t offset, SeekOrigin origin) override;
    // Throws unless the zlib stream ended exactly where the compressed bytes end
    // and all inflated data has been read.
    void checkFullyConsumed();

    // A hostile block cannot inflate past this (deflate reaches about 1000:1).
    static constexpr uint64_t kDefaultMaxOutput = uint64_t{1} << 30;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orb
