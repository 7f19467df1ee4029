#pragma once
// Paths as plain text: joining, cutting at the last separator, and the platform's length limit.
// No file system is touched.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Longest path the narrow file functions take, without its terminating zero.
constexpr std::size_t kMaxPathChars = 259;

// folder + "\\" + name, or "" when folder is empty or the result is too long for the platform
// (such a name counts as missing; it is never cut into another name).
std::string JoinPath(const std::string& folder, const std::string& name);
// Text up to its last backslash: "cut at" drops it, "cut after" keeps it.
std::string CutAtLastBackslash(const std::string& path);
std::string CutAfterLastBackslash(const std::string& path);
