// The image decoder's fuzz target over its seed corpus and over random images whose
// directories point into runs of the codes a keypad's macros are made of.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/corpus_replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(OnboardImageFuzz, SeedCorpus) {
  const auto files = CorpusFiles("onboard_image");
  EXPECT_GE(files.size(), 4u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0) << name;
}

TEST(OnboardImageFuzz, RandomImages) {
  const std::uint8_t codes[] = {0,    0,    0x04, 0x05, 0x06, 0x1E, 0x28, 0x29, 0x2C, 0xE8, 0xE8, 0xE9,
                                0xEA, 0xEC, 0xEC, 0x01, 0x02, 0x11, 0x22, 0x20, 0xF0, 0xE1, 0xE3, 0x3A};
  std::mt19937 rng(28);
  for (int round = 0; round < 400; ++round) {
    std::string input(1 + 4088, '\0');
    input[0] = static_cast<char>(rng() % 256);
    const std::size_t directories = 4 * 128;
    for (std::size_t i = 1; i <= directories; ++i)
      if (rng() % 3 == 0) input[i] = static_cast<char>(rng() % 256);
    for (std::size_t i = 1 + directories; i < input.size(); ++i)
      input[i] = static_cast<char>(codes[rng() % sizeof codes]);
    input.resize(1 + rng() % 4088 + (round % 2 ? 4088 : 0));
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, input), 0) << round;
  }
}

}  // namespace
