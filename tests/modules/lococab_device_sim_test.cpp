// The cab controller's script binds Lococab.dll through its sample type's "module" section and
// runs on the real device thread; a simulator in another process reads what the levers of the
// simulated reports publish, before and after the builds that unload the library and load it
// again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/modules/lococab/peer_session.h"
#include "tests/modules/module_device_fixture.h"

using namespace modulestest;
using namespace testsupport;

namespace {

constexpr int kCabController = 0xD2;
constexpr ReportShape kCabReport{16, 15};

// Publishes every lever at each period and answers the simulator's request for the throttle
// with its value plus the request's type.
constexpr char kCabScript[] =
    "void QpadInit() { SetLococabConnected(1); record(\"init\"); }\r\n"
    "void LeverInput(uint8 reverser, uint8 throttle, uint8 automaticBrake,\r\n"
    "                uint8 independentBrake, uint8 bailOff) {\r\n"
    "  SetVeltrakValue(0, reverser);\r\n"
    "  SetVeltrakValue(1, throttle);\r\n"
    "  SetVeltrakValue(2, automaticBrake);\r\n"
    "  SetVeltrakValue(3, independentBrake);\r\n"
    "  SetVeltrakValue(4, bailOff);\r\n"
    "  if (GetLococabGetId() == 1) SetLococabValue(1, float(throttle) + GetLococabGetType());\r\n"
    "}\r\n"
    "void RotaryInput(uint8 switch1, uint8 switch2) {}\r\n"
    "void ButtonDown(uint8 code) {}\r\n"
    "void ButtonUp(uint8 code) {}\r\n";

class LococabDevice : public ModuleDevice {
 protected:
  void SetUp() override {
    ModuleDevice::SetUp();
    // Only the device records hold the library in this process: at a build cycle it goes.
    atTeardown = [] {
      if (GetModuleHandleA("Lococab.dll")) libraryStayed = true;
    };
    libraryStayed = false;
    ASSERT_TRUE(peer_.Start(EnvOr("ORVANE_BIN") + "\\lococab_peer.exe"));
    ASSERT_EQ(peer_.Ask("SetVeltrakConnected:1"), "");
    peer_.Ask("GetVeltrakLocoChanged");  // lowered: the script's connect raises it
  }
  void TearDown() override {
    ModuleDevice::TearDown();
    peer_.Stop();
  }

  // The simulator's request for the throttle, answered by the script at its next period; a
  // request that timed out stays pending and is answered later, so it is asked again.
  std::string RequestThrottle(int type) {
    std::string answer;
    for (int i = 0; i < 20; ++i) {
      answer = peer_.Ask("GetVeltrakValue:1:" + std::to_string(type));
      if (answer != "0") break;
    }
    return answer;
  }

  static inline std::atomic<bool> libraryStayed{false};
  lococabtest::PeerSession peer_;
};

TEST_F(LococabDevice, LeverValuesReachTheSimulatorBeforeAndAfterRebuilds) {
  ASSERT_EQ(GetModuleHandleA("Lococab.dll"), nullptr);  // the test itself never loads it
  ASSERT_TRUE(CopyDeviceType(EnvOr("ORVANE_BIN") + "\\QpadDevices\\" + TypeFolderName(kCabController),
                          kCabController, kCabScript));
  ASSERT_NO_FATAL_FAILURE(AddDevice(kCabController, kCabReport, VHXSIM_MODEL_SCRIPTED_REPLIES));
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_NE(GetModuleHandleA("Lococab.dll"), nullptr);
  EXPECT_EQ(peer_.Ask("AwaitLocoChanged:5000"), "changed");
  EXPECT_EQ(peer_.Ask("GetLococabConnected"), "1");

  Send({1, 77, 30, 40, 5});
  EXPECT_EQ(peer_.Ask("AwaitValue:1:77:5000"), "seen");
  EXPECT_EQ(peer_.Ask("AwaitValue:3:40:5000"), "seen");
  EXPECT_EQ(RequestThrottle(1000), "1077");

  // The build cycle: the library goes with the records and is loaded anew; the simulator's
  // copy keeps the block meanwhile.
  ASSERT_NO_FATAL_FAILURE(RunBuildCycle());
  EXPECT_FALSE(libraryStayed);
  EXPECT_NE(GetModuleHandleA("Lococab.dll"), nullptr);
  EXPECT_EQ(peer_.Ask("AwaitLocoChanged:5000"), "changed");  // the new module's QpadInit
  Send({2, 140, 31, 41, 6});
  EXPECT_EQ(peer_.Ask("AwaitValue:1:140:5000"), "seen");
  EXPECT_EQ(peer_.Ask("AwaitValue:4:6:5000"), "seen");
  EXPECT_EQ(RequestThrottle(2000), "2140");

  // A script reload keeps the library and its registered exports; the saved script also tells
  // the simulator that throttle and brake are combined.
  std::string edited = kCabScript;
  edited.replace(edited.find("SetLococabConnected(1);"), 23,
                 "SetLococabConnected(1); SetLococabLocoChanged(1);");
  ASSERT_NO_FATAL_FAILURE(ReloadScript(edited));
  EXPECT_EQ(peer_.Ask("AwaitLocoChanged:5000"), "changed");
  EXPECT_EQ(peer_.Ask("GetVeltrakCombinedThrottleBrake"), "1");
  Send({0, 201, 32, 42, 7});
  EXPECT_EQ(peer_.Ask("AwaitValue:1:201:5000"), "seen");
  EXPECT_EQ(RequestThrottle(0), "201");

  // A second build cycle, with the edited script.
  ASSERT_NO_FATAL_FAILURE(RunBuildCycle());
  EXPECT_FALSE(libraryStayed);
  EXPECT_EQ(buildCycles, 2);
  Send({1, 9, 33, 43, 8});
  EXPECT_EQ(peer_.Ask("AwaitValue:1:9:5000"), "seen");
  EXPECT_EQ(peer_.Ask("AwaitValue:0:1:5000"), "seen");
}

}  // namespace
