// The caption file reader's fuzz target over its seed corpus and over files pieced together
// from whole, cut and bent records.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/corpus_replay.h"
#include "ui/legend_editor/caption_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

using namespace testsupport;

namespace {

TEST(CaptionFileFuzz, SeedCorpus) {
  const auto files = CorpusFiles("caption_file");
  EXPECT_GE(files.size(), 4u);
  for (const auto& [name, bytes] : files) EXPECT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0) << name;
}

TEST(CaptionFileFuzz, BentRecords) {
  const std::string record = EncodeCaptionFile({{{1, 2, 3, 4}, u"C:\\p.png", "{\\rtf1 text}"}}).value();
  std::mt19937 rng(34);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes;
    const int records = static_cast<int>(rng() % 4);
    for (int r = 0; r < records; ++r) bytes += EncodeCaptionFile({{{}, u"", std::string("{\\rtf") + std::string(rng() % 9, 'x')}}).value();
    bytes += record.substr(0, rng() % (record.size() + 1));
    const int bends = static_cast<int>(rng() % 4);
    for (int b = 0; b < bends && !bytes.empty(); ++b) bytes[rng() % bytes.size()] = static_cast<char>(rng());
    ASSERT_EQ(RunFuzzInput(LLVMFuzzerTestOneInput, bytes), 0);
  }
}

}  // namespace
