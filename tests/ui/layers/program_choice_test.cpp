// What the "Add Program Layer" dialog lists and what a choice or the finder tool gives.
#include "ui/layers/program_choice.h"

#include <gtest/gtest.h>

namespace {

// An exe name beyond the 49 characters a layer name keeps.
const std::string kLongExe = std::string(60, 'x') + ".exe";

const ExeNameTable kTable{{"winword.exe", "Word"}, {"excel.exe", "Excel"}, {"wordpad.exe", "Word"},
                          {"long.exe", std::string(80, 'L')}, {kLongExe, "Long Named"}};

TEST(ProgramChoice, RunningProgramsByTheirFriendlyNames) {
  // In z order; "" stands for a window whose program could not be read.
  const std::vector<std::string> windows = {"WINWORD.EXE", "", "notepad.exe", "Orvane.exe", "winword.exe",
                                            "foo.bar.exe", "wordpad.exe", ".exe", "NOTEPAD.exe"};
  const std::vector<RunningProgramItem> expected = {
      {"Word", "winword.exe"},  // listed by its display name whatever the case of its exe
      {"notepad", "notepad.exe"},
      {"foo", "foo.bar.exe"},  // cut at the first "." but it keeps its own exe
  };
  EXPECT_EQ(RunningProgramList(windows, kTable), expected);
}

TEST(ProgramChoice, AChoiceIsTheTextAndTheItemsOwnExe) {
  EXPECT_EQ(ChoiceOfItem({"Word", "winword.exe"}), (ProgramLayerChoice{"Word", "winword.exe"}));
  EXPECT_EQ(ChoiceOfItem({"foo", "foo.bar.exe"}), (ProgramLayerChoice{"foo", "foo.bar.exe"}));
  // A display name from the table may be long: the layer keeps 49 characters of it.
  const auto items = RunningProgramList({"long.exe"}, kTable);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text.size(), 80u);
  EXPECT_EQ(ChoiceOfItem(items[0]), (ProgramLayerChoice{std::string(49, 'L'), "long.exe"}));
}

TEST(ProgramChoice, TheFinderNamesTheProgramUnderIt) {
  struct Case {
    const char* exe;
    ProgramLayerChoice expected;
  } cases[] = {
      {"WINWORD.EXE", {"Word", "winword.exe"}},
      {"notepad.exe", {"notepad", "notepad.exe"}},
      {"foo.bar.exe", {"foo", "foo.bar.exe"}},
      {"Orvane.exe", {"", ""}},  // the program itself: nothing
      {"", {"", ""}},            // unreadable, or a window of this process
      {"long.exe", {std::string(49, 'L'), "long.exe"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ChoiceOfExe(c.exe, kTable), c.expected) << c.exe;
}

TEST(ProgramChoice, ALongExeNameStaysWholeAndOnlyTheLayerNameIsCut) {
  const std::string upper = std::string(60, 'X') + ".EXE";
  // Found in the table by its whole name, by the finder and in the list alike.
  EXPECT_EQ(ChoiceOfExe(upper, kTable), (ProgramLayerChoice{"Long Named", kLongExe}));
  EXPECT_EQ(RunningProgramList({upper}, kTable), (std::vector<RunningProgramItem>{{"Long Named", kLongExe}}));
  // Not in the table: the layer is its name up to the first "." and at most 49 characters.
  const std::string unknown = std::string(70, 'y') + ".exe";
  EXPECT_EQ(ChoiceOfExe(unknown, kTable), (ProgramLayerChoice{std::string(49, 'y'), unknown}));
  const auto items = RunningProgramList({unknown}, kTable);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].exe, unknown);
  EXPECT_EQ(ChoiceOfItem(items[0]), (ProgramLayerChoice{std::string(49, 'y'), unknown}));
}

}  // namespace
