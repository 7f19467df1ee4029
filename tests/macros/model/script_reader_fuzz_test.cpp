// The script reader's fuzz target over its seed corpus, the golden files cut anywhere, and
// random script-like texts.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "tests/support/random_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(ScriptReaderFuzz, SeedCorpus) {
  const auto files = CorpusFiles("script_reader");
  EXPECT_GE(files.size(), 6u);
  for (const auto& [name, bytes] : files) {
    EXPECT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0) << name;
    for (std::size_t cut = 0; cut < bytes.size(); cut += 53)
      ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes.substr(0, cut)), 0) << name << " cut at " << cut;
  }
}

TEST(ScriptReaderFuzz, RandomScriptLikeTexts) {
  const std::vector<std::string> pieces = {
      "//fstart\n", "void ", "KeyDown_", "KeyUp_", "5_", "Green_", "Red_", "Cni_", "Pni()", "Pnr()", "My_App()",
      "{\n", "}\n", "}//fend\n", "//fend\n", "//ORVX: \"", "/text\"\n", "[CC: Tools\\Mail]\"\n",
      "#define __CMD_ID__ 2\n", "SendString(\"x\");\n", "//ORVX: Toggle Keys\n", "//ORVX: Shift Keys\n",
      "//ORVX: KeyCaps\n", "//ORVX: Spacers\n", "//ORVX: End\n", "//7\n", "//-1\n", "\t//ORVX:Layer My App,a.exe\n",
      "\t//ORVX:End_Layer\n", "//ORVX: Backlights true\n", "//ORVX: Keyswitch Mode false\n", "\r\n", "\r", "\t",
  };
  std::mt19937 rng(24);
  for (int i = 0; i < 2000; ++i) {
    const std::string text = RandomText(rng, pieces, 40);
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, text), 0) << text;
  }
}

}  // namespace
