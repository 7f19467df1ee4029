// Unit ids and the first report of attached devices, through the real device thread.
#include "runtime/device/device_identification.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/registry_values.h"
#include "tests/runtime/service/device_thread_fixture.h"

using namespace testsupport;

namespace {

constexpr int kPid = 0x45;  // this test's own device type
constexpr char kCounter[] = "Pid045";

class UnitIds : public DeviceThread {
 protected:
  void SetUp() override {
    DeviceThread::SetUp();
    ASSERT_TRUE(CloneDeviceType(dir_, 0x19, kPid));
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOrvaneRegistryKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, kCounter);
      RegCloseKey(key);
    }
  }
  std::optional<std::uint32_t> Counter() { return ReadMachineDword(kOrvaneRegistryKey, kCounter); }
};

TEST_F(UnitIds, TheFirstDeviceWithoutAnIdGetsOneAndTheCounterMovesOn) {
  const int id = AddKeypad(0, kPid);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_EQ(GetDeviceTable()[0]->unitId, 1);
  EXPECT_EQ(Counter(), 2u);
  const auto outputs = TakeOutputs(sim_, id);
  ASSERT_FALSE(outputs.empty());
  EXPECT_EQ(outputs[0], "02c201000000000000");  // setID with the new id
}

TEST_F(UnitIds, ACounterAt254HandsOut254AndWraps) {
  WriteMachineDword(kOrvaneRegistryKey, kCounter, 254);
  AddKeypad(255, kPid);
  Start();
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_EQ(GetDeviceTable()[0]->unitId, 254);
  EXPECT_EQ(Counter(), 1u);
}

TEST_F(UnitIds, ADuplicateGetsANewIdAndTheUserIsTold) {
  AddKeypad(3, kPid);
  AddKeypad(3, kPid);
  Start();
  HWND box = WaitForProcessWindow(GetCurrentProcessId(), "Duplicate Unit ID Error", 15000);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitForCount(2));
  const DeviceTableView table = GetDeviceTable();
  EXPECT_EQ(table[0]->unitId, 3);
  EXPECT_EQ(table[1]->unitId, 1);
  EXPECT_EQ(WaitForProcessWindow(GetCurrentProcessId(), "Duplicate Unit ID Error", 300), nullptr);
}

// A plain device that sends nothing until a key is pressed.
int AddSilentKeypad(VhxSim* sim) {
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.productId = kPid;
  spec.inputLength = 9;
  spec.outputLength = 9;
  return VhxSimAddDevice(sim, &spec);
}

TEST_F(UnitIds, WithoutAFirstReportTheLedsBlinkUntilAKeyIsPressed) {
  const int id = AddSilentKeypad(sim_);
  Start();
  HWND ask = WaitForProcessWindow(GetCurrentProcessId(), "Orvane II", 15000);
  ASSERT_NE(ask, nullptr);
  EXPECT_NE(FindChildByText(ask, "Static", "Press any key on the Qpad device with the blinking LEDs."),
            nullptr);
  PumpMessages(1200);
  const auto blinks = TakeOutputs(sim_, id);
  ASSERT_GE(blinks.size(), 2u);
  EXPECT_EQ(blinks[0], "02c100000000000000");
  EXPECT_EQ(blinks[1], "02c1c0000000000000");

  const uint8_t key[9] = {0, 0x01, 0, 0, 0, 0, 0, 7, 0};
  VhxSimQueueInput(sim_, id, key, 9);
  ASSERT_TRUE(WaitForCount(1));
  EXPECT_EQ(GetDeviceTable()[0]->unitId, 7);
  EXPECT_FALSE(IsWindow(ask));
  std::vector<std::string> after;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& o : TakeOutputs(sim_, id)) after.push_back(o);
    return std::find(after.begin(), after.end(), "02c180000000000000") != after.end();
  }, 5000));
}

TEST_F(UnitIds, ADeviceRemovedWhileAskedForAKeyIsDropped) {
  const int id = AddSilentKeypad(sim_);
  Start();
  HWND ask = WaitForProcessWindow(GetCurrentProcessId(), "Orvane II", 15000);
  ASSERT_NE(ask, nullptr);
  VhxSimRemoveDevice(sim_, id);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(ask); }, 5000));
  EXPECT_TRUE(WaitForListChange(1));
  EXPECT_EQ(DeviceCount(), 0);
}

}  // namespace

namespace {

TEST_F(UnitIds, EqualIdsOfOtherProductsAreNoDuplicates) {
  ASSERT_TRUE(CloneDeviceType(dir_, 0x19, 0x01));
  ASSERT_TRUE(CloneDeviceType(dir_, 0x19, 0x12));
  const struct {
    const char* what;
    int pidA, unitA, pidB, unitB;
  } cases[] = {
      {"the same id on two products", kPid, 3, 0x19, 3},
      {"ids whose hex texts run together alike", 0x01, 0x23, 0x12, 0x03},  // "1" "23", "12" "3"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    VhxSimReset(sim_);
    AddKeypad(c.unitA, c.pidA);
    AddKeypad(c.unitB, c.pidB);
    Start();
    ASSERT_TRUE(WaitForCount(2));
    EXPECT_EQ(WaitForProcessWindow(GetCurrentProcessId(), "Duplicate Unit ID Error", 500), nullptr);
    const DeviceTableView table = GetDeviceTable();
    EXPECT_EQ(std::minmax(table[0]->unitId, table[1]->unitId), std::minmax(c.unitA, c.unitB));
    EXPECT_TRUE(Stop());
  }
}

}  // namespace
