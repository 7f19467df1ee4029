#include "runtime/functions/calibration_max_lines.h"

#include <climits>
#include <cstddef>

#include "platform/base/text_lines.h"

namespace {

// The calibration file is read through a 500-byte line buffer.
constexpr std::size_t kCalibrationLineChars = 499;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool MaxLineValue(std::string_view line, int& value) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (line.substr(i, 3) != "Max") return false;
  i += 3;
  // "Max" must be a whole word: a name such as "Maximum" is another line.
  if (i < line.size() && !IsBlank(line[i]) && line[i] != '\r' && line[i] != '\n') return false;
  if (i < line.size()) ++i;  // the one character after "Max"
  while (i < line.size() && IsBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  long long number = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    if (number < 100000000000LL) number = number * 10 + (line[i] - '0');
  if (negative) number = -number;
  if (number > INT_MAX) number = INT_MAX;
  if (number < INT_MIN) number = INT_MIN;
  value = static_cast<int>(number);
  return true;
}

int CalibratedMaxValue(std::string_view fileText, int pos) {
  if (pos < 1) return -1;
  int seen = 0;
  int value = 0;
  for (std::string_view line : SplitFileLines(fileText, kCalibrationLineChars))
    if (MaxLineValue(line, value) && ++seen == pos) return value;
  return -1;
}
