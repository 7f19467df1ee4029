#include "runtime/functions/date_text.h"

#include <cctype>
#include <string_view>
#include <vector>

#include "platform/base/split_string.h"

const char kDateSeparators[] = " /\\,-~`!@#$%^&*()_+=}]{[\"':;?.><";

namespace {

const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};
const char* const kMonthShortNames[12] = {"Jan.", "Feb.", "March", "April", "May",  "June",
                                          "July", "Aug.", "Sept.", "Oct.",  "Nov.", "Dec."};
const char* const kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string TwoDigits(int value) {
  return (value >= 0 && value < 10 ? "0" : "") + std::to_string(value);
}

const char* Pick(const char* const* names, int count, int index) {
  return index >= 0 && index < count ? names[index] : "";
}

enum class Field {
  kDay,
  kDay2,
  kMonth,
  kMonth2,
  kYear2,
  kYear4,
  kMonthName,
  kMonthShortName,
  kWeekday,
  kHour12,
  kHour24,
  kAmPm,
  kMinute,
  kSecond,
};

struct FieldWord {
  const char* word;
  Field field;
};

const FieldWord kFieldWords[] = {
    {"D", Field::kDay},           {"DD", Field::kDay2},
    {"M", Field::kMonth},         {"MM", Field::kMonth2},
    {"YY", Field::kYear2},        {"YYYY", Field::kYear4},
    {"MONTH", Field::kMonthName}, {"MON", Field::kMonthShortName},
    {"WEEK", Field::kWeekday},    {"WEEKDAY", Field::kWeekday},
    {"Hrs", Field::kHour12},      {"Hrs12", Field::kHour12},
    {"Hrs24", Field::kHour24},    {"AMPM", Field::kAmPm},
    {"PMAM", Field::kAmPm},       {"Min", Field::kMinute},
    {"Sec", Field::kSecond},
};

std::string FieldText(Field field, const ClockTime& t) {
  switch (field) {
    case Field::kDay: return std::to_string(t.day);
    case Field::kDay2: return TwoDigits(t.day);
    case Field::kMonth: return std::to_string(t.month);
    case Field::kMonth2: return TwoDigits(t.month);
    case Field::kYear2: {
      const std::string year = std::to_string(t.year);
      return year.size() > 2 ? year.substr(2) : "";
    }
    case Field::kYear4: return std::to_string(t.year);
    case Field::kMonthName: return Pick(kMonthNames, 12, t.month - 1);
    case Field::kMonthShortName: return Pick(kMonthShortNames, 12, t.month - 1);
    case Field::kWeekday: return Pick(kWeekdayNames, 7, t.dayOfWeek);
    // The 12-hour clock runs 12, 1, ..., 11: noon and the hour after midnight read 12.
    case Field::kHour12: return std::to_string(t.hour % 12 == 0 ? 12 : t.hour % 12);
    case Field::kHour24: return TwoDigits(t.hour);
    case Field::kAmPm: return t.hour < 12 ? "AM" : "PM";
    case Field::kMinute: return TwoDigits(t.minute);
    case Field::kSecond: return TwoDigits(t.second);
  }
  return {};
}

// The value of a field word, or false for any other word.
bool FieldValue(std::string_view word, const ClockTime& t, std::string& value) {
  for (const FieldWord& f : kFieldWords) {
    if (SameWord(word, f.word)) {
      value = FieldText(f.field, t);
      return true;
    }
  }
  return false;
}

}  // namespace

std::string FormatDateText(const std::string& format, const ClockTime& time) {
  std::vector<std::string> words;
  const std::vector<std::size_t> starts = SplitString(format, kDateSeparators, words);
  std::string text = format;
  std::ptrdiff_t shift = 0;  // how far later words moved
  std::string value;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (!FieldValue(words[i], time, value)) continue;
    text.replace(starts[i] + shift, words[i].size(), value);
    shift +=
        static_cast<std::ptrdiff_t>(value.size()) - static_cast<std::ptrdiff_t>(words[i].size());
  }
  if (text.size() > kMaxDateTextChars) text.resize(kMaxDateTextChars);
  return text;
}
