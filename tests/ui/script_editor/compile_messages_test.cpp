#include "ui/script_editor/compile_messages.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseCompileMessageLine, Cases) {
  struct Case {
    const char* line;
    bool fromEngine;
    const char* severity;
    const char* place;
    int section, line_, column;
    const char* message;
  } cases[] = {
      {"QpadHandler (2097155, 5) : Error : Expected ';'\n", true, "Error", "QpadHandler", 2, 3, 5,
       "Expected ';'"},
      {"QpadHandler (7, 1) : Info : Compiling void f()", true, "Info", "QpadHandler", 0, 7, 1,
       "Compiling void f()"},
      // Parentheses in a path and in the message do not mislead the reading.
      {"C:\\Program Files (x86)\\Orvane\\lib.oxs (4) Error : Could not open file x (2).oxs\n", false,
       "Error", "C:\\Program Files (x86)\\Orvane\\lib.oxs", -1, 4, 0, "Could not open file x (2).oxs"},
      {"C:\\copy (2)\\Script_1.oxs (12) Warning : \"text\"", false, "Warning", "C:\\copy (2)\\Script_1.oxs",
       -1, 12, 0, "\"text\""},
      {"QpadHandler (1048577, 3) : Error : No matching signatures to 'f(int) (1, 2) : x'", true, "Error",
       "QpadHandler", 1, 1, 3, "No matching signatures to 'f(int) (1, 2) : x'"},
      {"Invalid configuration\n", true, "", "", -1, 0, 0, "Invalid configuration"},
      {"Error : Invalid configuration. Verify the registered application interface.", true, "", "", -1, 0, 0,
       "Error : Invalid configuration. Verify the registered application interface."},
  };
  for (const Case& c : cases) {
    const CompileMessage m = ParseCompileMessageLine(c.line, c.fromEngine);
    EXPECT_EQ(m.severity, c.severity) << c.line;
    EXPECT_EQ(m.place, c.place) << c.line;
    EXPECT_EQ(m.section, c.section) << c.line;
    EXPECT_EQ(m.line, c.line_) << c.line;
    EXPECT_EQ(m.column, c.column) << c.line;
    EXPECT_EQ(m.message, c.message) << c.line;
  }
}

TEST(CompileMessageStream, KeepsTheFirstHundredLinesAndTellsWhoWroteThem) {
  CompileMessageStream stream;
  stream.Write("");
  EXPECT_EQ(stream.Count(), 0u);
  stream.PreprocessorSink().Write(std::string_view("Mod (2) Error : x\n"));
  for (int i = 0; i < 150; ++i) stream.Write(("S (" + std::to_string(i + 1) + ", 1) : Error : e\n").c_str());
  ASSERT_EQ(stream.Count(), 100u);
  CompileMessage first, last;
  ASSERT_TRUE(stream.ParseCompileMessage(0, first));
  EXPECT_EQ(first.section, -1);
  EXPECT_EQ(first.line, 2);
  ASSERT_TRUE(stream.ParseCompileMessage(99, last));
  EXPECT_EQ(last.line, 99);
  EXPECT_FALSE(stream.ParseCompileMessage(100, last));
  stream.ClearCompileMessages();
  EXPECT_EQ(stream.Count(), 0u);
}

}  // namespace
