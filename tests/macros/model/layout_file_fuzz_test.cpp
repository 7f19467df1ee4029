// The layout reader's fuzz target over its seed corpus and over random layout-like texts.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "tests/support/random_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(LayoutFileFuzz, SeedCorpus) {
  const auto files = CorpusFiles("layout_file");
  EXPECT_GE(files.size(), 5u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0) << name;
}

TEST(LayoutFileFuzz, RandomLayoutLikeTexts) {
  const std::vector<std::string> pieces = {
      "buttonSize ", "labelSize ", "labelOffset ", "ledSize ", "led ", "button ", "label ",
      "buttonLabel ", "buttonRow ", "labelRow ", "buttonLabelRow ", "repeatRow ", "buttonColumn ",
      "labelColumn ", "buttonLabelColumn ", "repeatColumn ", "customButton ", "customButtonDLL ",
      "noKeyCap", "deviceSpecificImagesPath ", "\"", "..\\", ".\\", "0x1F ", "037 ", "300 ", "-4 ",
      "5 ", "12 ", "99999999999 ", "a.png ", "#", "\n", "\r\n", "\t", " ", std::string(300, 'x'),
  };
  std::mt19937 rng(21);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = RandomText(rng, pieces, 40);
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, text), 0) << text;
  }
}

}  // namespace
