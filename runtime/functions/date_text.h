#pragma once
// Date and time in a layout of the script's choosing: field words of a format text are
// replaced by parts of the local time, everything else is kept.

#include <cstddef>
#include <string>

struct ClockTime {
  int year = 2000;
  int month = 1;      // 1 to 12
  int dayOfWeek = 0;  // 0 Sunday to 6 Saturday
  int day = 1;        // 1 to 31
  int hour = 0;       // 0 to 23
  int minute = 0;
  int second = 0;
};

// The characters between the words of a format.
extern const char kDateSeparators[];
// Longest text a format gives; the rest is cut.
constexpr std::size_t kMaxDateTextChars = 1024;

// The format with every field word replaced by its value at `time`.
std::string FormatDateText(const std::string& format, const ClockTime& time);

// The script function "string GetDate(string dateString)": the local time, read once.
std::string GetDate(std::string format);
