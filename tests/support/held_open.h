#pragma once
// A file opened by another program that lets others read it but neither write nor delete it
// (a reader, a virus scanner), until released.
#include <windows.h>

#include <string>

namespace testsupport {

class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path)
      : h_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldOpen() { Release(); }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (ok()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

}  // namespace testsupport
