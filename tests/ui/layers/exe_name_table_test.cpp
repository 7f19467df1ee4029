// The friendly program names of "EXE Name Table.csv".
#include "ui/layers/exe_name_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* what;
  std::string text;
  ExeNameTable expected;
};

TEST(ExeNameTable, LinesGiveExeAndDisplayName) {
  const std::string longName(300, 'n');
  const Case cases[] = {
      {"one line", "winword.exe,Word\r\n", {{"winword.exe", "Word"}}},
      {"last line without its end", "a.exe,A\nb.exe,B", {{"a.exe", "A"}, {"b.exe", "B"}}},
      {"fields trimmed", " \tWINWORD.EXE \t,  Microsoft Word \r\n", {{"winword.exe", "Microsoft Word"}}},
      {"exe lower-cased, name kept", "Notepad++.EXE,NotePad++\n", {{"notepad++.exe", "NotePad++"}}},
      {"no comma", "winword.exe Word\n", {}},
      {"empty exe", ",Word\n  ,Word\n", {}},
      {"empty name", "winword.exe,\nexcel.exe,   \n", {}},
      {"text after a second comma ignored", "excel.exe,Excel,spreadsheets,more\n", {{"excel.exe", "Excel"}}},
      {"second comma right after the first", "excel.exe,,Excel\n", {}},
      {"a later line wins", "a.exe,First\nA.EXE,Second\n", {{"a.exe", "Second"}}},
      {"blank lines", "\n\r\n\n", {}},
      {"bytes beyond ASCII kept", "caf\xe9.exe,Caf\xe9 Menu\n", {{"caf\xe9.exe", "Caf\xe9 Menu"}}},
      // A line is read 259 characters at a time: the rest of a longer one is a line of its own.
      {"long line in pieces", "x.exe," + longName + "\ny.exe,Y\n",
       {{"x.exe", std::string(253, 'n')}, {"y.exe", "Y"}}},
      {"a zero byte ends the line", std::string("a.exe,A\0,B\nb.exe\0,B\n", 21), {{"a.exe", "A"}}},
  };
  for (const Case& c : cases) {
    ExeNameTable table;
    ReadExeNameTable(c.text, table);
    EXPECT_EQ(table, c.expected) << c.what;
  }
}

TEST(ExeNameTable, AddsToWhatTheTableHolds) {
  ExeNameTable table{{"a.exe", "A"}};
  ReadExeNameTable("b.exe,B\n", table);
  EXPECT_EQ(table, (ExeNameTable{{"a.exe", "A"}, {"b.exe", "B"}}));
}

TEST(ExeNameTable, TheCallerLowerCases) {
  ExeNameTable table;
  ReadExeNameTable("ABC.EXE,Abc\n", table, [](std::string s) { return "lower:" + s; });
  EXPECT_EQ(table, (ExeNameTable{{"lower:ABC.EXE", "Abc"}}));
}

}  // namespace
