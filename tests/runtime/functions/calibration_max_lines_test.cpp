// The "Max" lines of a calibration file.
#include "runtime/functions/calibration_max_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CalibratedMaxValue, ReadsTheNumberAfterALeadingMax) {
  const struct {
    const char* text;
    int pos;
    int value;
  } cases[] = {
      {"   Max   123\n", 1, 123},
      {"Max 7", 1, 7},
      {"\tMax\t\t 42abc\n", 1, 42},
      {"   Max   12\r\n   Max   34\r\n", 2, 34},
      {"   Max   \n", 1, 0},
      {"   Max", 1, 0},
      {"   Max   -5\n", 1, -5},
      {"   Max   99999999999999999999\n", 1, 2147483647},
      {"   Min   1\n   Maximum   2\n   Max   3\n", 1, 3},
      {" Lever \"Max\" {\n   Max   9\n", 1, 9},
      {"   Max   1\n", 2, -1},
      {"", 1, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CalibratedMaxValue(c.text, c.pos), c.value) << c.text << " #" << c.pos;
  // A line longer than the reader's buffer goes on as the next line.
  const std::string longLine = std::string(499, ' ') + "Max 5\n";
  EXPECT_EQ(CalibratedMaxValue(longLine, 1), 5);
}

}  // namespace
