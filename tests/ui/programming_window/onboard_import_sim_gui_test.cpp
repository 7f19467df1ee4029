// The tray's on-board request through the program's own hooks: the device thread reads the
// keypad's memory, opens its programming window, and the macros found there become the layout
// and the unit's script.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "macros/model/onboard_image.h"
#include "runtime/app/main_window.h"
#include "runtime/device/device_table.h"
#include "tests/runtime/service/device_thread_fixture.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

TEST_F(DeviceThread, OnboardMacrosReadFromTheKeypadBecomeItsLayout) {
  InstallProgramHooks();
  const int id = AddKeypad(1);
  // Key 1 types "a" on the green layer.
  DeviceMacroSet set;
  set.highestKey = 2;
  set.Resize(MacroTableSize(2));
  *set.Slot(kKeyDownGreen, 1) = {0x04, 0xE8, 0x04, 0};
  std::vector<std::uint8_t> image;
  int used = 0;
  ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);
  ASSERT_EQ(VhxSimWriteMemory(sim_, id, 0, image.data(), kMemoryImageSize), VHXSIM_OK);
  // A device is programmed once it has a module.
  const std::string script = dir_.path() + "\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs";
  ASSERT_TRUE(WriteTextFile(script, "void KeyDown(int c) {}\r\nvoid KeyUp(int c) {}\r\n"));
  Start();
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(script.substr(0, script.size() - 4) + "_backup.oxs"); }, 10000));

  int count = 0;
  RequestDevice = GetDeviceArray(count)[0].hidHandle;
  RequestCode = kRequestReadOnboard;
  WakeFirstDevice();
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindOwnWindow(kProgrammingWindowClass)) != nullptr; }, 15000);
  ASSERT_TRUE(window);
  EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(script).find("KeyDown_1_Green_Pnr") != std::string::npos; }, 10000))
      << ReadFileOr(script);
  EXPECT_TRUE(GetDeviceArray(count)[0].onboardMacros);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
}

}  // namespace
