// A host's claims, callback and writes over the real device thread and simulated keypads.
#include "runtime/device/host_interface.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

constexpr int kVendor = 0x0A7C;
// Each case claims devices of a product id of its own: claims last as long as the process.
constexpr int kProduct = 0x1B1;


struct HostCall {
  int hostId;
  std::string report;  // hex
  int length;
  bool operator==(const HostCall&) const = default;
};
std::mutex callsMutex;
std::vector<HostCall> calls;

int __cdecl RecordCall(int hostId, unsigned char* report, int length) {
  std::string hex;
  char two[3];
  for (int i = 0; report && i < length; ++i) {
    std::snprintf(two, sizeof two, "%02x", report[i]);
    hex += two;
  }
  std::lock_guard lock(callsMutex);
  calls.push_back({hostId, hex, length});
  return 0;
}

std::vector<HostCall> Calls() {
  std::lock_guard lock(callsMutex);
  return calls;
}

class HostDevices : public DeviceThread {
 protected:
  CallbackHost host_{RecordCall};  // as a host launches the program

  void SetUp() override {
    DeviceThread::SetUp();
    {
      std::lock_guard lock(callsMutex);
      calls.clear();
    }
    UseHostProcess(host_);
  }

  // Keypads of the product with units 1 and 2 and the script, built and bound.
  void StartTwoKeypads(int productId) {
    ASSERT_TRUE(CloneDeviceType(dir_, 0x19, productId));
    char folder[64];
    std::snprintf(folder, sizeof folder, "QpadDevices\\Vid0a7cPid%04x", productId);
    for (const char* script : {"\\Script_1.oxs", "\\Script_2.oxs"})
      ASSERT_TRUE(WriteTextFile(dir_ / (folder + std::string(script)), kKeyPressScript));
    first_ = AddKeypad(1, productId);
    second_ = AddKeypad(2, productId);
    Start();
    ASSERT_TRUE(WaitForCount(2));
    // The host hears of the list after the builds.
    ASSERT_TRUE(WaitUntil([] { return !Calls().empty(); }, 10000));
    EXPECT_EQ(Calls().front(), (HostCall{-1, "", -1}));
  }

  void PressAndRelease(int id) {
    const uint8_t down[9] = {0, 1, 0, 0, 0, 0, 0, 0, 0};
    const uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }

  int first_ = 0;
  int second_ = 0;
};

TEST_F(HostDevices, TheClaimedKeypadReportsToTheHostTheOtherToItsScript) {
  AddHostDeviceClaim(7, kVendor, kProduct, 2);
  StartTwoKeypads(kProduct);
  PressAndRelease(second_);
  PressAndRelease(first_);

  std::vector<std::string> firstOutputs;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& o : TakeOutputs(sim_, first_)) firstOutputs.push_back(o);
    return !firstOutputs.empty() && Calls().size() >= 3;
  }, 10000));
  EXPECT_EQ(firstOutputs, std::vector<std::string>{kKeyPressScriptRan});
  const std::vector<HostCall> expected = {
      {-1, "", -1}, {7, "000100000000000000", 9}, {7, "000000000000000000", 9}};
  EXPECT_EQ(Calls(), expected);
  EXPECT_TRUE(TakeOutputs(sim_, second_).empty());  // its script did not run
}

TEST_F(HostDevices, WritesGoToTheClaimedDeviceOnlyWithItsOutputLength) {
  AddHostDeviceClaim(17, kVendor, kProduct + 1, 2);
  StartTwoKeypads(kProduct + 1);
  TakeOutputs(sim_, first_);
  TakeOutputs(sim_, second_);
  unsigned char report[9] = {2, 0xC1, 0x5A, 0, 0, 0, 0, 0, 0};

  EXPECT_EQ(WriteToHostDevice(17, report, 8), -9);
  EXPECT_EQ(WriteToHostDevice(99, report, 9), kNoHostDevice);  // no such claim
  EXPECT_EQ(WriteToHostDevice(17, report, 9), 0);
  EXPECT_EQ(TakeOutputs(sim_, second_), std::vector<std::string>{"02c15a000000000000"});
  EXPECT_TRUE(TakeOutputs(sim_, first_).empty());

  // A second claim on the second keypad finds it held and none after it; one on the first
  // takes the first.
  AddHostDeviceClaim(18, kVendor, kProduct + 1, 2);
  AddHostDeviceClaim(19, kVendor, kProduct + 1, 1);
  EXPECT_EQ(WriteToHostDevice(18, report, 9), kNoHostDevice);
  EXPECT_EQ(WriteToHostDevice(19, report, 9), 0);
  EXPECT_EQ(TakeOutputs(sim_, first_), std::vector<std::string>{"02c15a000000000000"});

  // A claim whose device has gone writes nowhere.
  VhxSimRemoveDevice(sim_, second_);
  ASSERT_TRUE(WaitForCount(1, 2000));
  EXPECT_EQ(WriteToHostDevice(17, report, 9), kNoHostDevice);
}

}  // namespace
