// The whole road of a recorded macro, as a newcomer takes it, in the real program over a
// simulated LED keypad: the programming switch opens the programming window, a click on key 3
// opens its editor, "Hello" and Shift+a are typed on the keyboard into the Key Down box, OK
// stores them, the window is closed; key 3 then types "HelloA" into a window of this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/macro_editor_ids.h"
#include "tests/macros/program_fixture.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

constexpr std::uint8_t kSwitch = 0x10;   // byte 4
constexpr std::uint8_t kKey3Bit = 0x08;  // byte 1

// A key as the keyboard sends it: its virtual key with its scan code.
void SendKey(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
  PumpMessages(30);
}

class MacroRecording : public RunningProgram {
 protected:
  std::string Path(const char* name) { return TypeFile(0x19, name); }
  void Report(std::uint8_t keys, std::uint8_t switchByte) { KeypadReport(id_, keys, switchByte); }
  int id_ = -1;
};

TEST_F(MacroRecording, AMacroTypedIntoTheEditorIsTypedByItsKey) {
  // This LED keypad types through the platform's input rather than a keyboard report of its
  // own, so that what its keys type reaches a window.
  std::string config = ReadFileOr(Path("ReportConfig.txt"));
  const std::size_t report = config.find("output SendKeyboardReport");
  ASSERT_NE(report, std::string::npos);
  config.erase(report);
  ASSERT_TRUE(WriteTextFile(Path("ReportConfig.txt"), config));
  ASSERT_TRUE(WriteLayout(0x19, 1, [](MacroContext&) {}));
  id_ = AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no build";

  // The programming switch, then a click on key 3 (first row, fourth key).
  Report(0, kSwitch);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }, 5000));
  const LPARAM key3 = MAKELPARAM(20 + 3 * 60 + 30, 45 + 30);
  PostMessageA(window, WM_MOUSEMOVE, 0, key3);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, key3);
  PostMessageA(window, WM_LBUTTONUP, 0, key3);
  const HWND editor = WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  ASSERT_TRUE(editor);
  const HWND box = GetDlgItem(editor, IDC_MACRO_KEY_DOWN);
  SetForegroundWindow(editor);
  PumpMessages(200);

  // Typed on the keyboard: "Hello", then Shift+a.
  SendKey(VK_SHIFT, true);
  SendKey('H', true);
  SendKey('H', false);
  SendKey(VK_SHIFT, false);
  for (WORD vk : {'E', 'L', 'L', 'O'}) {
    SendKey(vk, true);
    SendKey(vk, false);
  }
  SendKey(VK_SHIFT, true);
  SendKey('A', true);
  SendKey('A', false);
  SendKey(VK_SHIFT, false);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(box) == "HelloA"; }, 5000)) << WindowText(box);

  PostMessageA(editor, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  EXPECT_NE(ReadFileOr(Path("Script_1.oxs")).find("SendString(\"/HelloA\");"), std::string::npos)
      << ReadFileOr(Path("Script_1.oxs"));

  // The window closed, the device is built again; the switch goes off.
  ASSERT_TRUE(DeleteFileA(Path("Script_1_backup.oxs").c_str()));
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no rebuild";
  Report(0, 0);

  // Key 3 types the macro into the window in front.
  HWND edit = TypingTarget();
  Report(kKey3Bit, 0);
  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "HelloA"; }, 5000)) << WindowText(edit);
}

}  // namespace
