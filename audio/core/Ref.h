#pragma once
// Reference counting for the engine's objects: one implementation of the two
// counting slots, and an owning pointer so that no caller counts by hand.

#include <atomic>
#include <utility>

#include "audio/AudioInterface.h"

namespace adr {

// Implements ref/unref for an interface. The virtual destructor comes after
// the interface's slots, so the published layout is untouched.
template <class Interface> class RefImpl : public Interface {
public:
  RefImpl() = default;
  RefImpl(const RefImpl&) = delete;
  RefImpl& operator=(const RefImpl&) = delete;
  virtual ~RefImpl() = default;

  void ADR_CALL ref() override { count_.fetch_add(1, std::memory_order_relaxed); }
  void ADR_CALL unref() override {
    if (dropRef())
      delete this;
  }

protected:
  // True when that was the last reference.
  bool dropRef() { return count_.fetch_sub(1, std::memory_order_acq_rel) == 1; }

private:
  std::atomic<int> count_{0};
};

template <class T> class RefPtr {
public:
  RefPtr() = default;
  RefPtr(std::nullptr_t) {}
  explicit RefPtr(T* p) : p_(p) {
    if (p_)
      p_->ref();
  }
  RefPtr(const RefPtr& o) : RefPtr(o.p_) {}
  RefPtr(RefPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U> RefPtr(RefPtr<U> o) : p_(o.detach()) {}
  ~RefPtr() {
    if (p_)
      p_->unref();
  }
  RefPtr& operator=(RefPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  // Takes over a reference that a creating call handed out.
  static RefPtr adopt(T* p) {
    RefPtr r;
    r.p_ = p;
    return r;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands the reference to the caller, for returning across the interface.
  T* detach() { return std::exchange(p_, nullptr); }

private:
  T* p_ = nullptr;
};

// The one place objects of the engine are allocated; unref frees them.
template <class T, class... Args> RefPtr<T> makeRef(Args&&... args) {
  return RefPtr<T>(new T(std::forward<Args>(args)...));
}

} // namespace adr
