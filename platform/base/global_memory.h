#pragma once
// Movable memory blocks of the platform (clipboard data, printer settings): owned and freed with
// GlobalFree, or locked for a scope.

#include <windows.h>

#include "platform/base/unique_handle.h"

struct GlobalFreer {
  void operator()(HGLOBAL block) const { GlobalFree(block); }
};
// A block nobody else owns yet; release() hands it to the one that takes it over.
using UniqueGlobal = UniqueResource<HGLOBAL, GlobalFreer>;

// A block locked while this lives; data() is null when the lock failed.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockScope() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  void* data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};
