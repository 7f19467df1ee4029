// The editor's road through the real program over a simulated LED keypad: the programming
// switch opens the programming window, a click on key 3 opens its editor, a custom command of
// the test's own and Backlight Toggle go in from the editor's menu, OK stores them and the
// window is closed; the script is regenerated and rebuilt, key 3 then types the command's text
// and toggles the backlights (the keypad's output reports), and the window opened again shows
// the same macro for key 3. A keypad unplugged with the editor open stores nothing of it; the
// switch turned off with it open stores what it holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "macros/macro_editor_ids.h"
#include "macros/model/custom_commands.h"
#include "tests/macros/program_fixture.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

constexpr std::uint8_t kSwitch = 0x10;   // byte 4
constexpr std::uint8_t kKey3Bit = 0x08;  // byte 1
// Key 3 in the programming window: first row, fourth key.
const LPARAM kKey3 = MAKELPARAM(20 + 3 * 60 + 30, 45 + 30);

class ProgramEditorRoad : public RunningProgram {
 protected:
  std::string Path(const char* name) { return TypeFile(0x19, name); }
  void Report(std::uint8_t keys, std::uint8_t switchByte) { KeypadReport(id_, keys, switchByte); }
  // The switch on, the window shown; a click on key 3 opens its editor.
  HWND OpenKey3Editor(HWND* window) {
    Report(0, kSwitch);
    *window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
    if (!*window || !WaitUntil([&] { return IsWindowVisible(*window) != FALSE; }, 5000)) return nullptr;
    return ClickKey3(*window);
  }
  HWND ClickKey3(HWND window) {
    PostMessageA(window, WM_MOUSEMOVE, 0, kKey3);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, kKey3);
    PostMessageA(window, WM_LBUTTONUP, 0, kKey3);
    return WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  }
  // Starts the program over the LED keypad with an empty layout; false when it did not build.
  bool StartOverEmptyLayout() {
    if (!WriteLayout(0x19, 1, [](MacroContext&) {})) return false;
    id_ = AddSimKeypad(sim_, 1, 0x19);
    return StartProgram() && WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000);
  }
  // Key 3's macro made a delay of 2 s with OK, then opened again, cleared and made a delay of
  // 4.5 s without OK: the editor left open.
  HWND EditKey3WithoutOk(HWND* window) {
    HWND editor = OpenKey3Editor(window);
    if (!editor) return nullptr;
    SendMessageA(editor, WM_COMMAND, IDC_MACRO_CLEAR, 0);
    SendMessageA(editor, WM_COMMAND, IDM_MACRO_DELAY_FIRST + 3, 0);
    PostMessageA(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(editor); }, 10000)) return nullptr;
    EXPECT_NE(ReadFileOr(Path("Script_1.oxs")).find("sleep(2000);"), std::string::npos);
    editor = ClickKey3(*window);
    if (!editor) return nullptr;
    EXPECT_EQ(WindowText(GetDlgItem(editor, IDC_MACRO_KEY_DOWN)), "[Delay 2.0]");
    SendMessageA(editor, WM_COMMAND, IDC_MACRO_CLEAR, 0);
    SendMessageA(editor, WM_COMMAND, IDM_MACRO_DELAY_FIRST + 8, 0);
    EXPECT_EQ(WindowText(GetDlgItem(editor, IDC_MACRO_KEY_DOWN)), "[Delay 4.5]");
    return editor;
  }
  int id_ = -1;
};

