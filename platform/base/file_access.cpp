#include "platform/base/file_access.h"

#include <cstdio>

#include "platform/base/path_text.h"

namespace {

FilePtr Open(const std::string& path, const char* mode) {
  // A zero byte would silently cut the name short.
  if (path.empty() || path.find('\0') != std::string::npos) return nullptr;
  return FilePtr(std::fopen(path.c_str(), mode));
}

}  // namespace

bool StdioFileAccess::CanRead(const std::string& path) { return Open(path, "rb") != nullptr; }

FileAccess::ReadResult StdioFileAccess::Read(const std::string& path, std::string& bytes,
                                             std::size_t maxBytes) {
  bytes.clear();
  FilePtr f = Open(path, "rb");
  if (!f) return ReadResult::CannotOpen;
  char chunk[16384];
  for (;;) {
    std::size_t got = std::fread(chunk, 1, sizeof chunk, f.get());
    if (got == 0) break;
    if (bytes.size() + got > maxBytes) {
      bytes.clear();
      return ReadResult::TooLarge;
    }
    bytes.append(chunk, got);
  }
  return std::ferror(f.get()) ? ReadResult::CannotOpen : ReadResult::Ok;
}

bool StdioFileAccess::Write(const std::string& path, std::string_view bytes) {
  FilePtr f = Open(path, "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  return std::fclose(f.release()) == 0 && ok;
}

FileAccess& RealFiles() {
  static StdioFileAccess files;
  return files;
}
