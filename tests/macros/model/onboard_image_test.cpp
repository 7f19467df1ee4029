// The on-board memory image: directory sizes, packing macros on 16-byte boundaries, refusing
// what does not fit or would overlap, and unpacking bounded by the image.
#include "macros/model/onboard_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

DeviceMacroSet SetOf(std::uint8_t highest) {
  DeviceMacroSet set;
  set.highestKey = highest;
  set.Resize(MacroTableSize(highest));
  return set;
}

// A macro of n bytes in all: n - 1 key bytes and its closing 0.
Bytes MacroOf(std::size_t n, std::uint8_t key = 4) {
  Bytes b(n, key);
  b.back() = 0;
  return b;
}

TEST(OnboardImage, CompactIndexLeavesOutBitThree) {
  for (int key = 0; key < 256; ++key) {
    if (!IsKeyCode(key)) continue;
    EXPECT_EQ(KeyOfCompactIndex(CompactKeyIndex(key)), key) << key;
  }
  EXPECT_EQ(CompactKeyIndex(0x27), 0x17);
  EXPECT_EQ(CompactKeyIndex(0xFF), 0x7F);
}

TEST(OnboardImage, DirectorySizes) {
  const struct {
    std::uint8_t highest;
    int size;
    bool overlaps;
  } cases[] = {
      {0, 80, false},    {0x27, 80, false}, {0x9F, 80, false},  {0xA0, 80, true},  {0xA1, 96, false},
      {0xC0, 96, true},  {0xE0, 112, true}, {0xE1, 128, false}, {0xFF, 128, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectorySize(c.highest), c.size) << int(c.highest);
    EXPECT_EQ(DirectoryOverlaps(c.highest), c.overlaps) << int(c.highest);
  }
}

TEST(OnboardImage, TablesHoldTheHighestKey) {
  for (int highest : {0, 15, 16, 32, 0xF0, 0xFF}) {
    EXPECT_GT(MacroTableSize(static_cast<std::uint8_t>(highest)), highest);
    EXPECT_EQ(MacroTableSize(static_cast<std::uint8_t>(highest)) % 16, 0);
  }
}

TEST(OnboardImage, EncodedLengths) {
  const struct {
    Bytes bytes;
    int length;  // -1: no end
  } cases[] = {
      {{0}, 1},
      {{4, 0xE8, 4, 0}, 4},
      {{0xEC, 0, 5, 0}, 4},  // the byte after 0xEC is no end
      {{0xEC, 2, 0xEC}, -1},
      {{4, 5}, -1},
      {{0xF0, 1, 2, 3, 0, 9}, 4},  // two-byte units; the closing unit does not count
      {{0xF0, 1}, -1},
  };
  for (const auto& c : cases) {
    const auto length = GetEncodedMacroLength(c.bytes);
    EXPECT_EQ(length ? static_cast<int>(*length) : -1, c.length) << ::testing::PrintToString(c.bytes);
  }
  const Bytes units = {0xF0, 1, 2, 3, 0, 9};
  EXPECT_EQ(StoredMacroLength(units), 6u);
}

// Each named table is the directory of its number: Key Down green, Key Up green, Key Down red,
// Key Up red.
TEST(OnboardImage, EachNamedTableIsItsDirectory) {
  DeviceMacroSet set = SetOf(0x27);
  set.keyDownGreen[1] = MacroOf(2, 1);
  set.keyUpGreen[1] = MacroOf(2, 2);
  set.keyDownRed[1] = MacroOf(2, 3);
  set.keyUpRed[1] = MacroOf(2, 4);
  Bytes image;
  int used = 0;
  ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);
  for (int table = 0; table < kDeviceMacroTables; ++table) {
    const std::size_t at = image[static_cast<std::size_t>(table * 80 + 1)] * std::size_t{16};
    ASSERT_GT(at, 0u) << table;
    EXPECT_EQ(image[at], table + 1) << table;
    EXPECT_EQ(set.Find(table, 1), &(*set.Table(table))[1]) << table;
  }
  EXPECT_EQ(set.Table(kDeviceMacroTables), nullptr);
  EXPECT_EQ(set.Find(-1, 1), nullptr);
  const DeviceMacroSet back = DecodeDeviceMacroImage(image, 0x27);
  EXPECT_EQ(back.keyUpRed[1], MacroOf(2, 4));
  EXPECT_EQ(back.Tables(), set.Tables());
}

