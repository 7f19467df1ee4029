// The legend editor in the real program over a simulated LED keypad: the programming window's
// View > Legend Maker... turns it into the editor, one caption over every key; the keypad's keys
// open no macro editor meanwhile; Exit gives the programming window back, whose keys open the
// editor again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/macros/program_fixture.h"
#include "ui/legend_editor/legend_editor_ids.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

constexpr int kLedKeypad = 0x19;
// The switch is byte 4's 0x10; key 0 is byte 1's 0x01; the unit id is byte 7.
constexpr std::uint8_t kSwitch = 0x10;

class LegendInTheProgram : public RunningProgram {
 protected:
  void Report(std::uint8_t keys, std::uint8_t switchByte) {
    std::uint8_t report[9] = {0, keys, 0, 0, switchByte, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id_, report, 9);
  }
  bool MacroEditorOpens(unsigned ms) {
    return WaitForProcessWindow(program_.Id(), "Record/Edit Macro", ms) != nullptr;
  }
  int id_ = -1;
};

BOOL CALLBACK CountCaption(HWND child, LPARAM count) {
  if (ClassName(child) == "RichEdit20A") ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int Captions(HWND window) {
  int count = 0;
  EnumChildWindows(window, CountCaption, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(LegendInTheProgram, TheProgrammingWindowBecomesTheLegendEditorAndBack) {
  ASSERT_TRUE(WriteLayout(kLedKeypad, 1, [](MacroContext&) {}));
  id_ = AddSimKeypad(sim_, 1, kLedKeypad);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(kLedKeypad, "Script_1_backup.oxs")); }, 20000)) << "no build";

  Report(0, kSwitch);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  const std::string title = WindowText(window);
  EXPECT_EQ(title, "Qpad 24 LED ID:1 - Green Layer");

  PostMessageA(window, WM_COMMAND, IDM_PW_LEGEND_MAKER, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(window) == "Legend Maker"; }, 10000)) << WindowText(window);
  EXPECT_EQ(Captions(window), 24);

  // The keypad's keys are not the programming window's while the editor is on.
  Report(0x01, kSwitch);
  Report(0, kSwitch);
  EXPECT_FALSE(MacroEditorOpens(1000));

  // Nothing changed: Exit asks nothing and gives the window back.
  PostMessageA(window, WM_COMMAND, IDM_LEGEND_EXIT, 0);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(window) == title; }, 10000)) << WindowText(window);
  EXPECT_EQ(Captions(window), 0);
  Report(0x01, kSwitch);
  Report(0, kSwitch);
  EXPECT_TRUE(MacroEditorOpens(10000));

  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
}

}  // namespace
