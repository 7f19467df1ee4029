// The script editor of the real Orvane.exe: a keypad's script that does not build (the user
// declines both questions at the start) is opened from the tray's command, its message shows at
// its line, the fix is typed, saved and built, the untouched include stays byte for byte, and
// the keypad then runs the fixed script.
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

constexpr int kProductId = 0x7E21;  // a device type of this test's own
constexpr char kFolder[] = "QpadDevices\\Vid0a7cPid7e21";
// Line feeds only: saving the script must leave this file exactly as it is.
constexpr char kLib[] = "string Greeting() {\n  return \"{Ctrl+c}\";\n}\n";
constexpr char kBroken[] =
    "#include \"lib.oxs\"\r\n"
    "void QpadInit() {}\r\n"
    "void KeyDown(int scanCode) {\r\n"
    "  int unused = nosuch;\r\n"
    "  if (scanCode == 17) SendString(Greeting());\r\n"
    "}\r\n"
    "void KeyUp(int scanCode) {}\r\n";

class ScriptEditorProgram : public ProgramUnderTest {
 protected:
  ScriptEditorProgram() : ProgramUnderTest("ideprog") {}
  void SetUp() override {
    ProgramUnderTest::SetUp();
    ASSERT_TRUE(CloneDeviceType(dir_, 0x19, kProductId));
  }
  std::string Path(const std::string& name) const { return dir_ / (std::string(kFolder) + "\\" + name); }

};

TEST_F(ScriptEditorProgram, AFailedScriptIsOpenedFixedSavedAndBuiltAndTheKeypadRunsIt) {
  ASSERT_TRUE(WriteTextFile(Path("lib.oxs"), kLib));
  ASSERT_TRUE(WriteTextFile(Path("Script_1.oxs"), kBroken));
  const int keypad = AddSimKeypad(sim_, 1, kProductId);
  ASSERT_TRUE(StartProgram());
  const ProgramIde ide = FindProgramIde(program_.Id(), 20000);
  ASSERT_TRUE(ide) << "the device thread makes the editor at its start";
  EXPECT_FALSE(ide.Visible());
  HWND main = WaitForWindow(kMainWindowClass, nullptr, 5000);
  ASSERT_NE(main, nullptr);
  // The keypad's build at the start fails: neither the last working script nor editing.
  EXPECT_NE(AnswerBuildQuestion(program_.Id(), IDNO).find("corrupted"), std::string::npos);
  EXPECT_EQ(AnswerBuildQuestion(program_.Id(), IDNO), "Would you like to edit the script?");
  EXPECT_FALSE(ide.Visible());

  // The tray's command goes to the editor, which asks for a file. (The thread may still be
  // finishing the editor's set-up when its window shows: the command is given once more when
  // no dialog came; a second one while the dialog is open is ignored.)
  PumpMessages(500);
  PostMessageA(main, WM_COMMAND, IDM_FORWARD_TO_MODELESS, 0);
  if (!WaitForProcessWindow(program_.Id(), "Open Orvane Script", 5000))
    PostMessageA(main, WM_COMMAND, IDM_FORWARD_TO_MODELESS, 0);
  ASSERT_TRUE(ChooseInOpenDialog(program_.Id(), Path("Script_1.oxs")));
  // Its build fails too: this time the user edits it.
  EXPECT_NE(AnswerBuildQuestion(program_.Id(), IDNO).find("corrupted"), std::string::npos);
  EXPECT_EQ(AnswerBuildQuestion(program_.Id(), IDYES), "Would you like to edit the script?");
  ASSERT_TRUE(WaitUntil([&] { return ide.Visible(); }, 15000));
  ASSERT_TRUE(WaitUntil([&] { return !ide.RowsOf("Error").empty(); }, 10000));
  const auto error = ide.RowsOf("Error").front();
  EXPECT_NE(error[3].find("nosuch"), std::string::npos) << error[3];
  EXPECT_EQ(ide.Line(std::stoi(error[1])), "  int unused = nosuch;") << error[1];
  EXPECT_NE(ide.Text().find("#including_file: \"" + Path("lib.oxs") + "\"\r\nstring Greeting() {\r\n"),
            std::string::npos) << "the include's own text, between its markers";

  ASSERT_TRUE(ide.Replace("nosuch", "1"));
  ide.Command(IDM_SCRIPT_SAVE);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(Path("Script_1.oxs")).find("int unused = 1;") != std::string::npos; },
                        5000));
  EXPECT_EQ(ReadFileOr(Path("Script_1.oxs")), std::string(kBroken).replace(std::string(kBroken).find("nosuch"), 6, "1"));
  EXPECT_EQ(ReadFileOr(Path("lib.oxs")), kLib) << "the include the user did not touch";

  ide.Command(IDM_SCRIPT_BUILD);
  ASSERT_TRUE(WaitUntil([&] {
    const auto rows = ide.Rows();
    return rows.size() == 1 && rows[0][3] == "No Errors !";
  }, 5000));

  // The keypad's next build (a device arriving makes one) takes the saved script.
  AddSimKeypad(sim_, 2, kProductId);
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000));
  TakeOutputs(sim_, keypad);
  const uint8_t down[9] = {0, 0, 2, 0, 0, 0, 0, 1, 0};
  const uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
  VhxSimQueueInput(sim_, keypad, down, 9);
  VhxSimQueueInput(sim_, keypad, up, 9);
  bool typed = false;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& o : TakeOutputs(sim_, keypad)) typed = typed || o.rfind("02c501060000", 0) == 0;
    return typed;
  }, 5000)) << "Ctrl+C from the fixed script's include";
}

}  // namespace
