// Key codes as every layout, script and device table has them: byte and bit both ways.
#include "runtime/keys/key_codes.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyCodes, SixteenCodesAByteOfWhichEightAreKeys) {
  const struct {
    int byte, bit, code;
  } cases[] = {
      {0, 0, 0}, {0, 7, 7}, {1, 0, 16}, {2, 7, 39}, {15, 7, 247}, {15, 15, 255}, {16, 0, 256},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyCode(c.byte, c.bit), c.code);
    EXPECT_EQ(KeyCodeByte(c.code), c.byte) << c.code;
    EXPECT_EQ(KeyCodeBit(c.code), c.bit) << c.code;
  }
  int keys = 0;
  for (int code = 0; code < 256; ++code) keys += IsKeyCode(code);
  EXPECT_EQ(keys, 128);
  EXPECT_TRUE(IsKeyCode(39));
  EXPECT_FALSE(IsKeyCode(8));
  EXPECT_FALSE(IsKeyCode(31));
}

}  // namespace
