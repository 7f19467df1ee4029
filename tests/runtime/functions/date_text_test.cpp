// Date texts: the splitter, every field word and separator at fixed clock values, the 12-hour
// clock round noon and midnight, and GetDate through a script with the clock held still.

#include "runtime/functions/date_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/split_string.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/runtime/script/script_fixture.h"

namespace {

// Tuesday 5 March 2024, 09:05:07.
constexpr ClockTime kMarch5{2024, 3, 2, 5, 9, 5, 7};

ClockTime At(int hour, int minute = 0) {
  ClockTime t = kMarch5;
  t.hour = hour;
  t.minute = minute;
  return t;
}

TEST(SplitString, GivesTheWordsBetweenRunsOfSeparatorsWithTheirStarts) {
  const struct {
    const char* text;
    const char* separators;
    std::vector<std::string> pieces;
    std::vector<std::size_t> starts;
  } cases[] = {
      {"  ab  c ", " ", {"ab", "c"}, {2, 6}},
      {"a,;b", ",;", {"a", "b"}, {0, 3}},
      {"", " ", {}, {}},
      {"   ", " ", {}, {}},
      {"abc", "", {"abc"}, {0}},
      {"x", " ", {"x"}, {0}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> pieces;
    EXPECT_EQ(SplitString(c.text, c.separators, pieces), c.starts) << c.text;
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }
  std::vector<std::string> pieces{"kept"};
  SplitString("new", " ", pieces);
  EXPECT_EQ(pieces, (std::vector<std::string>{"kept", "new"}));
}

TEST(FormatDateText, ReplacesEveryFieldWordWithoutRegardToCase) {
  const struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"DD/MM/YYYY", "05/03/2024"},
      {"D.M.YY", "5.3.24"},
      {"Hrs24:Min:Sec", "09:05:07"},
      {"D", "5"},
      {"DD", "05"},
      {"M", "3"},
      {"MM", "03"},
      {"YY", "24"},
      {"YYYY", "2024"},
      {"MONTH", "March"},
      {"MON", "March"},
      {"WEEK", "Tuesday"},
      {"WEEKDAY", "Tuesday"},
      {"Hrs", "9"},
      {"Hrs12", "9"},
      {"Hrs24", "09"},
      {"AMPM", "AM"},
      {"PMAM", "AM"},
      {"Min", "05"},
      {"Sec", "07"},
      // Case does not count: "mm" is the month, "min" the minutes.
      {"mm min", "03 05"},
      {"dd/mM/yyyy", "05/03/2024"},
      {"weekday month hrs24 hrs12 ampm pmam sec SEC", "Tuesday March 09 9 AM AM 07 07"},
      // Other words stay, and the field words after them still land in place.
      {"Today is WEEKDAY, D MONTH YYYY", "Today is Tuesday, 5 March 2024"},
      {"Mondays WEEKDAY D", "Mondays Tuesday 5"},
      // Whole words only; "|", digits and letters join words.
      {"DDD MMM YYY Y MINS D1 D|M", "DDD MMM YYY Y MINS D1 D|M"},
      {"", ""},
      {"no field words here", "no field words here"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateText(c.format, kMarch5), c.text) << c.format;
}

TEST(FormatDateText, EverySeparatorEndsAWordAndIsKept) {
  const std::string separators = kDateSeparators;
  ASSERT_EQ(separators.size(), 32u);
  EXPECT_EQ(separators, " /\\,-~`!@#$%^&*()_+=}]{[\"':;?.><");
  for (char sep : separators) {
    const std::string format = std::string("D") + sep + "MM" + sep + sep + "YY";
    EXPECT_EQ(FormatDateText(format, kMarch5), std::string("5") + sep + "03" + sep + sep + "24")
        << format;
  }
  EXPECT_EQ(FormatDateText("D" + separators + "M", kMarch5), "5" + separators + "3");
  EXPECT_EQ(FormatDateText(separators, kMarch5), separators);
  // Tabs and line breaks are not separators.
  EXPECT_EQ(FormatDateText("D\tM\nYY", kMarch5), "D\tM\nYY");
}

TEST(FormatDateText, TwelveHourClockReadsTwelveAtNoonAndMidnight) {
  const struct {
    int hour;
    int minute;
    const char* text;
  } cases[] = {
      {0, 0, "12 AM 00"},   {0, 59, "12 AM 00"}, {1, 0, "1 AM 01"},    {9, 30, "9 AM 09"},
      {11, 59, "11 AM 11"}, {12, 0, "12 PM 12"}, {12, 30, "12 PM 12"}, {12, 59, "12 PM 12"},
      {13, 0, "1 PM 13"},   {18, 45, "6 PM 18"}, {23, 59, "11 PM 23"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateText("Hrs12 AMPM Hrs24", At(c.hour, c.minute)), c.text) << c.hour;
    EXPECT_EQ(FormatDateText("Hrs PMAM", At(c.hour, c.minute)),
              FormatDateText("Hrs12 AMPM", At(c.hour, c.minute)));
  }
}

TEST(FormatDateText, NamesEveryMonthAndWeekday) {
  const char* const months[] = {"January",   "February", "March",    "April",
                                "May",       "June",     "July",     "August",
                                "September", "October",  "November", "December"};
  const char* const shortMonths[] = {"Jan.", "Feb.", "March", "April", "May",  "June",
                                     "July", "Aug.", "Sept.", "Oct.",  "Nov.", "Dec."};
  const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
  ClockTime t = kMarch5;
  for (int m = 1; m <= 12; ++m) {
    t.month = m;
    EXPECT_EQ(FormatDateText("MONTH/MON/MM", t), std::string(months[m - 1]) + "/" +
                                                     shortMonths[m - 1] + "/" +
                                                     (m < 10 ? "0" : "") + std::to_string(m));
  }
  for (int d = 0; d < 7; ++d) {
    t.dayOfWeek = d;
    EXPECT_EQ(FormatDateText("WEEK", t), weekdays[d]);
  }
  // A short month name's own "." is no separator of the format.
  t.month = 1;
  EXPECT_EQ(FormatDateText("MON D, YYYY", t), "Jan. 5, 2024");
}

TEST(FormatDateText, PadsTheTwoDigitFieldsOnly) {
  const ClockTime t{2009, 11, 0, 28, 0, 0, 59};
  EXPECT_EQ(FormatDateText("D DD M MM YY YYYY Hrs24 Min Sec", t), "28 28 11 11 09 2009 00 00 59");
  const ClockTime single{2001, 1, 0, 1, 7, 1, 0};
  EXPECT_EQ(FormatDateText("D DD M MM YY Hrs12 Hrs24 Min Sec", single), "1 01 1 01 01 7 07 01 00");
}

TEST(FormatDateText, ResultIsBounded) {
  std::string format;
  for (int i = 0; i < 300; ++i) format += "MONTH ";  // each word grows from 5 to 9 characters
  ClockTime t = kMarch5;
  t.month = 9;
  const std::string text = FormatDateText(format, t);
  ASSERT_EQ(text.size(), kMaxDateTextChars);
  EXPECT_EQ(text.substr(0, 20), "September September ");
}

TEST(GetDate, ReadsTheLocalTimeThroughTheScript) {
  SystemCallsRecorder calls;
  // Year, month, weekday, day, hour, minute, second.
  calls.SetClock(ClockTime{2024, 3, 2, 5, 12, 30, 7});
  ScriptFixture f;
  ASSERT_EQ(RegisterScriptFunctions(f.Engine(), {calls}), 0);
  ASSERT_EQ(f.Run(R"(print(GetDate("DD/MM/YYYY")); print(GetDate("Hrs12 AMPM"));
                     string fmt = "WEEKDAY Hrs24:Min:Sec"; print(GetDate(fmt)); print(fmt);
                     print(GetDate("")); print(GetDate("plain text"));)"),
            asEXECUTION_FINISHED)
      << f.Messages();
  EXPECT_EQ(f.Output(), "05/03/2024|12 PM|Tuesday 12:30:07|WEEKDAY Hrs24:Min:Sec||plain text");
}

}  // namespace
