// The reports of the on-board memory exchange, the replies bounded by their report and by the
// memory, and the chunks a write sends.
#include "macros/model/onboard_protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(OnboardProtocol, Reports) {
  EXPECT_EQ(MemoryReadRequest(9, 0, 4088), (Bytes{2, 0xBF, 0, 0, 0xF8, 0x0F, 0, 0, 0}));
  EXPECT_EQ(MemoryReadRequest(4, 0x0FF8, 0x1014), (Bytes{2, 0xBF, 0xF8, 0x0F, 0x14, 0x10}));
  const std::array<std::uint8_t, 4> four = {1, 2, 3, 4};
  EXPECT_EQ(MemoryWriteReport(9, 4076, four), (Bytes{2, 0xBC, 0xEC, 0x0F, 1, 2, 3, 4, 0}));
  EXPECT_EQ(MemoryEndReport(9), (Bytes{2, 0xBE, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(OnboardProtocol, RepliesAreBoundedAndCountedOnce) {
  MemoryReplies replies(12);
  const struct {
    Bytes reply;
    bool taken;
    int received;
  } steps[] = {
      {{3, 4, 0, 0, 'a', 'b', 'c', 'd'}, true, 4},
      {{3, 4, 0, 0, 'a', 'b', 'c', 'd'}, true, 4},          // the same bytes again
      {{3, 200, 4, 0, 'e', 'f'}, true, 6},                   // no more than the report holds
      {{3, 4, 10, 0, 'x', 'x', 'x', 'x'}, false, 6},         // would end past the memory
      {{3, 2, 0xFF, 0xFF, 'x', 'x'}, false, 6},
      {{4, 2, 6, 0, 'x', 'x'}, false, 6},                    // another report
      {{3, 2, 6}, false, 6},                                 // too short for a reply
      {{3, 6, 6, 0, 'g', 'h', 'i', 'j', 'k', 'l', 'm'}, true, 12},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(replies.Take(s.reply), s.taken) << ::testing::PrintToString(s.reply);
    EXPECT_EQ(replies.Received(), s.received);
  }
  EXPECT_TRUE(replies.Complete());
  EXPECT_EQ(replies.Bytes(), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l'}));
}

TEST(OnboardProtocol, ChangedChunks) {
  Bytes image(16, 0);
  Bytes read(20, 0);
  EXPECT_TRUE(ChangedMemoryChunks(image, read, 16).empty());
  image[5] = 1;  // one changed byte: one chunk
  EXPECT_EQ(ChangedMemoryChunks(image, read, 16), (std::vector<int>{4}));
  EXPECT_EQ(ChangedMemoryChunks(image, {}, 16), (std::vector<int>{0, 4, 8, 12}));  // never read
  EXPECT_EQ(ChangedMemoryChunks(image, Bytes(6, 0), 16), (std::vector<int>{4, 8, 12}));
  EXPECT_EQ(ChangedMemoryChunks(image, {}, 8), (std::vector<int>{0, 4}));
}

}  // namespace
