#pragma once
#include <windows.h>

#include <utility>

namespace vhx {

// Owns a kernel handle (null or INVALID_HANDLE_VALUE: none).
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = (h == INVALID_HANDLE_VALUE) ? nullptr : h;
  }

 private:
  HANDLE h_ = nullptr;
};

}  // namespace vhx