TEST(OnboardImage, SmallLayoutStartsItsDataAfterFourDirectoriesOfEighty) {
  DeviceMacroSet set = SetOf(0x27);
  *set.Slot(kKeyDownGreen, 0x21) = MacroOf(17);
  *set.Slot(kKeyUpGreen, 0x05) = MacroOf(3);
  Bytes image;
  int used = -1;
  ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);
  ASSERT_EQ(image.size(), static_cast<std::size_t>(kMemoryImageSize));
  EXPECT_EQ(set.highestCompact, 0x17);
  // Key Down green first: the 17 bytes at 320, the next macro at 352.
  EXPECT_EQ(image[CompactKeyIndex(0x21)], 320 / 16);
  EXPECT_EQ(image[80 + 5], 352 / 16);
  EXPECT_EQ(image[320], 4);
  EXPECT_EQ(image[336], 0);
  EXPECT_EQ(used, 368);
}

TEST(OnboardImage, ImageOfExactlyTheFullSizePacksAndOneByteMoreDoesNot) {
  // 4 x 80 bytes of directories leave 3760 bytes: two macros fill them to the last byte.
  for (int extra : {0, 1}) {
    DeviceMacroSet set = SetOf(0x10);
    *set.Slot(kKeyDownGreen, 0) = MacroOf(2000);
    *set.Slot(kKeyDownRed, 0x10) = MacroOf(1760 + extra);
    Bytes image;
    int used = -1;
    const ImagePackResult result = EncodeDeviceMacroImage(set, image, used);
    if (extra == 0) {
      EXPECT_EQ(result, ImagePackResult::kPacked);
      EXPECT_EQ(used, kMemoryImageSize);
    } else {
      EXPECT_EQ(result, ImagePackResult::kDoesNotFit);
      EXPECT_EQ(used, 0);
      EXPECT_EQ(image, Bytes(kMemoryImageSize, 0));
    }
  }
}

TEST(OnboardImage, HighestKeyWhoseEntriesWouldOverlapIsRefused) {
  DeviceMacroSet set = SetOf(0xA0);
  *set.Slot(kKeyDownGreen, 0xA0) = MacroOf(4);
  *set.Slot(kKeyUpGreen, 0) = MacroOf(4);
  Bytes image(10, 7);
  int used = -1;
  EXPECT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kDirectoryOverlap);
  EXPECT_EQ(used, 0);
}

TEST(OnboardImage, PackedSetUnpacksTheSame) {
  DeviceMacroSet set = SetOf(0x57);
  *set.Slot(kKeyDownGreen, 0x00) = {4, 0xE8, 4, 0};
  *set.Slot(kKeyUpGreen, 0x00) = {0xE8, 4, 0};
  *set.Slot(kKeyDownRed, 0x57) = {0xEC, 0, 0xEC, 1, 6, 0xE8, 6, 0xEC, 0, 0};
  *set.Slot(kKeyUpRed, 0x12) = {0xEA, 0};
  *set.Slot(kKeyDownGreen, 0x30) = {0};
  Bytes image;
  int used = 0;
  ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);
  const DeviceMacroSet back = DecodeDeviceMacroImage(image, 0x57);
  EXPECT_EQ(back.Tables(), set.Tables());
  EXPECT_EQ(back.highestCompact, CompactKeyIndex(0x57));
}

TEST(OnboardImage, UnpackingStaysInsideTheImage) {
  Bytes image(kMemoryReadLength, 0);
  image[0] = 255;  // key 0, Key Down green: at 4080, inside an image as read (4088 bytes)
  image[4080] = 0x29;
  image[1] = 254;  // key 1: at 4064, a macro that runs to the end without its 0
  for (int i = 4064; i < 4080; ++i) image[i] = 5;
  for (int i = 4082; i < kMemoryReadLength; ++i) image[i] = 6;
  image[kMemoryReadLength - 1] = 0xEC;  // whose value would lie past the end
  image[80] = 10;  // key 0, Key Up green: at 160, a zero byte among the directories

  const DeviceMacroSet set = DecodeDeviceMacroImage(image, 0x02);
  ASSERT_NE(set.Find(kKeyDownGreen, 0), nullptr);
  EXPECT_EQ(*set.Find(kKeyDownGreen, 0), (Bytes{0x29, 0}));
  ASSERT_NE(set.Find(kKeyUpGreen, 0), nullptr);
  EXPECT_EQ(*set.Find(kKeyUpGreen, 0), Bytes{0});
  image[4081] = 6;
  EXPECT_EQ(DecodeDeviceMacroImage(image, 0x02).Find(kKeyDownGreen, 1), nullptr);

  // An image of the written size has nothing at 4080.
  const Bytes written(image.begin(), image.begin() + kMemoryImageSize);
  EXPECT_EQ(DecodeDeviceMacroImage(written, 0x02).Find(kKeyDownGreen, 0), nullptr);
  // A short image reads as empty past its end.
  EXPECT_EQ(DecodeDeviceMacroImage(Bytes(3, 1), 0x7F).Find(kKeyDownGreen, 0), nullptr);
}

}  // namespace
