// The step reader's fuzz target over its seed corpus and over random body-like texts.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "tests/support/random_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(MacroStepsFuzz, SeedCorpus) {
  const auto files = CorpusFiles("macro_steps");
  EXPECT_GE(files.size(), 4u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0) << name;
}

TEST(MacroStepsFuzz, RandomBodyLikeTexts) {
  const std::vector<std::string> pieces = {
      "{\n", "\n}", "//ORVX: \"", "\"\n", "\"", "_", "-", "/", "<Tab>", "[\xE2\x86\x93]", "SendString(\"",
      "\");\n", "//END\n", "//KeyDown", "#define __CMD_ID__ 3\nRUN_COMMAND();\n", "\x1b" "00252", "\x1b" "12",
      "\t", "\r\n", "\n", " ", "}", "[CC: x]", "\xE9", "//fend",
  };
  std::mt19937 rng(22);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(rng, pieces, 30);
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, text), 0) << text;
  }
}

}  // namespace
