// Every fuzz target's seed corpus (tests/fuzz/corpus/<target>/) through its entry, as this
// build compiles it: the seeds are the cases each reader must take, here with the program's
// own compiler and C++ library.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/fuzz/replay/fuzz_entries.h"

namespace {

namespace fs = std::filesystem;

fs::path CorpusFolder(const char* target) {
  const char* data = std::getenv("ORVANE_TEST_DATA");
  return fs::path(data ? data : "tests\\data") / ".." / "fuzz" / "corpus" / target;
}

std::vector<std::pair<std::string, std::string>> Seeds(const fs::path& folder) {
  std::vector<std::pair<std::string, std::string>> seeds;
  std::error_code error;
  for (const fs::directory_entry& file : fs::directory_iterator(folder, error)) {
    if (!file.is_regular_file()) continue;
    std::ifstream in(file.path(), std::ios::binary);
    seeds.emplace_back(file.path().filename().string(),
                       std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  return seeds;
}

class CorpusReplay : public testing::TestWithParam<FuzzEntry> {};

TEST_P(CorpusReplay, EverySeedPassesTheTargetsChecks) {
  const FuzzEntry& entry = GetParam();
  const fs::path folder = CorpusFolder(entry.name);
  const auto seeds = Seeds(folder);
  EXPECT_FALSE(seeds.empty()) << "no seeds in " << folder.string();
  for (const auto& [name, bytes] : seeds) {
    // A failed check aborts the run: the seed's name is out first.
    std::fprintf(stderr, "%s: %s\n", entry.name, name.c_str());
    std::fflush(stderr);
    EXPECT_EQ(entry.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, testing::ValuesIn(FuzzEntries()),
                         [](const testing::TestParamInfo<FuzzEntry>& info) { return std::string(info.param.name); });

}  // namespace
