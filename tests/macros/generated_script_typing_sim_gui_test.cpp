// A layout written by the macro model for a simulated keypad is built by the running program,
// and its keys type their macros into a window of this test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/device_macro_device.h"
#include "macros/macro_platform.h"
#include "macros/model/script_writer.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/macros/model/golden_layouts.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

class GeneratedScript : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallMacroPlatform();
    const std::string bin = EnvOr("ORVANE_BIN");
    ASSERT_TRUE(CopyFileA((bin + "\\Orvane.exe").c_str(), (dir_ / "Orvane.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "\\VHXHID.dll").c_str(), (dir_ / "VHXHID.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyTree(bin + "\\QpadDevices", dir_ / "QpadDevices"));
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    VhxSimReset(sim_);
  }
  void TearDown() override {
    if (HWND main = FindWindowA("OrvaneII_Class", nullptr)) PostMessageA(main, WM_COMMAND, 32851, 0);
    EXPECT_TRUE(program_.Wait(15000));
    VhxSimReset(sim_);
    VhxSimClose(sim_);
    FreeDeviceFolders();
  }

  void Press(int id, int byte, int bit) {
    std::uint8_t down[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    down[byte] = static_cast<std::uint8_t>(1 << bit);
    const std::uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }

  ScratchDir dir_{"generated"};
  VhxSim* sim_ = nullptr;
  ChildProcess program_;
};

TEST_F(GeneratedScript, TheKeysOfAWrittenLayoutTypeTheirMacros) {
  // The plain keypad types through input injection.
  DeviceRecord record;
  record.folder = FindDeviceFolder(kVendorId, 0x10, 0);
  ASSERT_NE(record.folder, nullptr);
  record.unitId = 1;
  DeviceRecordMacroDevice device(record);
  MacroContext c;
  c.device = &device;
  Program(c, 0, "KeyDown", "Green", "Pnr", {{L"/Hi from a layout", L""}});
  Program(c, 1, "KeyDown", "Green", "Pnr", {{L"<Return>", L""}});
  Program(c, 16, "KeyDown", "Green", "Pnr", {{L"/Caf\u00e9 ", L""}, {L"{Shift+q}", L""}});
  const std::string script = dir_ / "QpadDevices\\Vid0a7cPid0010\\Script_1.oxs";
  ASSERT_TRUE(WriteScriptFile(c, script));

  HWND window = CreateWindowExA(0, "#32770", "Typing Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                420, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 5, 5,
                              400, 150, window, nullptr, nullptr, nullptr);
  const int id = AddSimKeypad(sim_, 1, 0x10);
  ASSERT_TRUE(program_.Start("\"" + dir_.path() + "\\Orvane.exe\"", dir_.path()));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(dir_ / "QpadDevices\\Vid0a7cPid0010\\Script_1_backup.oxs"); },
                        20000))
      << "the generated script did not build";
  SetForegroundWindow(window);
  SetFocus(edit);
  PumpMessages(200);

  Press(id, 1, 0);  // key 0
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hi from a layout"; }, 5000)) << WindowText(edit);
  Press(id, 1, 1);  // key 1
  Press(id, 2, 0);  // key 16: the second key byte
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == "Hi from a layout\r\nCaf\xe9 Q"; }, 5000))
      << WindowText(edit);
  DestroyWindow(window);
}

}  // namespace