TEST_F(ProgramEditorRoad, ACustomCommandAndBacklightToggleFromTheMenusRunOnKey3) {
  ASSERT_TRUE(MakeDirs(dir_ / "Custom Commands"));
  ASSERT_TRUE(WriteTextFile(dir_ / "Custom Commands\\Type Hi.oxc", "void RUN_COMMAND() { SendString(\"/hi\"); }\r\n"));
  ASSERT_TRUE(WriteLayout(0x19, 1, [](MacroContext&) {}));
  id_ = AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no build";

  HWND window = nullptr;
  HWND editor = OpenKey3Editor(&window);
  ASSERT_TRUE(editor);
  const HWND box = GetDlgItem(editor, IDC_MACRO_KEY_DOWN);
  // The folder's only command has the menu's first id.
  SendMessageA(editor, WM_COMMAND, kFirstCustomCommandMenuId, 0);
  SendMessageA(editor, WM_COMMAND, IDM_MACRO_BACKLIGHT_TOGGLE, 0);
  const std::string macro = "[CC: Type Hi][Backlight Toggle]";
  EXPECT_EQ(WindowText(box), macro);
  PostMessageA(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  const std::string written = ReadFileOr(Path("Script_1.oxs"));
  EXPECT_NE(written.find("#define __CMD_ID__ 1\r\n#include \"Type Hi.oxc\""), std::string::npos) << written;
  EXPECT_NE(written.find("ToggleBacklights();"), std::string::npos) << written;

  // The window closed and the switch off: the device is built again.
  ASSERT_TRUE(DeleteFileA(Path("Script_1_backup.oxs").c_str()));
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  Report(0, 0);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(Path("Script_1_backup.oxs")) == ReadFileOr(Path("Script_1.oxs")); },
                        20000))
      << "no rebuild";
  // What the rebuild sent the keypad (its LEDs) is over once nothing more comes for a while.
  int quiet = 0;
  ASSERT_TRUE(WaitUntil([&] {
    quiet = TakeOutputs(sim_, id_).empty() ? quiet + 1 : 0;
    return quiet >= 4;
  }, 10000, 50));

  // Each press types "hi" through the keypad's keyboard reports, then toggles the backlights
  // (0x20 beside the green LED's 0x40): pressed twice, they come back as they were.
  const std::vector<std::string> typed = {"02c5000b0000000000", "02c500000000000000", "02c5000c0000000000",
                                          "02c500000000000000"};
  std::vector<std::string> backlights;
  for (int press = 0; press < 2; ++press) {
    Report(kKey3Bit, 0);
    Report(0, 0);
    std::vector<std::string> outputs;
    EXPECT_TRUE(WaitUntil([&] {
      for (const std::string& o : TakeOutputs(sim_, id_)) outputs.push_back(o);
      return outputs.size() >= typed.size() + 1;
    }, 5000));
    ASSERT_EQ(outputs.size(), typed.size() + 1) << press;
    EXPECT_EQ(std::vector<std::string>(outputs.begin(), outputs.end() - 1), typed) << press;
    backlights.push_back(outputs.back());
  }
  std::sort(backlights.begin(), backlights.end());
  EXPECT_EQ(backlights, (std::vector<std::string>{"02c140000000000000", "02c160000000000000"}));

  // Opened again, the window shows the same macro for key 3.
  editor = OpenKey3Editor(&window);
  ASSERT_TRUE(editor);
  EXPECT_EQ(WindowText(GetDlgItem(editor, IDC_MACRO_KEY_DOWN)), macro);
  PostMessageA(GetDlgItem(editor, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  Report(0, 0);
}

// An unplugged keypad's user confirmed nothing: the edit its open editor held is dropped, the
// saved macro stays and its script is not written, neither then nor at the table's rebuild 5 s
// later; plugged in again, the keypad shows the saved macro.
TEST_F(ProgramEditorRoad, AnEditLeftOpenWhenTheKeypadIsUnpluggedIsNotStored) {
  ASSERT_TRUE(StartOverEmptyLayout()) << "no build";
  HWND window = nullptr;
  HWND editor = EditKey3WithoutOk(&window);
  ASSERT_TRUE(editor);
  SavePicture(editor, "macro_editor_unconfirmed_edit");
  const std::string saved = ReadFileOr(Path("Script_1.oxs"));
  WIN32_FILE_ATTRIBUTE_DATA before{};
  ASSERT_TRUE(GetFileAttributesExA(Path("Script_1.oxs").c_str(), GetFileExInfoStandard, &before));

  ASSERT_EQ(VhxSimRemoveDevice(sim_, id_), VHXSIM_OK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor) && !IsWindow(window); }, 10000));
  PumpMessages(8000);
  EXPECT_EQ(ReadFileOr(Path("Script_1.oxs")), saved);
  EXPECT_EQ(saved.find("sleep(4500)"), std::string::npos);
  WIN32_FILE_ATTRIBUTE_DATA after{};
  ASSERT_TRUE(GetFileAttributesExA(Path("Script_1.oxs").c_str(), GetFileExInfoStandard, &after));
  EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0) << "written";

  id_ = AddSimKeypad(sim_, 1, 0x19);
  editor = OpenKey3Editor(&window);
  ASSERT_TRUE(editor);
  EXPECT_EQ(WindowText(GetDlgItem(editor, IDC_MACRO_KEY_DOWN)), "[Delay 2.0]");
  PostMessageA(GetDlgItem(editor, IDCANCEL), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
}

// The switch turned off with the editor open ends programming with what the editor holds.
TEST_F(ProgramEditorRoad, TurningTheSwitchOffStoresWhatTheOpenEditorHolds) {
  ASSERT_TRUE(StartOverEmptyLayout()) << "no build";
  HWND window = nullptr;
  HWND editor = EditKey3WithoutOk(&window);
  ASSERT_TRUE(editor);
  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor) && !IsWindow(window); }, 10000));
  EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(Path("Script_1.oxs")).find("sleep(4500);") != std::string::npos; },
                        5000))
      << ReadFileOr(Path("Script_1.oxs"));
  EXPECT_EQ(ReadFileOr(Path("Script_1.oxs")).find("sleep(2000);"), std::string::npos);
}

}  // namespace
