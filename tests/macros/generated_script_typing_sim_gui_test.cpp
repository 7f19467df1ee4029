// A layout written by the macro model for a simulated keypad is built by the running program,
// and its keys type their macros into a window of this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"

using namespace testsupport;

namespace {

using GeneratedScript = RunningProgram;

TEST_F(GeneratedScript, TheKeysOfAWrittenLayoutTypeTheirMacros) {
  // The plain keypad types through input injection.
  ASSERT_TRUE(WriteLayout(0x10, 1, [](MacroContext& c) {
    Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/Hi from a layout", L""}});
    Program(c, 1, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"<Return>", L""}});
    Program(c, 16, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/Caf\u00e9 ", L""}, {L"{Shift+q}", L""}});
  }));

  HWND edit = TypingTarget();
  const int id = AddSimKeypad(sim_, 1, 0x10);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(TypeFile(0x10, "Script_1_backup.oxs")); }, 20000))
      << "the generated script did not build";
  SetForegroundWindow(window_);
  SetFocus(edit);
  PumpMessages(200);

  Press(id, 1, 0);  // key 0
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hi from a layout"; }, 5000)) << WindowText(edit);
  Press(id, 1, 1);  // key 1
  Press(id, 2, 0);  // key 16: the second key byte
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hi from a layout\r\nCaf\xe9 Q"; }, 5000))
      << WindowText(edit);
}

}  // namespace
