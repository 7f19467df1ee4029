// The script debugger of the real Orvane.exe with a simulated keypad: a failed build at the
// start is edited, saved and built, a breakpoint in the key's function stops the key press,
// Step and Run finish it, and Exit while a key press is stopped ends the program; a failed build
// answered with the last working script builds and runs the backup.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_window.h"
#include "app/resource.h"
#include "tests/app/program_under_test.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/runtime/service/device_thread_fixture.h"
#include "tests/ui/script_editor/program_ide.h"

using namespace testsupport;

namespace {

constexpr int kProductId = 0x7E22;  // a device type of this test's own
constexpr char kFolder[] = "QpadDevices\\Vid0a7cPid7e22";
constexpr char kBroken[] =
    "void QpadInit() {}\r\n"
    "void KeyDown(int scanCode) {\r\n"
    "  int unused = nosuch;\r\n"
    "  if (scanCode == 17) SendString(\"{Ctrl+c}\");\r\n"
    "  unused = 2;\r\n"
    "}\r\n"
    "void KeyUp(int scanCode) {}\r\n";
constexpr char kBackup[] =
    "void QpadInit() {}\r\n"
    "void KeyDown(int scanCode) {\r\n"
    "  if (scanCode == 17) SendString(\"{Ctrl+v}\");\r\n"
    "}\r\n"
    "void KeyUp(int scanCode) {}\r\n";

class ScriptDebuggerProgram : public ProgramUnderTest {
 protected:
  ScriptDebuggerProgram() : ProgramUnderTest("dbgprog") {}
  void SetUp() override {
    ProgramUnderTest::SetUp();
    ASSERT_TRUE(CloneDeviceType(dir_, 0x19, kProductId));
  }
  std::string Path(const std::string& name) const { return dir_ / (std::string(kFolder) + "\\" + name); }
  void Start(const char* script) {
    ASSERT_TRUE(WriteTextFile(Path("Script_1.oxs"), script));
    keypad_ = AddSimKeypad(sim_, 1, kProductId);
    ASSERT_TRUE(StartProgram());
  }
  void PressKey17() {
    const uint8_t down[9] = {0, 0, 2, 0, 0, 0, 0, 1, 0};
    const uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, keypad_, down, 9);
    VhxSimQueueInput(sim_, keypad_, up, 9);
  }
  // Whether the keypad sent a keyboard report that starts with prefix since the last look.
  bool Sent(const std::string& prefix) {
    for (auto& o : TakeOutputs(sim_, keypad_)) sent_ = sent_ || o.rfind(prefix, 0) == 0;
    return std::exchange(sent_, false);
  }
  int CaretLine(const ProgramIde& ide) {
    const DWORD selection = static_cast<DWORD>(SendMessageA(ide.text, EM_GETSEL, 0, 0));
    return static_cast<int>(SendMessageA(ide.text, EM_LINEFROMCHAR, LOWORD(selection), 0));
  }
  int LineOf(const ProgramIde& ide, const std::string& text) {
    for (int line = 1; line < 200; ++line)
      if (ide.Line(line).find(text) != std::string::npos) return line - 1;
    return -1;
  }

  int keypad_ = -1;
  bool sent_ = false;
};

TEST_F(ScriptDebuggerProgram, ABreakpointStopsAKeyPressStepAndRunFinishItAndExitEndsAStop) {
  Start(kBroken);
  const ProgramIde ide = FindProgramIde(program_.Id(), 20000);
  ASSERT_TRUE(ide);
  // The failed build asks; the user edits the script.
  EXPECT_NE(AnswerBuildQuestion(program_.Id(), IDNO).find("corrupted"), std::string::npos);
  EXPECT_EQ(AnswerBuildQuestion(program_.Id(), IDYES), "Would you like to edit the script?");
  ASSERT_TRUE(WaitUntil([&] { return ide.Visible() && !ide.RowsOf("Error").empty(); }, 10000));
  EXPECT_NE(ide.RowsOf("Error").front()[3].find("nosuch"), std::string::npos);

  // Fixed and saved: the keypad gets its module back and builds the saved script.
  ASSERT_TRUE(ide.Replace("nosuch", "1"));
  ide.Command(IDM_SCRIPT_SAVE);
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000))
      << "the saved script built";
  EXPECT_NE(ReadFileOr(Path("Script_1.oxs")).find("int unused = 1;"), std::string::npos);

  // A breakpoint on the key's line: a click into the text, then F9's command.
  const int line = LineOf(ide, "if (scanCode == 17)");
  ASSERT_GE(line, 0);
  const LRESULT first = SendMessageA(ide.text, EM_LINEINDEX, line, 0);
  const LRESULT at = SendMessageA(ide.text, EM_POSFROMCHAR, first, 0);
  const LPARAM point = MAKELPARAM(LOWORD(at) + 3, HIWORD(at) + 3);
  PostMessageA(ide.text, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(ide.text, WM_LBUTTONUP, 0, point);
  ASSERT_TRUE(WaitUntil([&] { return CaretLine(ide) == line; }, 3000));
  ASSERT_TRUE(ide.CommandNow(IDM_SCRIPT_TOGGLE_BREAKPOINT));

  TakeOutputs(sim_, keypad_);
  PressKey17();
  ASSERT_TRUE(WaitUntil([&] {
    const auto rows = RemoteListRows(ide.list, 3);
    return !rows.empty() && rows.back()[2] == "Current Module";
  }, 10000)) << "the key press stopped: the list shows its variables";
  EXPECT_EQ(CaretLine(ide), line);
  PumpMessages(300);
  EXPECT_FALSE(Sent("02c501")) << "nothing typed while stopped";

  ide.Command(IDM_SCRIPT_STEP_OVER);
  ASSERT_TRUE(WaitUntil([&] { return CaretLine(ide) == line + 1; }, 5000)) << "stopped at the next line";
  EXPECT_TRUE(WaitUntil([&] { return Sent("02c501060000"); }, 5000)) << "the stepped line typed Ctrl+C";
  ide.Command(IDM_SCRIPT_RUN);
  PumpMessages(500);

  // Stopped again, and the program is ended from the tray.
  PressKey17();
  ASSERT_TRUE(WaitUntil([&] { return CaretLine(ide) == line; }, 10000));
  HWND main = FindWindowA(kMainWindowClass, nullptr);
  ASSERT_NE(main, nullptr);
  const DWORD exitAsked = GetTickCount();
  PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_TRUE(program_.Wait(5000)) << "Exit while a key press is stopped ends the program";
  EXPECT_LT(GetTickCount() - exitAsked, 5000u);
}

TEST_F(ScriptDebuggerProgram, TheLastWorkingScriptIsRestoredBuiltAndRun) {
  ASSERT_TRUE(WriteTextFile(Path("Script_1_backup.oxs"), kBackup));
  Start(kBroken);
  EXPECT_NE(AnswerBuildQuestion(program_.Id(), IDYES).find("last known working script"), std::string::npos);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(Path("Script_1.oxs")) == kBackup; }, 10000));
  PumpMessages(1000);  // the restored script builds
  TakeOutputs(sim_, keypad_);
  PressKey17();
  EXPECT_TRUE(WaitUntil([&] { return Sent("02c501190000"); }, 10000)) << "Ctrl+V from the backup";
  const ProgramIde ide = FindProgramIde(program_.Id(), 5000);
  ASSERT_TRUE(ide);
  EXPECT_FALSE(ide.Visible());
}

}  // namespace
