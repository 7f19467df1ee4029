// What the "Add Program Layer" dialog lists and what a choice or the finder tool gives.
#include "ui/layers/program_choice.h"

#include <gtest/gtest.h>

namespace {

const ExeNameTable kTable{{"winword.exe", "Word"}, {"excel.exe", "Excel"}, {"wordpad.exe", "Word"},
                          {"long.exe", std::string(80, 'L')}};

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
  // An exe name beyond 49 characters is cut, as the exe names of running programs are.
  EXPECT_EQ(ChoiceOfExe(std::string(60, 'x') + ".exe", kTable).exe, std::string(49, 'x'));
}

}  // namespace
