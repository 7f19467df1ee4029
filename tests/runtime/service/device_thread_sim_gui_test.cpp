// The device service thread over simulated devices, with the sample device folders.
#include "runtime/service/device_thread.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>  // the open dialog's control ids

#include <mutex>
#include <vector>

#include "app/resource.h"
#include "runtime/device/input_dispatch.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

TEST_F(DeviceThread, BuildsItsTableFromTheAttachedDevicesInUnitIdOrder) {
  AddKeypad(3);
  AddKeypad(1, 0x10);
  Start();
  ASSERT_TRUE(WaitForListChange(1));
  ASSERT_TRUE(WaitForCount(2));
  const DeviceTableView table = GetDeviceTable();
  EXPECT_EQ(table[0]->productId, 0x10);
  EXPECT_EQ(table[0]->unitId, 1);
  EXPECT_EQ(table[1]->productId, 0x19);
  EXPECT_EQ(table[1]->unitId, 3);
  EXPECT_TRUE(table[1]->setUp);
  EXPECT_EQ(table[1]->inputLength, 9);
}

TEST_F(DeviceThread, ADeviceWithoutAFolderIsLeftOut) {
  AddKeypad(1, 0x77);
  AddKeypad(2);
  Start();
  ASSERT_TRUE(WaitForListChange(1));
  EXPECT_EQ(DeviceCount(), 1);
}

TEST_F(DeviceThread, FindsADeviceThatArrivesLater) {
  Start();
  ASSERT_TRUE(WaitForListChange(1));
  EXPECT_EQ(DeviceCount(), 0);
  AddKeypad(1);
  EXPECT_TRUE(WaitForCount(1));
}

TEST_F(DeviceThread, RemovingOneOfTwoDropsItAtOnce) {
  const int first = AddKeypad(1);
  AddKeypad(2);
  Start();
  // The table is published before the build cycle's modules are built and the list change
  // is told: the count alone does not say that the cycle is over.
  ASSERT_TRUE(WaitForListChange(1));
  ASSERT_EQ(DeviceCount(), 2);
  const DeviceRecord* second = GetDeviceTable()[1].get();
  const int changes = listChanges;
  VhxSimRemoveDevice(sim_, first);
  ASSERT_TRUE(WaitForCount(1, 2000));
  EXPECT_EQ(listChanges, changes);  // dropped without a rebuild
  EXPECT_EQ(GetDeviceTable()[0]->unitId, 2);
  // The other record stays where it was: a programming window holds it.
  EXPECT_EQ(GetDeviceTable()[0].get(), second);
  // The next device-change poll sees the removal and rebuilds.
  EXPECT_TRUE(WaitForListChange(changes + 1, 8000));
  EXPECT_EQ(DeviceCount(), 1);
}

TEST_F(DeviceThread, RemovingTheLastDeviceLeadsToARebuild) {
  const int only = AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForListChange(1));
  ASSERT_EQ(DeviceCount(), 1);
  const int changes = listChanges;
  VhxSimRemoveDevice(sim_, only);
  ASSERT_TRUE(WaitForCount(0, 2000));
  EXPECT_TRUE(WaitForListChange(changes + 1, 8000));
}

TEST_F(DeviceThread, ReadsReportsOfMoreDevicesThanOneWaitCanHold) {
  constexpr int kDevices = 33;  // 66 events
  int last = 0;
  for (int unit = 1; unit <= kDevices; ++unit) last = AddKeypad(unit);
  Start();
  ASSERT_TRUE(WaitForCount(kDevices, 30000));
  const uint8_t report[9] = {0, 0x04, 0, 0, 0, 0, 0, kDevices, 0};
  VhxSimQueueInput(sim_, last, report, 9);
  EXPECT_TRUE(WaitUntil([&] {
    const DeviceTableView table = GetDeviceTable();
    return table.size() == static_cast<std::size_t>(kDevices) && table[kDevices - 1]->previousReport.size() == 9 &&
           table[kDevices - 1]->previousReport[1] == 0x04;
  }, 5000));
}

TEST_F(DeviceThread, AProgrammingRequestForAnUnknownDeviceIsRefusedWithAMessage) {
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  RequestDevice = 99;
  RequestCode = kRequestProgram;
  WakeFirstDevice();
  HWND box = WaitForProcessWindow(GetCurrentProcessId(), "Orvane II Error", 5000);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(FindChildByText(box, "Static", "Invalid configuration for selected Qpad device."), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([] { return RequestCode == kRequestNone; }, 5000));
  EXPECT_EQ(RequestDevice, kNoRequestDevice);
}

TEST_F(DeviceThread, ARebuildRequestRebuildsAndFreesTheSlot) {
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_TRUE(WaitForListChange(1));
  const int changes = listChanges;
  RequestCode = kRequestRebuild;
  WakeFirstDevice();
  EXPECT_TRUE(WaitForListChange(changes + 1, 1000));
  EXPECT_EQ(RequestCode, kRequestNone);
  EXPECT_EQ(DeviceCount(), 1);
}

