#pragma once
// Runs a fuzz target over its seed corpus (tests/fuzz/corpus/<target>/) in an ordinary test.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

namespace testsupport {

// The bytes of every file of the target's corpus, by name.
inline std::vector<std::pair<std::string, std::string>> CorpusFiles(const std::string& target) {
  const std::string folder = EnvOr("ORVANE_TEST_DATA") + "\\..\\fuzz\\corpus\\" + target;
  std::vector<std::pair<std::string, std::string>> files;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string bytes;
    if (ReadTextFile(folder + "\\" + fd.cFileName, bytes)) files.emplace_back(fd.cFileName, bytes);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return files;
}

inline int RunFuzzInput(int (*target)(const std::uint8_t*, std::size_t), const std::string& bytes) {
  return target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace testsupport
