// The program's hooks on the device thread's life, with the real thread and a simulated keypad.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/model/key_display_names.h"
#include "app/main_window.h"
#include "app/program_features.h"
#include "app/program_service_host.h"
#include "runtime/device/device_table.h"
#include "tests/runtime/service/device_thread_fixture.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

TEST_F(DeviceThread, TheKeyNamesAProgrammingWindowBuiltGoWhenTheThreadEnds) {
  SetProgramMacroDefaults();
  static ProgramFeatures features;  // the thread may outlive the test's body
  UseOwnHost<ProgramServiceHost>(*platform_, features);
  ClearKeyDisplayNames();
  AddKeypad(1);
  // A device is programmed once it has a module.
  const std::string script = dir_.path() + "\\QpadDevices\\Vid0a7cPid0019\\Script_1.oxs";
  ASSERT_TRUE(WriteTextFile(script, "void KeyDown(int c) {}\r\nvoid KeyUp(int c) {}\r\n"));
  Start();
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(script.substr(0, script.size() - 4) + "_backup.oxs"); }, 10000));

  RequestDevice = GetDeviceTable()[0]->hidHandle;
  RequestCode = kRequestProgram;
  WakeFirstDevice();
  ASSERT_TRUE(WaitUntil([] { return FindOwnWindow(kProgrammingWindowClass) != nullptr; }, 15000));
  EXPECT_TRUE(KeyDisplayNamesBuilt());  // by the window, on the device thread

  ASSERT_TRUE(Stop());  // its windows close first
  EXPECT_EQ(FindOwnWindow(kProgrammingWindowClass), nullptr);
  EXPECT_FALSE(KeyDisplayNamesBuilt());
}

}  // namespace
