// The exe name table's fuzz target over its seed corpus, cut anywhere, and random table-like
// texts.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "tests/support/random_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(ExeNameTableFuzz, SeedCorpus) {
  const auto files = CorpusFiles("exe_name_table");
  EXPECT_GE(files.size(), 4u);
  for (const auto& [name, bytes] : files)
    for (std::size_t cut = 0; cut <= bytes.size(); cut += 7)
      ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes.substr(0, cut)), 0) << name << " cut at " << cut;
}

TEST(ExeNameTableFuzz, RandomTableLikeTexts) {
  const std::vector<std::string> pieces = {"a.exe", "B.EXE", ",", ",,", " ", "\t", "Word", "\r\n", "\n", "\r",
                                           std::string(1, '\0'), std::string(120, 'x'), "\xe9", "\"q\""};
  std::mt19937 rng(30);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = RandomText(rng, pieces, 30);
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, text), 0) << text;
  }
}

}  // namespace
