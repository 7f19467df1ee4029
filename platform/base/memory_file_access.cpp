#include "platform/base/memory_file_access.h"

std::string MemoryFileAccess::Key(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  auto flush = [&] {
    if (part == "..") {
      if (!parts.empty() && parts.back().find(':') == std::string::npos) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    part.clear();
  };
  for (char c : path) {
    if (c == '\\' || c == '/') {
      flush();
    } else {
      part += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
  }
  flush();
  std::string key;
  for (const std::string& p : parts) key += (key.empty() ? "" : "\\") + p;
  return key;
}

void MemoryFileAccess::Put(const std::string& path, std::string bytes) {
  files_[Key(path)] = Entry{std::move(bytes), false};
}

const std::string* MemoryFileAccess::Get(const std::string& path) const {
  auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second.bytes;
}

void MemoryFileAccess::MakeReadOnly(const std::string& path) {
  auto it = files_.find(Key(path));
  if (it != files_.end()) it->second.readOnly = true;
}

bool MemoryFileAccess::CanRead(const std::string& path) {
  return !path.empty() && Get(path) != nullptr;
}

FileAccess::ReadResult MemoryFileAccess::Read(const std::string& path, std::string& bytes,
                                              std::size_t maxBytes) {
  bytes.clear();
  const std::string* file = path.empty() ? nullptr : Get(path);
  if (!file) return ReadResult::CannotOpen;
  if (file->size() > maxBytes) return ReadResult::TooLarge;
  bytes = *file;
  return ReadResult::Ok;
}

bool MemoryFileAccess::Write(const std::string& path, std::string_view bytes) {
  writeLog_.push_back(path);
  std::string key = Key(path);
  if (key.empty()) return false;
  auto it = files_.find(key);
  if (it != files_.end() && it->second.readOnly) return false;
  files_[key] = Entry{std::string(bytes), false};
  return true;
}
