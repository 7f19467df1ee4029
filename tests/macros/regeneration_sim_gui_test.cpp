// A build cycle of the running program regenerates every device's script: a script in the
// generated form comes out in that form with its macros, a hand-written one as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"

using namespace testsupport;

namespace {

constexpr char kHandWritten[] =
    "// Mine: no generated form here.\r\n"
    "void QpadInit() {}\r\n"
    "void KeyDown(int scanCode) { if (scanCode == 0) SendString(\"/b\"); }\n"
    "void KeyUp(int scanCode) {}";

using Regeneration = RunningProgram;

TEST_F(Regeneration, ABuildCycleKeepsGeneratedAndHandWrittenScripts) {
  ASSERT_TRUE(WriteLayout(0x10, 1, [](MacroContext& c) {
    Program(c, 0, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"/kept", L""}});
  }));
  const std::string generatedPath = TypeFile(0x10, "Script_1.oxs");
  std::string generated;
  ASSERT_TRUE(ReadTextFile(generatedPath, generated));
  const std::string handPath = TypeFile(0x19, "Script_1.oxs");
  ASSERT_TRUE(WriteTextFile(handPath, kHandWritten));
  std::string shared;
  ASSERT_TRUE(ReadTextFile(TypeFile(0x10, "Script.oxs"), shared));

  HWND edit = TypingTarget();
  const int a = AddSimKeypad(sim_, 1, 0x10);
  AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] {
    return FileExists(TypeFile(0x10, "Script_1_backup.oxs")) && FileExists(TypeFile(0x19, "Script_1_backup.oxs"));
  }, 20000));

  // As an editor saves it: line feeds only. The next build cycle brings it back in form.
  ASSERT_TRUE(WriteTextFile(generatedPath, FromCrLf(generated)));
  AddSimKeypad(sim_, 2, 0x10);  // a second plain keypad: a build cycle
  EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(generatedPath) == generated; }, 20000)) << ReadFileOr(generatedPath);
  EXPECT_EQ(ReadFileOr(handPath), kHandWritten);
  EXPECT_EQ(ReadFileOr(TypeFile(0x10, "Script.oxs")), shared);  // the type's shared script, never written

  // The macros are intact.
  SetForegroundWindow(window_);
  SetFocus(edit);
  PumpMessages(200);
  Press(a, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "kept"; }, 5000)) << WindowText(edit);

  // The program's end regenerates once more.
  StopProgram();
  EXPECT_EQ(ReadFileOr(generatedPath), generated);
  EXPECT_EQ(ReadFileOr(handPath), kHandWritten);
}

}  // namespace
