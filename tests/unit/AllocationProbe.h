#pragma once
// Watches the size of single heap requests while it lives. A length field read
// from untrusted bytes must never turn into one allocation of that size; this
// lets a test say so without looking at timings or process memory.
#include <cstddef>

namespace orbtest {

class LargestAllocation {
public:
    LargestAllocation();
    ~LargestAllocation();
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;
    size_t bytes() const;
};

}  // namespace orbtest
