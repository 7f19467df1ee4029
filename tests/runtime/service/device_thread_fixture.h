#pragma once
// The real device thread over simulated devices, with the sample device folders copied into a
// program folder of the test's own. The service's host is the program's dialogs and its platform
// the real one, unless the test gives others before Start.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "app/dialogs/program_dialogs.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/program_messages.h"
#include "runtime/service/device_thread.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

namespace testsupport {

inline std::atomic<int> listChanges{0};

inline LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kDeviceListChangedMessage) ++listChanges;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

inline int DeviceCount() {
  return static_cast<int>(GetDeviceTable().size());
}

class DeviceThread : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyTree(EnvOr("ORVANE_BIN") + "\\QpadDevices", dir_ / "QpadDevices"));
    InitProgramFolders("\"" + dir_.path() + "\\Orvane.exe\"");
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    VhxSimReset(sim_);
    WNDCLASSA wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DeviceThreadTestMain";
    RegisterClassA(&wc);
    main_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    listChanges = 0;
    RequestCode = kRequestNone;
    RequestDevice = kNoRequestDevice;
  }

  void TearDown() override {
    Stop();
    EXPECT_EQ(DeviceCount(), 0);
    VhxSimReset(sim_);
    VhxSimClose(sim_);
    DestroyWindow(main_);
  }

  int AddKeypad(int unitId, int productId = 0x19) { return AddSimKeypad(sim_, unitId, productId); }

  // As the GUI does after writing the request slot.
  void WakeFirstDevice() {
    const DeviceTableView table = GetDeviceTable();
    if (!table.empty()) WakeDeviceThread(*table[0]);
  }

  void Start() {
    if (!host_) host_ = &dialogs_.emplace(*platform_);
    service_.emplace(*host_, *platform_, *hostProcess_);
    ASSERT_TRUE(service_->Start(main_, true));
  }
  // As the program ends: false while the thread is stuck in a modal wait.
  bool Stop() { return !service_ || service_->Stop(); }
  // What the service is made with at Start.
  void UseHost(DeviceServiceHost& host) { host_ = &host; }
  // A host of the test's own kind, made with the arguments and kept as long as the service.
  template <class Host, class... Args>
  Host& UseOwnHost(Args&&... args) {
    auto host = std::make_unique<Host>(std::forward<Args>(args)...);
    Host& made = *host;
    ownHost_ = std::move(host);
    host_ = &made;
    return made;
  }
  void UsePlatform(SystemCalls& calls) { platform_ = &calls; }
  void UseHostProcess(HostProcess& host) { hostProcess_ = &host; }

  bool WaitForCount(int n, unsigned ms = 10000) {
    return WaitUntil([&] { return DeviceCount() == n; }, ms);
  }
  bool WaitForListChange(int atLeast, unsigned ms = 10000) {
    return WaitUntil([&] { return listChanges >= atLeast; }, ms);
  }

  ScratchDir dir_{"devthread"};
  SystemCalls realPlatform_;
  SystemCalls* platform_ = &realPlatform_;
  std::optional<ProgramDialogs> dialogs_;  // the host when the test gives none
  std::unique_ptr<DeviceServiceHost> ownHost_;
  DeviceServiceHost* host_ = nullptr;
  HostProcess* hostProcess_ = &NoHostProcess();
  std::optional<DeviceService> service_;
  VhxSim* sim_ = nullptr;
  HWND main_ = nullptr;
};

}  // namespace testsupport

namespace testsupport {

// Every output report the device got since the last call, as lower-case hex lines.
inline std::vector<std::string> TakeOutputs(VhxSim* sim, int id) {
  std::vector<std::string> lines;
  std::uint8_t buf[128];
  int n;
  while ((n = VhxSimTakeOutput(sim, id, buf, sizeof buf)) > 0) {
    std::string hex;
    char two[3];
    for (int i = 0; i < n; ++i) {
      std::snprintf(two, sizeof two, "%02x", buf[i]);
      hex += two;
    }
    lines.push_back(hex);
  }
  return lines;
}

// A device type folder of the test's own, made from a sample one with another product id, so
// that registry counters and scripts of one test do not meet another's.
inline bool CloneDeviceType(const ScratchDir& dir, int fromPid, int toPid) {
  char from[64], to[64];
  std::snprintf(from, sizeof from, "QpadDevices\\Vid0a7cPid%04x", fromPid);
  std::snprintf(to, sizeof to, "QpadDevices\\Vid0a7cPid%04x", toPid);
  return CopyTree(dir / from, dir / to);
}

}  // namespace testsupport
