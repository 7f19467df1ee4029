// Fuzz target: date formats of the script function GetDate. The input's first line is the clock
// (year, month, weekday, day, hour, minute, second; each folded into the range the platform's
// clock gives), the rest the format. The text stays bounded, words are replaced in place, and
// a format without letters comes back as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/functions/date_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// The next number of the line (0 when there is none), the line moved past it.
long NextNumber(std::string_view& line) {
  while (!line.empty() && (line.front() < '0' || line.front() > '9')) line.remove_prefix(1);
  long value = 0;
  while (!line.empty() && line.front() >= '0' && line.front() <= '9') {
    value = (value * 10 + (line.front() - '0')) % 100000;
    line.remove_prefix(1);
  }
  return value;
}

ClockTime ClockFromLine(std::string_view line) {
  ClockTime t;
  t.year = 1601 + static_cast<int>(NextNumber(line) % (30827 - 1601 + 1));
  t.month = 1 + static_cast<int>(NextNumber(line) % 12);
  t.dayOfWeek = static_cast<int>(NextNumber(line) % 7);
  t.day = 1 + static_cast<int>(NextNumber(line) % 31);
  t.hour = static_cast<int>(NextNumber(line) % 24);
  t.minute = static_cast<int>(NextNumber(line) % 60);
  t.second = static_cast<int>(NextNumber(line) % 60);
  return t;
}

bool HasLetter(std::string_view text) {
  for (char c : text)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = text.find('\n');
  const ClockTime time = ClockFromLine(text.substr(0, newline));
  const std::string format(newline == std::string_view::npos ? "" : text.substr(newline + 1));

  const std::string formatted = FormatDateText(format, time);
  Check(formatted.size() <= kMaxDateTextChars);
  // No value is longer than three characters per character of its word ("WEEK": "Wednesday").
  Check(formatted.size() <= 3 * format.size());
  if (!HasLetter(format)) Check(formatted == format.substr(0, kMaxDateTextChars));

  // Words never span a separator: the text cut at one is formatted piece by piece.
  const std::size_t cut = format.find_first_of(kDateSeparators);
  if (cut != std::string::npos && formatted.size() < kMaxDateTextChars) {
    const std::string head = FormatDateText(format.substr(0, cut), time);
    const std::string tail = FormatDateText(format.substr(cut), time);
    if (head.size() + tail.size() < kMaxDateTextChars) Check(formatted == head + tail);
  }
  return 0;
}
