// The sample keypads in the real program as they ship, over simulated keypads: the LED keypad's
// switch and tray item open its window; the plain keypad's window shows its macros, opens them
// in the editor, and keeps them when another key is programmed; and a keypad whose script is
// missing or does not build says so instead of doing nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/macro_editor_ids.h"
#include "macros/model/custom_commands.h"
#include "tests/macros/program_fixture.h"
#include "tests/runtime/device/sim_keypad.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

constexpr std::uint8_t kSwitch = 0x10;  // byte 4

class SampleKeypads : public RunningProgram {
 protected:
  // The unit's report: key bits of byte 1, the switch, the unit id.
  void Report(int id, int unitId, std::uint8_t keys, std::uint8_t switchByte) {
    const std::uint8_t report[9] = {0, keys, 0, 0, switchByte, 0, 0, static_cast<std::uint8_t>(unitId), 0};
    VhxSimQueueInput(sim_, id, report, 9);
  }
  bool Built(int productId, const char* backup) {
    return WaitUntil([&] { return FileExists(TypeFile(productId, backup)); }, 20000);
  }
  // The program's error box with that text, answered with OK; false when none came.
  bool ErrorBoxSays(const std::string& text, unsigned ms = 10000) {
    const HWND box = WaitForProcessWindow(program_.Id(), "Orvane II Error", ms);
    if (!box) return false;
    const bool says = FindChildByText(box, "Static", text.c_str()) != nullptr;
    EXPECT_TRUE(says) << "another text";
    ClickButton(FindChildById(box, IDOK));
    return says && WaitUntil([&] { return !IsWindow(box); }, 5000);
  }
  bool NoProgrammingWindow() { return WaitForWindow(kProgrammingWindowClass, nullptr, 1000) == nullptr; }
};

TEST_F(SampleKeypads, TheLedKeypadsSwitchAndTrayItemOpenItsWindow) {
  const int id = AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(Built(0x19, "Script_backup.oxs")) << "the shipped script did not build";

  Report(id, 1, 0, kSwitch);
  HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window), "Qpad 24 LED ID:1 - Green Layer");
  SendMessageA(window, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  EXPECT_EQ(WindowText(window), "Qpad 24 LED ID:1 - Red Layer");
  Report(id, 1, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));

  ASSERT_TRUE(ChooseTrayDevice(0));
  window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window).rfind("Qpad 24 LED ID:1 - ", 0), 0u) << WindowText(window);
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  EXPECT_EQ(WaitForProcessWindow(program_.Id(), "Orvane II Error", 500), nullptr);
}

// Unit 1 of the LED type has no script at all (the type's shipped one taken away); unit 2's own
// does not build and has no backup to go back to.
TEST_F(SampleKeypads, AKeypadWhoseScriptIsMissingOrDoesNotBuildSaysWhy) {
  ASSERT_TRUE(DeleteFileA(TypeFile(0x19, "Script.oxs").c_str()));
  ASSERT_TRUE(WriteTextFile(TypeFile(0x19, "Script_2.oxs"), "void QpadInit() { not a script }\r\n"));
  const int first = AddSimKeypad(sim_, 1, 0x19);
  const int second = AddSimKeypad(sim_, 2, 0x19);
  ASSERT_TRUE(StartProgram());
  // The build asks, as it does for a script that did not build: no backup to load, no editing.
  for (const char* question : {"This script file has been corrupted. Would you like to load the last known working "
                               "script?",
                               "Would you like to edit the script?"}) {
    const HWND asked = WaitForProcessWindow(program_.Id(), "AngelScript Build Error", 20000);
    ASSERT_TRUE(asked);
    EXPECT_TRUE(FindChildByText(asked, "Static", question)) << question;
    ClickButton(FindChildById(asked, IDNO));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(asked); }, 5000));
  }
  const std::string missing = "The programming window of Qpad 24 LED ID:1 cannot open: its script file is missing.\n" +
                              TypeFile(0x19, "Script.oxs");
  // The keypads are read once the program has set them up: the switch is tried until then.
  const HWND box = [&] {
    HWND found = nullptr;
    for (int tries = 0; tries < 20 && !found; ++tries) {
      Report(first, 1, 0, 0);
      Report(first, 1, 0, kSwitch);
      found = WaitForProcessWindow(program_.Id(), "Orvane II Error", 1000);
    }
    return found;
  }();
  ASSERT_TRUE(box) << "the switch was not answered";
  ASSERT_TRUE(ErrorBoxSays(missing));
  EXPECT_TRUE(NoProgrammingWindow());
  // The switch still on says nothing more; the tray's item says it again.
  Report(first, 1, 0, kSwitch);
  EXPECT_EQ(WaitForProcessWindow(program_.Id(), "Orvane II Error", 1000), nullptr);
  ASSERT_TRUE(ChooseTrayDevice(0));  // the first keypad enumerated
  EXPECT_TRUE(ErrorBoxSays(missing));
  EXPECT_TRUE(NoProgrammingWindow());

  Report(second, 2, 0, kSwitch);
  EXPECT_TRUE(ErrorBoxSays("The programming window of Qpad 24 LED ID:2 cannot open: its script file did not build.\n" +
                           TypeFile(0x19, "Script_2.oxs")));
  EXPECT_TRUE(NoProgrammingWindow());
}

