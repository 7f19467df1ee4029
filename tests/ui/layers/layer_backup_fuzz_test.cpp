// The layer backup's fuzz target over its seed corpus, cut anywhere, and random backup-like
// texts.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "tests/support/random_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(LayerBackupFuzz, SeedCorpus) {
  const auto files = CorpusFiles("layer_backup");
  EXPECT_GE(files.size(), 3u);
  for (const auto& [name, bytes] : files)
    for (std::size_t cut = 0; cut <= bytes.size(); cut += 11)
      ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes.substr(0, cut)), 0) << name << " cut at " << cut;
}

TEST(LayerBackupFuzz, RandomBackupLikeTexts) {
  const std::vector<std::string> pieces = {
      "//NAME: ", "//NAME:", "//EXE: ", "Word", "My App", "\n", "\r\n", "//fstart\n", "void ", "KeyDown_", "KeyUp_",
      "2_", "Green_", "Red_", "Word()", "My_App()", "{\n", "}\n", "}//fend\n", "//fend\n", "//ORVX: \"",
      "/text\"\n", "[CC: Tools\\Mail]\"\n", "#define __CMD_ID__ 2\n", "#define __CMD_ID__ 7x\n", "SendString(\"x\");\n",
      "  ", "\t", "%s%d",
  };
  std::mt19937 rng(31);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = RandomText(rng, pieces, 40);
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, text), 0) << text;
  }
}

}  // namespace
