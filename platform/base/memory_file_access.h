#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/base/file_access.h"

// Files held in memory under Windows path rules: case-insensitive, '/' and '\' alike, "." and
// ".." segments resolved, repeated separators collapsed.
class MemoryFileAccess : public FileAccess {
 public:
  void Put(const std::string& path, std::string bytes);
  // The bytes of a file, or nullptr when there is none.
  const std::string* Get(const std::string& path) const;
  void MakeReadOnly(const std::string& path);

  bool CanRead(const std::string& path) override;
  ReadResult Read(const std::string& path, std::string& bytes, std::size_t maxBytes) override;
  bool Write(const std::string& path, std::string_view bytes) override;

  // Every path passed to Write, in order (failed writes included).
  const std::vector<std::string>& WriteLog() const { return writeLog_; }

  static std::string Key(const std::string& path);

 private:
  struct Entry {
    std::string bytes;
    bool readOnly = false;
  };
  std::map<std::string, Entry> files_;
  std::vector<std::string> writeLog_;
};
