#pragma once
// Date and time in a layout of the script's choosing: field words of a format text are
// replaced by parts of the local time, everything else is kept. Plain C++; only GetDate reads
// the clock (date_text_clock.cpp).

#include <cstddef>
#include <string>

#include "platform/base/clock_time.h"

class SystemCalls;

// The characters between the words of a format.
extern const char kDateSeparators[];
// Longest text a format gives; the rest is cut.
constexpr std::size_t kMaxDateTextChars = 1024;

// The format with every field word replaced by its value at `time`.
std::string FormatDateText(const std::string& format, const ClockTime& time);

// The script function "string GetDate(string dateString)": the platform's local time, read once.
std::string GetDate(SystemCalls& calls, const std::string& format);
