// The programming window in the real program over a simulated LED keypad: the programming
// switch opens it; a click on a drawn key opens that key's editor and the real key closes the
// same editor; Save writes the device's script; the window's close rebuilds the device, whose
// key press then runs the macro.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/macros/model/golden_layouts.h"
#include "tests/macros/program_fixture.h"
#include "ui/programming_window/programming_window.h"
#include "ui/programming_window/programming_window_ids.h"

using namespace testsupport;

namespace {

// The key bytes start at byte 1; the switch is byte 4's 0x10; the unit id is byte 7.
constexpr std::uint8_t kSwitch = 0x10;
constexpr int kKey7Byte = 1;
constexpr std::uint8_t kKey7Bit = 0x80;

class ProgrammingSim : public RunningProgram {
 protected:
  std::string Path(const char* name) { return TypeFile(0x19, name); }

  // Key 7's Key Down sends the "setID" report with 200: its running shows in the outputs (the
  // device's own section declares the global the report takes).
  void WriteLayout(int unitId = 1) {
    ASSERT_TRUE(WriteTextFile(Path("Device Specific.oxs"), "uint8 QpadUnitId = 1;\r\n"));
    ASSERT_TRUE(RunningProgram::WriteLayout(0x19, unitId, [](MacroContext& c) {
      Program(c, 7, KeyEvent::Down, LayerColour::Green, "Pnr", {{L"[Report]", L"QpadUnitId = 200; SendOutputReport(\"setID\");"}});
    }));
  }

  void Report(std::uint8_t keys, std::uint8_t switchByte, int unitId = 1) {
    std::uint8_t report[9] = {0, 0, 0, 0, switchByte, 0, 0, static_cast<std::uint8_t>(unitId), 0};
    report[kKey7Byte] = keys;
    VhxSimQueueInput(sim_, unitId == 1 ? id_ : id2_, report, 9);
  }
  bool Ran(int id) {
    return WaitUntil(
        [&] {
          for (const std::string& o : TakeOutputs(sim_, id))
            if (o == kKeyPressScriptRan) return true;
          return false;
        },
        10000);
  }
  void Post(HWND window, UINT msg, POINT at, WPARAM keys = 0) {
    PostMessageA(window, msg, keys, MAKELPARAM(at.x, at.y));
  }

  int id_ = -1;
  int id2_ = -1;
};

TEST_F(ProgrammingSim, SwitchClickKeySaveCloseAndTheMacroRuns) {
  WriteLayout();
  id_ = AddSimKeypad(sim_, 1, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no build";

  // The programming switch opens the window.
  Report(0, kSwitch);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window), "Qpad 24 LED ID:1 - Green Layer");

  // Key 7, the second row's second key, by its centre.
  const POINT key7{80 + 30, 105 + 30};
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window); }, 5000));
  const auto editorOpen = [&](unsigned ms) {
    return WaitForProcessWindow(program_.Id(), "Record/Edit Macro", ms) != nullptr;
  };
  const auto click = [&](POINT at) {
    Post(window, WM_MOUSEMOVE, at);
    Post(window, WM_LBUTTONDOWN, at, MK_LBUTTON);
    Post(window, WM_LBUTTONUP, at);
  };

  // A click on the drawn key opens its editor; the real key is the same key: it toggles that
  // editor shut.
  click(key7);
  const HWND editor = WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  ASSERT_TRUE(editor);
  EXPECT_EQ(ClassName(editor), "basicInputClass");
  Report(kKey7Bit, kSwitch);
  Report(0, kSwitch);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  EXPECT_FALSE(editorOpen(500));
  // Another real key would have closed it and opened its own.
  click(key7);
  const HWND again = WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  ASSERT_TRUE(again);
  Report(0x01, kSwitch);  // key 0
  Report(0, kSwitch);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(again); }, 10000));
  const HWND other = WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000);
  ASSERT_TRUE(other);
  Report(0x01, kSwitch);
  Report(0, kSwitch);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(other); }, 10000));

  // The device's script is replaced behind the window's back by one that does nothing; Save
  // puts the window's layout back into it.
  ASSERT_TRUE(WriteTextFile(Path("Script_1.oxs"),
                            "void QpadInit() {}\r\nvoid KeyDown(int scanCode) {}\r\nvoid KeyUp(int scanCode) {}\r\n"));
  PostMessageA(window, WM_COMMAND, IDM_PW_SAVE, 0);
  const HWND dialog = WaitForProcessWindow(program_.Id(), "Save Orvane Script", 10000);
  ASSERT_TRUE(dialog);
  const HWND name = FileDialogNameBox(dialog);
  ASSERT_TRUE(name);
  const std::string target = Path("Script_1.oxs");
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(target).find("KeyDown_7_Green_Pnr") != std::string::npos; }, 10000))
      << ReadFileOr(target);

  // The switch goes off: the window closes, and the device is built from the saved script.
  ASSERT_TRUE(DeleteFileA(Path("Script_1_backup.oxs").c_str()));
  Report(0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_1_backup.oxs")); }, 20000)) << "no rebuild";
  TakeOutputs(sim_, id_);

  // Key 7 now runs its macro.
  Report(kKey7Bit, 0);
  Report(0, 0);
  EXPECT_TRUE(Ran(id_));
}

TEST_F(ProgrammingSim, TheWindowOutlivesAnotherDeviceGoingAndGoesWithTheProgram) {
  WriteLayout(1);
  WriteLayout(2);
  id_ = AddSimKeypad(sim_, 1, 0x19);
  id2_ = AddSimKeypad(sim_, 2, 0x19);
  ASSERT_TRUE(StartProgram());
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_2_backup.oxs")); }, 20000)) << "no build";

  // The second keypad's window; then the first keypad goes, and the records move up.
  Report(0, kSwitch, 2);
  const HWND window = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(window), "Qpad 24 LED ID:2 - Green Layer");
  VhxSimRemoveDevice(sim_, id_);
  PumpMessages(500);
  PostMessageA(window, WM_COMMAND, IDM_PW_RED_LAYER, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(window) == "Qpad 24 LED ID:2 - Red Layer"; }, 5000));
  PostMessageA(window, WM_COMMAND, IDM_PW_GREEN_LAYER, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(window) == "Qpad 24 LED ID:2 - Green Layer"; }, 5000));

  // Closed by its switch, the moved device is rebuilt and runs its macro.
  ASSERT_TRUE(DeleteFileA(Path("Script_2_backup.oxs").c_str()));
  Report(0, 0, 2);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(Path("Script_2_backup.oxs")); }, 20000)) << "no rebuild";
  TakeOutputs(sim_, id2_);
  Report(kKey7Bit, 0, 2);
  Report(0, 0, 2);
  EXPECT_TRUE(Ran(id2_));

  // Open again, with a key's editor open, the window goes with the program (the fixture's end
  // checks that the program ends).
  Report(0, kSwitch, 2);
  const HWND reopened = WaitForWindow(kProgrammingWindowClass, nullptr, 10000);
  ASSERT_TRUE(reopened);
  PostMessageA(reopened, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 135));
  PostMessageA(reopened, WM_LBUTTONUP, 0, MAKELPARAM(110, 135));
  EXPECT_TRUE(WaitForProcessWindow(program_.Id(), "Record/Edit Macro", 10000));
}

}  // namespace
