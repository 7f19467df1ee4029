#pragma once
// The real Orvane.exe in a program folder of the test's own, with the sample device types and
// simulated keypads; a window of the test to type into.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "macros/device_macro_device.h"
#include "tests/macros/program_macro_platform.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_writer.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_folders.h"
#include "tests/app/program_under_test.h"
#include "tests/runtime/service/device_thread_fixture.h"

namespace testsupport {

// With the test's own side of the program's folders, so that layouts can be written for it.
class RunningProgram : public ProgramUnderTest {
 protected:
  void SetUp() override {
    UseProgramMacroPlatform();
    ProgramUnderTest::SetUp();
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
  }
  void TearDown() override {
    ProgramUnderTest::TearDown();
    DestroyWindow(window_);
    FreeDeviceFolders();
  }
  // "QpadDevices\Vid0a7cPid00xx\<name>" of the program folder.
  std::string TypeFile(int productId, const std::string& name) const {
    char type[40];
    std::snprintf(type, sizeof type, "QpadDevices\\Vid0a7cPid%04x\\", productId);
    return dir_ / (type + name);
  }
  // Writes the unit's script of the device type from a layout that `make` programs.
  template <typename Make>
  bool WriteLayout(int productId, int unitId, Make make) {
    DeviceRecord record;
    record.folder = FindDeviceFolder(kVendorId, productId, 0);
    record.unitId = unitId;
    if (!record.folder) return false;
    DeviceRecordMacroDevice device(record);
    MacroContext c;
    c.device = &device;
    make(c);
    return WriteScriptFile(c, TypeFile(productId, "Script_" + std::to_string(unitId) + ".oxs"));
  }
  // A key of the keypad's report: byte 1 holds codes 0-7, byte 2 codes 16-23.
  void Press(int id, int byte, int bit) {
    std::uint8_t down[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    down[byte] = static_cast<std::uint8_t>(1 << bit);
    const std::uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }
  // A whole report of the LED keypad: key byte 1, the programming switch in byte 4.
  void KeypadReport(int id, std::uint8_t keys, std::uint8_t switchByte) {
    const std::uint8_t report[9] = {0, keys, 0, 0, switchByte, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id, report, 9);
  }
  // A click on a point of a window's client area: moved onto, pressed and released.
  static void Click(HWND window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, where);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
  }
  // An edit control in front, with the keyboard focus.
  HWND TypingTarget() {
    window_ = CreateWindowExA(0, "#32770", "Typing Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 420, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 5, 5, 400,
                                150, window_, nullptr, nullptr, nullptr);
    SetForegroundWindow(window_);
    SetFocus(edit);
    PumpMessages(200);
    return edit;
  }

  HWND window_ = nullptr;
};

}  // namespace testsupport
