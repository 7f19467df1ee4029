// The whole road of a key press in the real Orvane.exe: a simulated keypad reports a key, the
// device's script runs KeyDown, and its SendString calls type into a window of this test, or
// become the keypad's own keyboard reports.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/resource.h"
#include "tests/app/program_under_test.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

constexpr char kMacros[] =
    "void QpadInit() {}\r\n"
    "void KeyDown(int scanCode) {\r\n"
    "  if (scanCode == 0) SendString(\"/Hi there\");\r\n"
    "  else if (scanCode == 1) SendString(\"<Return>\");\r\n"
    "  else if (scanCode == 2) SendString(\"{Shift+q}\");\r\n"
    "  else if (scanCode == 17) SendString(\"{Ctrl+c}\");\r\n"
    "}\r\n"
    "void KeyUp(int scanCode) {}\r\n";

class KeyPress : public ProgramUnderTest {
 protected:
  KeyPress() : ProgramUnderTest("keypress") {}

  // Starts the program with a keypad of the type whose unit-1 script holds kMacros, and waits
  // until that script has built (its backup is written after a good build).
  int StartWith(int productId) {
    char folder[64];
    std::snprintf(folder, sizeof folder, "QpadDevices\\Vid0a7cPid%04x", productId);
    WriteTextFile(dir_ / (std::string(folder) + "\\Script_1.oxs"), kMacros);
    const int id = AddSimKeypad(sim_, 1, productId);
    EXPECT_TRUE(StartProgram());
    EXPECT_TRUE(WaitUntil([&] { return FileExists(dir_ / (std::string(folder) + "\\Script_1_backup.oxs")); },
                          20000));
    return id;
  }

  void Press(int id, int key) {
    const uint8_t down[9] = {0, static_cast<uint8_t>(1 << key), 0, 0, 0, 0, 0, 1, 0};
    const uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }
  void PressSecondByte(int id, int bit) {
    const uint8_t down[9] = {0, 0, static_cast<uint8_t>(1 << bit), 0, 0, 0, 0, 1, 0};
    const uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }

};

TEST_F(KeyPress, TypesTextKeysAndCombinationsIntoTheWindowInFront) {
  HWND window = CreateWindowExA(0, "#32770", "Typing Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                420, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN,
                              5, 5, 400, 150, window, nullptr, nullptr, nullptr);
  const int id = StartWith(0x10);  // the plain keypad: no keyboard report, so input injection
  SetForegroundWindow(window);
  SetFocus(edit);
  PumpMessages(200);

  Press(id, 0);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hi there"; }, 5000)) << WindowText(edit);
  Press(id, 1);
  Press(id, 2);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hi there\r\nQ"; }, 5000)) << WindowText(edit);
  SaveWindowPng(window, EnvOr("TEMP", ".") + "\\keypress_typing.png");  // for a look by eye
  // No modifier is left down behind the combination.
  EXPECT_EQ(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
  DestroyWindow(window);
}

TEST_F(KeyPress, AKeypadWithItsOwnKeyboardReportGetsTheReports) {
  const int id = StartWith(0x19);  // the LED keypad types through its keyboard report
  TakeOutputs(sim_, id);
  PressSecondByte(id, 1);  // key code 17: the second key byte (16 codes a byte), bit 1
  std::vector<std::string> reports;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& o : TakeOutputs(sim_, id))
      if (o.rfind("02c5", 0) == 0) reports.push_back(o);
    return reports.size() >= 4;
  }, 5000));
  EXPECT_EQ(reports, (std::vector<std::string>{"02c501000000000000", "02c501060000000000",
                                               "02c501000000000000", "02c500000000000000"}));
}

}  // namespace
