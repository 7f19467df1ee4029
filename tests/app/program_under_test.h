#pragma once
// The real Orvane.exe run from a program folder of the test's own, with the sample device
// types and a simulation of the test's own (VHXHID_SIM, which the program inherits). Ended
// through its Exit command at the end of each test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/vhxhid/vhxsim_control.h"
#include "app/main_window.h"
#include "app/resource.h"
#include "app/tray_menu.h"
#include "runtime/device/program_messages.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

namespace testsupport {

class ProgramUnderTest : public ::testing::Test {
 protected:
  explicit ProgramUnderTest(const char* folderName = "program") : dir_(folderName) {}

  void SetUp() override {
    const std::string bin = EnvOr("ORVANE_BIN");
    ASSERT_TRUE(CopyFileA((bin + "\\Orvane.exe").c_str(), (dir_ / "Orvane.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "\\VHXHID.dll").c_str(), (dir_ / "VHXHID.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyTree(bin + "\\QpadDevices", dir_ / "QpadDevices"));
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    VhxSimReset(sim_);
  }
  void TearDown() override {
    StopProgram();
    VhxSimReset(sim_);
    VhxSimClose(sim_);
  }

  bool StartProgram() { return program_.Start("\"" + dir_.path() + "\\Orvane.exe\"", dir_.path()); }
  void StopProgram() {
    if (HWND main = FindWindowA(kMainWindowClass, nullptr)) PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(program_.Wait(15000));
  }

  // The tray menu's device item (by index, last enumerated first from the top) chosen as the
  // user does: the menu made and shown at the tray icon's click, then left, and the item's
  // command given.
  bool ChooseTrayDevice(int index) {
    const HWND main = FindWindowA(kMainWindowClass, nullptr);
    if (!main) return false;
    PostMessageA(main, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    const auto menuUp = [&] { return FindProcessWindowOfClass(program_.Id(), "#32768") != nullptr; };
    if (!WaitUntil(menuUp, 10000)) return false;
    PostMessageA(main, WM_CANCELMODE, 0, 0);  // the menu's loop ends on it
    if (!WaitUntil([&] { return !menuUp(); }, 10000)) return false;
    return PostMessageA(main, WM_COMMAND, kTrayFirstDeviceId + index, 0) != 0;
  }

  ScratchDir dir_;
  VhxSim* sim_ = nullptr;
  ChildProcess program_;
};

}  // namespace testsupport
