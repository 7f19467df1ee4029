// Output reports of a device record, checked byte for byte on a simulated keypad.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device/device_record.h"
#include "tests/runtime/device/sim_device.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;

int locks = 0, unlocks = 0;
std::map<std::string, std::uint8_t> globals;

// A lock that counts, and script globals by name.
class CountedServices : public DeviceRecordServices {
 public:
  void LockScriptEngine() override { ++locks; }
  bool UnlockScriptEngine() override { return ++unlocks <= locks; }
  void* FindModuleGlobal(DeviceRecord&, const std::string& name) override {
    auto it = globals.find(name);
    return it == globals.end() ? nullptr : &it->second;
  }
};

class SimKeypad : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDeviceFolders();
    InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    spec.productId = 0x19;
    spec.outputLength = 12;
    ASSERT_NO_FATAL_FAILURE(AttachSimulatedDevice(spec, sim_, id_, d_, services_));
    locks = unlocks = 0;
    globals = {{"QpadLEDs", 0x40}, {"QpadUnitId", 5}};
  }
  void TearDown() override {
    DestroyDeviceRecord(d_);
    FreeDeviceFolders();
    if (sim_) VhxSimClose(sim_);
  }
  std::vector<Bytes> Outputs() { return TakeSimulatedOutputs(sim_, id_); }
  static Bytes Report(Bytes head) {
    head.resize(12, 0);
    return head;
  }

  CountedServices services_;
  VhxSim* sim_ = nullptr;
  int id_ = 0;
  DeviceRecord d_;
};

TEST_F(SimKeypad, NamedReportsAreFilledFromGlobalsAndWritten) {
  ASSERT_TRUE(WriteOutputReport("setLEDs", d_));
  globals["QpadLEDs"] = 0x80;
  ASSERT_TRUE(WriteOutputReport("setBacklightsOn", d_));
  globals["QpadLEDs"] = 0xE0;
  ASSERT_TRUE(WriteOutputReport("setBacklightsOff", d_));
  globals["QpadUnitId"] = 0;  // below the field's low bound
  ASSERT_TRUE(WriteOutputReport("setID", d_));
  globals["QpadUnitId"] = 255;  // above its high bound
  ASSERT_TRUE(WriteOutputReport("setID", d_));
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({2, 0xC1, 0x40}), Report({2, 0xC1, 0xA0}),
                                           Report({2, 0xC1, 0xC0}), Report({2, 0xC2, 1}),
                                           Report({2, 0xC2, 254})}));
  EXPECT_EQ(locks, 5);
  EXPECT_EQ(unlocks, 5);
}

TEST_F(SimKeypad, CallerBytesReplaceTheGlobals) {
  const std::uint8_t id[] = {7};
  ASSERT_TRUE(WriteOutputReport("setID", d_, id, 1));
  // Fewer bytes than fields: the rest read as 0, clamped by their bounds.
  ASSERT_TRUE(WriteOutputReport("setID", d_, id, 0));
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({2, 0xC2, 7}), Report({2, 0xC2, 1})}));
}

TEST_F(SimKeypad, NothingIsWrittenWhenTheFillFails) {
  globals.erase("QpadLEDs");
  EXPECT_FALSE(WriteOutputReport("setLEDs", d_));
  EXPECT_FALSE(WriteOutputReport("noSuchReport", d_));
  EXPECT_TRUE(Outputs().empty());
  EXPECT_EQ(locks, 0);
}

TEST_F(SimKeypad, AFailingWriteIsRetriedAndNotReported) {
  ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 1), VHXSIM_OK);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(WriteOutputReport("setLEDs", d_));
  EXPECT_GE(GetTickCount() - start, 40u);  // five pauses of 10 ms
  EXPECT_EQ(locks, 1);
  EXPECT_EQ(unlocks, 1);
  ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 0), VHXSIM_OK);
  EXPECT_TRUE(Outputs().empty());
}

TEST_F(SimKeypad, KeyboardReportsFillTheWholeOutputReport) {
  const std::uint8_t keys[6] = {0x02, 0x04, 0x05, 0, 0, 0};
  EXPECT_TRUE(SendKeyboardReportBytes(d_, keys));
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{Report({kOutputReportId, kKeyboardReportCommand, 0x02, 0x04, 0x05, 0, 0, 0})}));
}

}  // namespace
