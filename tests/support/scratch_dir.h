#pragma once
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the Windows temp folder, removed with everything in it on destruction.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& tag = "t");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "\\" + relative
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};

bool RemoveTree(const std::string& path);
bool MakeDirs(const std::string& path);
// Copies a folder with everything in it; false when the source cannot be listed.
bool CopyTree(const std::string& from, const std::string& to);
bool WriteTextFile(const std::string& path, const std::string& bytes);
// Whole file as bytes; false when it cannot be read.
bool ReadTextFile(const std::string& path, std::string& bytes);
std::string ReadFileOr(const std::string& path, const std::string& fallback = "<missing>");
bool FileExists(const std::string& path);
// The names in a folder (without "." and ".."), sorted.
std::vector<std::string> FolderNames(const std::string& folder);
bool DirExists(const std::string& path);
// A variable of the test's environment (ctest sets ORVANE_TEST_DATA, ORVANE_BIN).
std::string EnvOr(const char* name, const std::string& fallback = "");

}  // namespace testsupport
