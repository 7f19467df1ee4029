// The pasted text's fuzz target over its seed corpus and over random texts of line ends, tabs,
// control characters, quotes and characters beyond ASCII.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "tests/support/random_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(PastedTextFuzz, SeedCorpus) {
  const auto files = CorpusFiles("pasted_text");
  EXPECT_GE(files.size(), 4u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0) << name;
}

TEST(PastedTextFuzz, RandomTexts) {
  // UTF-16 units, low byte first.
  const std::vector<std::string> pieces = {
      std::string("a\0", 2),      std::string("\r\0", 2),     std::string("\n\0", 2), std::string("\t\0", 2),
      std::string("\x1b\0", 2),   std::string("\0\0", 2),     std::string("\"\0", 2), std::string("\\\0", 2),
      std::string("/\0", 2),      std::string("_\0", 2),      std::string(" \0", 2),  std::string("\xe9\0", 2),
      std::string("\x93\x21", 2), std::string("\x3d\xd8", 2), std::string("[\0", 2),  std::string("<\0", 2),
  };
  std::mt19937 rng(27);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = std::string(1, static_cast<char>(rng() % 12)) +
                             std::string(1, static_cast<char>(rng() % 12)) + RandomText(rng, pieces, 24);
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, text), 0) << testing::PrintToString(text);
  }
}

}  // namespace