// As README.md tells it: keys 0 to 3 type; the window shows their macros and opens key 3's in
// the editor; key 3 programmed anew, keys 0 to 2 go on typing from the unit's new script.
TEST_F(SampleKeypads, ThePlainKeypadsMacrosAreShownEditedAndKept) {
  ASSERT_TRUE(MakeDirs(dir_ / "Custom Commands"));
  ASSERT_TRUE(WriteTextFile(dir_ / "Custom Commands\\Type Hi.oxc", "void RUN_COMMAND() { SendString(\"/hi\"); }\r\n"));
  const HWND edit = TypingTarget();
  const int id = AddSimKeypad(sim_, 2, 0x10);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(Built(0x10, "Script_backup.oxs")) << "the shipped script did not build";
  const auto press = [&](int key) {
    Report(id, 2, static_cast<std::uint8_t>(1 << key), 0);
    Report(id, 2, 0, 0);
  };
  // What the keys type into the test's window (key 2 selects all, which its edit box ignores).
  const auto typed = [&](const std::string& text) {
    SetForegroundWindow(window_);
    SetFocus(edit);
    SetWindowTextA(edit, "");
    PumpMessages(200);
    for (int key = 0; key < 4; ++key) press(key);
    return WaitUntil([&] { return WindowText(edit) == text; }, 5000);
  };
  EXPECT_TRUE(typed("Hello from Orvane\r\nQpad key 3")) << WindowText(edit);

  ASSERT_TRUE(ChooseTrayDevice(0));
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window), "Qpad 12 ID:2");
  // Each of keys 0 to 3 has its label: dark text in its label's place (the key's lower part).
  SetForegroundWindow(window);
  PumpMessages(500);
  const WindowPicture shown = CaptureScreenOf(window);
  for (int key = 0; key < 4; ++key) {
    int dark = 0;
    for (int y = 25 + 44; y < 25 + 58; ++y)
      for (int x = 20 + 60 * key + 2; x < 20 + 60 * key + 58; ++x)
        if (GetRValue(ClientPixel(shown, window, x, y)) < 0x60) ++dark;
    EXPECT_GT(dark, 10) << "no label on key " << key;
  }
  EXPECT_FALSE(SaveScreenPicture(window, "programming_window_plain_sample").empty());

  // Key 3's editor shows its macro, selected: a command from the menu takes its place, and OK
  // stores it in the unit's script.
  Click(window, {20 + 3 * 60 + 30, 25 + 30});  // key 3
  const HWND editor = WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  ASSERT_TRUE(editor);
  const HWND box = GetDlgItem(editor, IDC_MACRO_KEY_DOWN);
  EXPECT_EQ(WindowText(box), "Qpad key 3");
  SendMessageA(editor, WM_COMMAND, kFirstCustomCommandMenuId, 0);
  EXPECT_EQ(WindowText(box), "[CC: Type Hi]");
  PostMessageA(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  const std::string own = TypeFile(0x10, "Script_2.oxs");
  for (const char* function : {"KeyDown_0_Green_Pnr", "KeyDown_1_Green_Pnr", "KeyDown_2_Green_Pnr", "KeyDown_3_Green_Pnr"})
    EXPECT_NE(ReadFileOr(own).find(function), std::string::npos) << function;

  // Closed, the keypad is built from its own script: keys 0 to 2 type as before, key 3 anew.
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(TypeFile(0x10, "Script_2_backup.oxs")) == ReadFileOr(own); }, 20000))
      << "no rebuild";
  EXPECT_TRUE(typed("Hello from Orvane\r\nhi")) << WindowText(edit);
}

// The desktop keypad as it ships: its script greets it with the setup wizard, whose Cancel gives
// it a blank script; then, as the wizard's last page says, its programming switch opens its
// window.
TEST_F(SampleKeypads, TheDesktopKeypadsWizardThenItsSwitchOpensItsWindow) {
  const int id = AddSimKeypad(sim_, 1, 0x28);
  ASSERT_TRUE(StartProgram());
  const HWND wizard = WaitForProcessWindow(program_.Id(), "Qpad Desktop Setup Wizard", 20000);
  ASSERT_TRUE(wizard) << "no setup wizard";
  ClickButton(FindChildById(wizard, IDCANCEL));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(wizard); }, 10000));
  ASSERT_TRUE(Built(0x28, "Script_1_backup.oxs")) << "the blank script did not build";
  // Its report: keys in bytes 1 to 4, the switch 0x10 in byte 5, the unit id in byte 7.
  const auto report = [&](std::uint8_t switchByte) {
    const std::uint8_t bytes[9] = {0, 0, 0, 0, 0, switchByte, 0, 1, 0};
    VhxSimQueueInput(sim_, id, bytes, 9);
  };
  report(0x10);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window), "Qpad Desktop ID:1");
  EXPECT_FALSE(SaveScreenPicture(window, "programming_window_desktop_sample").empty());
  report(0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  EXPECT_EQ(WaitForProcessWindow(program_.Id(), "Orvane II Error", 500), nullptr);
}

}  // namespace
