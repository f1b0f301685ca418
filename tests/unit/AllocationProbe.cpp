#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_watching{false};
std::atomic<size_t> g_largest{0};

void* allocate(size_t size) {
    if (g_watching.load(std::memory_order_relaxed)) {
        size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

// Only the plain forms are replaced; the library routes new[], nothrow and
// sized delete through them, and aligned forms keep their own pairing.
void* operator new(size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace orbtest {

LargestAllocation::LargestAllocation() {
    g_largest = 0;
    g_watching = true;
}
LargestAllocation::~LargestAllocation() { g_watching = false; }
size_t LargestAllocation::bytes() const { return g_largest.load(); }

}  // namespace orbtest
