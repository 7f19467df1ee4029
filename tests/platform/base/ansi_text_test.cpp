// Narrow and wide text through a code page: Western (1252) and Japanese (932, two bytes to a
// character) ones, and the system's own ANSI code page by default.
#include "platform/base/ansi_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace std::string_literals;

namespace {

constexpr unsigned kWestern = 1252;
constexpr unsigned kJapanese = 932;

std::string Units(std::wstring_view wide) {
  std::string out;
  for (wchar_t c : wide) out += (out.empty() ? "" : " ") + std::to_string(static_cast<unsigned>(c));
  return out;
}

TEST(WidenAnsi, ByCharactersOrOneUnitPerByte) {
  const struct {
    std::string narrow;
    unsigned codePage;
    std::wstring characters;
    std::wstring bytes;
  } cases[] = {
      {"", kWestern, L"", L""},
      {"Script_1.oxs", kWestern, L"Script_1.oxs", L"Script_1.oxs"},
      {"caf\xe9 \x80", kWestern, L"caf\u00e9 \u20ac", L"caf\u00e9 \u20ac"},
      {"a\0b"s, kWestern, L"a\0b"s, L"a\0b"s},  // a zero byte is text like any other
      // A double-byte character is one character, or two bytes taken as Latin-1.
      {"\x82\xa0.png", kJapanese, L"\u3042.png", L"\u0082\u00a0.png"},
      {"plain", kJapanese, L"plain", L"plain"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrow + " in " + std::to_string(c.codePage));
    EXPECT_EQ(Units(WidenAnsi(c.narrow, AnsiWidening::kCharacters, c.codePage)), Units(c.characters));
    EXPECT_EQ(Units(WidenAnsi(c.narrow, AnsiWidening::kBytes, c.codePage)), Units(c.bytes));
  }
}

TEST(NarrowAnsi, CharactersTheCodePageLacksBecomeQuestionMarks) {
  const struct {
    std::wstring wide;
    unsigned codePage;
    std::string narrow;
  } cases[] = {
      {L"", kWestern, ""},
      {L"D:\\Donn\u00e9es \u20ac", kWestern, "D:\\Donn\xe9""es \x80"},
      {L"a\0b"s, kWestern, "a\0b"s},
      {L"\u4e2d.txt", kWestern, "?.txt"},
      {L"\u3042.png", kJapanese, "\x82\xa0.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Units(c.wide) + " in " + std::to_string(c.codePage));
    EXPECT_EQ(NarrowAnsi(c.wide, c.codePage), c.narrow);
  }
}

TEST(AnsiText, TheSystemsCodePageByDefault) {
  ASSERT_EQ(GetACP(), kWestern) << "the cases below are written for a Western system";
  const std::string narrow = "Zo\xeb M\xfcller \x80";
  EXPECT_EQ(WidenAnsi(narrow), L"Zo\u00eb M\u00fcller \u20ac");
  EXPECT_EQ(WidenAnsi(narrow, AnsiWidening::kBytes), L"Zo\u00eb M\u00fcller \u20ac");
  EXPECT_EQ(NarrowAnsi(L"Zo\u00eb M\u00fcller \u20ac \u4e2d"), narrow + " ?");
  EXPECT_EQ(NarrowAnsi(WidenAnsi(narrow)), narrow);
}

}  // namespace
