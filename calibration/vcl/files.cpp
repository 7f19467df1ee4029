// File helpers over Win32.
#include "calibration/vcl/files.h"

#include <windows.h>

#include <algorithm>

#include "platform/base/unique_handle.h"

namespace vcl {

namespace {

// A new empty file in the target's folder, so that it can take the target's place by a rename
// on the same volume; "" when the folder takes none.
std::string TempBeside(const std::string& target) {
  std::string folder = FolderOf(target);
  if (folder.empty()) folder = ".";
  char name[MAX_PATH];
  if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameA(folder.c_str(), "lcc", 0, name)) return {};
  return name;
}

// The finished temporary file takes the target's place; if it cannot, it is removed and the
// target stays as it was.
bool PutInPlace(const std::string& temp, const std::string& target) {
  if (MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(temp.c_str());
  return false;
}

bool WriteAll(const std::string& path, std::string_view bytes) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    ok = WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) && written == chunk;
    bytes.remove_prefix(chunk);
  }
  ok = FlushFileBuffers(file.get()) && ok;
  return file.Close() && ok;
}

}  // namespace

std::string ExeFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return FolderOf(path);
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool ReplaceFileWith(const std::string& path, std::string_view bytes) {
  const std::string temp = TempBeside(path);
  if (temp.empty()) return false;
  if (!WriteAll(temp, bytes)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  return PutInPlace(temp, path);
}

bool CopyFileOver(const std::string& from, const std::string& to) {
  const std::string temp = TempBeside(to);
  if (temp.empty()) return false;
  if (!CopyFileA(from.c_str(), temp.c_str(), FALSE)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  // The copy takes the source's attributes: a read-only one could neither be deleted when it
  // cannot be put in place nor replaced at the next calibration.
  const DWORD attributes = GetFileAttributesA(temp.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(temp.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return PutInPlace(temp, to);
}

}  // namespace vcl
