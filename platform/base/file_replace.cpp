// The whole-file replace over Win32.
#include "platform/base/file_replace.h"

#include <windows.h>

#include <algorithm>

#include "platform/base/path_text.h"
#include "platform/base/unique_handle.h"

namespace {

// A zero byte would cut the name short, so that another file is written.
bool Usable(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

// A folder where the file goes can never be replaced: no temporary file is made for it.
bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// "" when the name would be too long for the platform.
std::string NamedAfter(const std::string& target) {
  const std::size_t slash = target.find_last_of('\\');
  const std::size_t dot = target.find_last_of('.');
  const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::size_t cut = extension ? dot : target.size();
  std::string temp = target.substr(0, cut) + "_temp" + target.substr(cut);
  return temp.size() > kMaxPathChars ? std::string() : temp;
}

// A new empty file of its own name in the target's folder; "" when the folder takes none.
std::string UniqueBeside(const std::string& target) {
  std::string folder = CutAtLastBackslash(target);
  if (folder.empty()) folder = ".";
  char name[MAX_PATH];
  // The system adds a backslash and 12 characters to the folder.
  if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameA(folder.c_str(), "tmp", 0, name)) return {};
  return name;
}

std::string TemporaryFor(const std::string& target, TemporaryName name) {
  switch (name) {
    case TemporaryName::kAfterTarget:
      return NamedAfter(target);
    case TemporaryName::kUnique:
      return UniqueBeside(target);
  }
  return {};
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    ok = WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) && written == chunk;
    bytes.remove_prefix(chunk);
  }
  ok = FlushFileBuffers(file.get()) && ok;
  return file.Close() && ok;
}

// The finished temporary file takes the target's place; the old target stays whole until the
// swap succeeds. A target held open for a moment is tried again for a while; when it cannot
// be replaced, the temporary file is removed.
bool PutInPlace(const std::string& temp, const std::string& target) {
  constexpr int kTries = 20;
  constexpr DWORD kPauseMs = 25;
  for (int i = 0; i < kTries; ++i) {
    if (MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
    Sleep(kPauseMs);
  }
  DeleteFileA(temp.c_str());
  return false;
}

}  // namespace

bool ReplaceFileWith(const std::string& target, std::string_view bytes, TemporaryName name) {
  if (!Usable(target) || IsFolder(target)) return false;
  const std::string temp = TemporaryFor(target, name);
  if (temp.empty()) return false;
  if (!WriteWholeFile(temp, bytes)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  return PutInPlace(temp, target);
}

bool CopyFileOver(const std::string& from, const std::string& to, TemporaryName name) {
  if (!Usable(from) || !Usable(to) || IsFolder(to)) return false;
  const std::string temp = TemporaryFor(to, name);
  if (temp.empty()) return false;
  if (!CopyFileA(from.c_str(), temp.c_str(), FALSE)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  // The copy takes the source's attributes: a read-only one could neither be deleted when it
  // cannot be put in place nor replaced at the next copy.
  const DWORD attributes = GetFileAttributesA(temp.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(temp.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return PutInPlace(temp, to);
}

bool AtomicFileAccess::Write(const std::string& path, std::string_view bytes) {
  return ReplaceFileWith(path, bytes);
}
