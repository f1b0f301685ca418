#pragma once
// RAII over the handles the program holds.
#include <utility>

#include "framework/Win32.h"

namespace orb {

template <class H, class Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(H h) : h_(h) {}
    ~UniqueResource() { reset(); }
    UniqueResource(UniqueResource&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueResource& operator=(UniqueResource&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    H release() { return std::exchange(h_, Traits::invalid()); }
    void reset(H h = Traits::invalid()) {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::invalid();
};

struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct KernelHandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct GdiTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};

using FileHandle = UniqueResource<HANDLE, FileHandleTraits>;      // CreateFile
using KernelHandle = UniqueResource<HANDLE, KernelHandleTraits>;  // mutexes, processes
using GdiObject = UniqueResource<HGDIOBJ, GdiTraits>;
using MemoryDc = UniqueResource<HDC, MemoryDcTraits>;

// Selects an object into a device context for the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace orb
