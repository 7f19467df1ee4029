#pragma once
// Handles owned by one object and given back when it goes: a kernel handle (closed), a file
// search and a loaded library. Null or INVALID_HANDLE_VALUE: none.

#include <windows.h>

#include <utility>

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
  // Closes the handle now; false when the platform reports a failure (for a file, a write
  // that did not reach it).
  bool Close() { return !h_ || CloseHandle(std::exchange(h_, nullptr)); }

 private:
  HANDLE h_ = nullptr;
};

// A handle given back by `Free` (a function object) when its owner goes.
template <class Handle, class Free>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(Handle h) : h_(None(h) ? nullptr : h) {}
  ~UniqueResource() { reset(); }
  UniqueResource(UniqueResource&& other) noexcept : h_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  // Hands the handle over to an owner outside.
  Handle release() { return std::exchange(h_, nullptr); }
  void reset(Handle h = nullptr) {
    if (h_) Free{}(h_);
    h_ = None(h) ? nullptr : h;
  }

 private:
  static bool None(Handle h) { return !h || reinterpret_cast<HANDLE>(h) == INVALID_HANDLE_VALUE; }

  Handle h_ = nullptr;
};

struct FindCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};
// A search of FindFirstFileA.
using UniqueFindHandle = UniqueResource<HANDLE, FindCloser>;

struct LibraryFreer {
  void operator()(HMODULE library) const { FreeLibrary(library); }
};
// One load of a library, given back with FreeLibrary.
using UniqueLibrary = UniqueResource<HMODULE, LibraryFreer>;
