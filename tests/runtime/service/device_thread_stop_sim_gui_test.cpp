// Stopping the device thread while it is held in a modal wait.
#include <gtest/gtest.h>

#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

TEST_F(DeviceThread, AStopThatCannotFinishSaysSoAndKeepsTheThreadsState) {
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  RequestDevice = 99;  // unknown: the thread shows a message box and waits in it
  RequestCode = kRequestProgram;
  WakeFirstDevice();
  HWND box = WaitForProcessWindow(GetCurrentProcessId(), "Orvane II Error", 5000);
  ASSERT_NE(box, nullptr);
  const DWORD before = GetTickCount();
  EXPECT_FALSE(Stop());  // bounded: it gives up instead of hanging Exit
  EXPECT_LT(GetTickCount() - before, 15000u);
  EXPECT_TRUE(IsDeviceThreadStopping());
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([this] { return Stop(); }, 10000));
  EXPECT_EQ(DeviceCount(), 0);
}

}  // namespace