TEST_F(DeviceThread, AnOnboardRequestWaitsForItsDeviceButNotForever) {
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  RequestDevice = 77;  // a device that does not come back
  RequestCode = kRequestReadOnboard;
  PumpMessages(1500);
  EXPECT_EQ(RequestCode, kRequestReadOnboard);  // still pending
  EXPECT_TRUE(WaitUntil([] { return RequestCode == kRequestNone; }, 30000));
}

std::mutex openedLock;
bool onboardAtOpen = false;
std::vector<std::uint8_t> imageAtOpen;

// The program's dialogs, with a programming window that notes what the record held when it was
// asked for, and opens none.
class NotedOpening : public ProgramDialogs {
 public:
  using ProgramDialogs::ProgramDialogs;
  HWND OpenProgrammingWindow(DeviceRecord& d) override {
    std::lock_guard<std::mutex> hold(openedLock);
    onboardAtOpen = d.onboardMacros;
    imageAtOpen = d.memoryImage;
    return nullptr;
  }
};

TEST_F(DeviceThread, AnOnboardRequestReadsTheMemoryBeforeTheWindowOpens) {
  const int id = AddKeypad(1);
  std::vector<std::uint8_t> memory(4088);
  for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i % 251);
  ASSERT_EQ(VhxSimWriteMemory(sim_, id, 0, memory.data(), 4088), VHXSIM_OK);
  // Programming opens only over a device with a module.
  ASSERT_TRUE(WriteTextFile(dir_ / "QpadDevices\\Vid0a7cPid0019\\Script_1.oxs", kKeyPressScript));
  UseOwnHost<NotedOpening>(*platform_);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  RequestDevice = GetDeviceTable()[0]->hidHandle;
  RequestCode = kRequestReadOnboard;
  WakeFirstDevice();
  EXPECT_TRUE(WaitUntil([] { return RequestCode == kRequestNone; }, 10000));
  std::lock_guard<std::mutex> hold(openedLock);
  EXPECT_TRUE(onboardAtOpen);
  EXPECT_EQ(imageAtOpen, memory);
}

TEST_F(DeviceThread, StopsAndStartsAgain) {
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  const DWORD before = GetTickCount();
  Stop();
  EXPECT_LT(GetTickCount() - before, 1000u);  // woken, not left to its next deadline
  EXPECT_EQ(DeviceCount(), 0);
  Start();
  EXPECT_TRUE(WaitForCount(1));
}

}  // namespace

namespace {

std::string ComboItem(HWND combo, int index) {
  char text[256] = "";
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(DeviceThread, TheScriptLoaderOffersEveryDeviceAndCopiesTheChosenScript) {
  AddKeypad(1);
  AddKeypad(2, 0x10);
  Start();
  ASSERT_TRUE(WaitForCount(2));
  const std::string chosen = dir_ / "chosen.oxs";
  WriteTextFile(chosen, "void QpadInit() {}\r\n");

  RequestDevice = kNoRequestDevice;
  RequestCode = kRequestScriptLoader;
  WakeFirstDevice();
  HWND loader = WaitForProcessWindow(GetCurrentProcessId(), "Load a New Script", 10000);
  ASSERT_NE(loader, nullptr);
  HWND combo = GetDlgItem(loader, IDC_SCRIPT_DEVICE);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ComboItem(combo, 0), "Qpad 24 LED       ID:1");
  EXPECT_EQ(ComboItem(combo, 1), "Qpad 12       ID:2");
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  PostMessageA(loader, WM_COMMAND, IDOK, 0);

  HWND open = WaitForProcessWindow(GetCurrentProcessId(), "Select a Sctipt to Load...", 10000);
  ASSERT_NE(open, nullptr);
  // The file name box of the open dialog takes the path; Open copies it over the unit's script.
  HWND name = FindChildById(open, cmb13);
  if (!name) name = FindChildById(open, edt1);
  ASSERT_NE(name, nullptr);
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
  PostMessageA(open, WM_COMMAND, IDOK, 0);
  const std::string target = dir_ / "QpadDevices\\Vid0a7cPid0010\\Script_2.oxs";
  EXPECT_TRUE(WaitUntil([&] { return FileExists(target); }, 10000));
  EXPECT_EQ(ReadFileOr(target), "void QpadInit() {}\r\n");
  EXPECT_TRUE(WaitForCount(2));
}

TEST_F(DeviceThread, CancellingTheScriptLoaderChangesNothing) {
  AddKeypad(1);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  RequestDevice = kNoRequestDevice;
  RequestCode = kRequestScriptLoader;
  WakeFirstDevice();
  HWND loader = WaitForProcessWindow(GetCurrentProcessId(), "Load a New Script", 10000);
  ASSERT_NE(loader, nullptr);
  PostMessageA(loader, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(loader); }, 5000));
  EXPECT_EQ(WaitForProcessWindow(GetCurrentProcessId(), "Select a Sctipt to Load...", 500), nullptr);
  EXPECT_FALSE(FileExists(dir_ / "QpadDevices\\Vid0a7cPid0019\\Script_1.oxs"));
  EXPECT_TRUE(WaitForCount(1));
}

}  // namespace
