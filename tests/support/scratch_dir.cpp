#include "tests/support/scratch_dir.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace testsupport {

ScratchDir::ScratchDir(const std::string& tag) {
  static std::atomic<unsigned> counter{0};
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  for (;;) {
    char name[64];
    std::snprintf(name, sizeof name, "orv_%s_%lu_%u", tag.c_str(), GetCurrentProcessId(), counter++);
    path_ = std::string(temp) + name;
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
  }
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  return RemoveDirectoryA(path.c_str()) != 0;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

bool MakeDirs(const std::string& path) {
  if (path.empty() || DirExists(path)) return true;
  const auto cut = path.find_last_of("\\/");
  if (cut != std::string::npos && cut > 2) MakeDirs(path.substr(0, cut));
  return CreateDirectoryA(path.c_str(), nullptr) || DirExists(path);
}

bool CopyTree(const std::string& from, const std::string& to) {
  MakeDirs(to);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(from + "\\" + name, to + "\\" + name);
    else
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return true;
}

bool WriteTextFile(const std::string& path, const std::string& bytes) {
  const auto cut = path.find_last_of('\\');
  if (cut != std::string::npos) MakeDirs(path.substr(0, cut));
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

bool ReadTextFile(const std::string& path, std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return true;
}

std::string ReadFileOr(const std::string& path, const std::string& fallback) {
  std::string s;
  return ReadTextFile(path, s) ? s : fallback;
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
  if (n == 0) return fallback;
  std::vector<char> buf(n);
  GetEnvironmentVariableA(name, buf.data(), n);
  return buf.data();
}

}  // namespace testsupport
