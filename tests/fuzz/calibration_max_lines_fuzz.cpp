// Fuzz target: the "Max" lines of a calibration file as scripts read them. A "Max" line put
// in front shifts every position by one and other lines put in front change nothing; a line
// of "Max" and a number reads as that number; and the file the calibration program writes,
// with any lever names and ranges (the input's first 176 bytes are the ranges, its further
// lines the names), reads back as its maxima in the positions' documented order.
// tools/fuzz check: 6000 runs (each input reads a text and a written file some forty times).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "calibration/calibration_file.h"
#include "calibration/positions.h"
#include "runtime/functions/calibration_max_lines.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Longer names would run past the reader's line buffer, whose rest reads as a line of its own.
constexpr std::size_t kNameChars = 400;
// A few positions, near and far: each call reads the whole text.
constexpr int kPositionsTried[] = {1, 2, 3, 7, 22, 23};

int IntAt(std::string_view bytes, std::size_t index) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t at = index * 4 + i;
    if (at < bytes.size()) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << (8 * i);
  }
  return static_cast<int>(v);
}

void CheckTheText(const std::string& text) {
  Check(CalibratedMaxValue(text, 0) == -1 && CalibratedMaxValue(text, -2147483647 - 1) == -1);
  const std::string shifted = "   Max   5\n" + text;
  Check(CalibratedMaxValue(shifted, 1) == 5);
  const std::string others = "   Min   3\n   Maximum   7\n \"Max\" 9\n\n" + text;
  for (int pos : kPositionsTried) {
    const int value = CalibratedMaxValue(text, pos);
    Check(CalibratedMaxValue(shifted, pos + 1) == value);
    Check(CalibratedMaxValue(others, pos) == value);
  }
}

void CheckOneLine(const std::string& line, int number) {
  int value = 0;
  const bool isMax = MaxLineValue(line, value);
  int again = 0;
  Check(MaxLineValue(" \t " + line, again) == isMax && (!isMax || again == value));
  for (const char* after : {" ", "\t", "   ", " \t "}) {
    Check(MaxLineValue("Max" + std::string(after) + std::to_string(number) + "\r\n", value) && value == number);
    Check(MaxLineValue("Max" + std::string(after) + std::to_string(number) + " " + line, value) && value == number);
  }
}

void CheckTheWrittenFile(std::string_view bytes) {
  cal::Ranges ranges{};
  for (int p = 0; p < cal::kPositionCount; ++p)
    ranges[p] = {IntAt(bytes, 2 * static_cast<std::size_t>(p)), IntAt(bytes, 2 * static_cast<std::size_t>(p) + 1)};
  std::string_view rest = bytes.substr(std::min<std::size_t>(bytes.size(), cal::kPositionCount * 8));
  cal::LeverNames names;
  for (std::string& name : names) {
    const std::size_t end = rest.find('\n');
    name = std::string(rest.substr(0, std::min(end, kNameChars)));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const std::string file = cal::CalibrationFileText(names, ranges);
  int n = 0;
  for (const cal::LeverBlock& block : cal::LeverBlocks())
    for (int i = 0; i < block.count; ++i) Check(CalibratedMaxValue(file, ++n) == ranges[block.positions[i]].max);
  Check(n == cal::kPositionCount && CalibratedMaxValue(file, n + 1) == -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckTheText(text);
  const std::string firstLine = text.substr(0, text.find('\n'));
  CheckOneLine(firstLine.substr(0, firstLine.find('\0')), IntAt(text, 0));
  CheckTheWrittenFile(text);
  return 0;
}
