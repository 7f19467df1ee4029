// The wizard without its window over the real HID library and a simulated cab controller:
// the device search's errors and what failed reads and a removal do while a position is
// sampled. Ticks are driven by the test, one call a tick.
#include <gtest/gtest.h>

#include <functional>

#include "calibration/wizard.h"
#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "tests/calibration/fake_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace cal;
using testsupport::ScratchDir;

namespace {

class CabOverSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testsupport::EnvOr("VHXHID_SIM").empty()) << "the test runs on a simulation";
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    ASSERT_TRUE(testsupport::MakeDirs(dir_ / "controller"));
    ASSERT_TRUE(testsupport::WriteTextFile(dir_ / "controller\\ModernController.lcm", "BYTE1,RANGE,REV\n"));
  }
  void TearDown() override {
    if (sim_) VhxSimClose(sim_);
  }
  // A fresh simulation: no devices, no failures.
  void Clear() {
    ASSERT_EQ(VhxSimReset(sim_), VHXSIM_OK);
    ASSERT_EQ(VhxSimSetEnumerateError(sim_, 0), VHXSIM_OK);
  }
  int AddCab() {
    VhxSimDeviceSpec spec;
    VhxSimCabSpec(&spec);
    const int id = VhxSimAddDevice(sim_, &spec);
    EXPECT_GT(id, 0);
    return id;
  }
  int AddKeypad() {
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    const int id = VhxSimAddDevice(sim_, &spec);
    EXPECT_GT(id, 0);
    return id;
  }
  // A fresh simulation with one cab controller; the wizard at its first position over it.
  int ToFirstSection(FakeSystem& system, Wizard& wizard) {
    Clear();
    const int cab = AddCab();
    wizard.Start();
    wizard.OnNext();
    wizard.OnNext();
    EXPECT_EQ(wizard.Screen().page, kFirstSectionPage);
    EXPECT_TRUE(system.messages.empty());
    return cab;
  }
  // The lever of position p held where its byte reads v.
  void Hold(int cab, int p, int v) {
    ASSERT_EQ(VhxSimSetReportByte(sim_, cab, Position(p).reportByte, v), VHXSIM_OK);
  }

  VhxSim* sim_ = nullptr;
  ScratchDir dir_{"cabsim"};
};

std::vector<std::pair<std::string, std::string>> Boxes(FakeSystem& system) {
  std::vector<std::pair<std::string, std::string>> boxes;
  for (const ShownMessage& m : system.messages) boxes.emplace_back(m.text, m.caption);
  system.messages.clear();
  return boxes;
}

const std::string kSetupTitle = kApplicationTitle;

struct SearchCase {
  const char* what;
  std::function<void(VhxSim*, int cab)> arrange;  // the cab controller is attached before
  bool ready;
  std::string status;
  std::vector<std::string> devices;
  std::vector<std::pair<std::string, std::string>> boxes;
};

TEST_F(CabOverSim, TheDeviceSearchReportsWhatTheLibrarySays) {
  const std::string none = EnglishDefault(TextKey::NoValidDevices);
  const std::pair<std::string, std::string> notDetected{EnglishDefault(TextKey::UnitNotDetected), kSetupTitle};
  const SearchCase cases[] = {
      {"one controller", [](VhxSim*, int) {}, true, "", {"PID: 210 Program ID: 0"}, {}},
      {"enumeration fails", [](VhxSim* s, int) { VhxSimSetEnumerateError(s, VHX_ERR_ENUMERATE); }, false,
       "Enumeration error: 5", {}, {notDetected}},
      {"enumeration fails with another number", [](VhxSim* s, int) { VhxSimSetEnumerateError(s, 31); }, false,
       "Enumeration error: 31", {}, {notDetected}},
      {"set-up fails", [](VhxSim* s, int cab) { VhxSimSetSetUpError(s, cab, VHX_ERR_OPEN); }, true,
       "Setup interface 0 failed, error: 3", {"PID: 210 Program ID: 0"}, {}},
      {"set-up fails behind a keypad",
       [this](VhxSim* s, int cab) {
         VhxSimRemoveDevice(s, cab);
         AddKeypad();
         VhxSimSetSetUpError(s, AddCab(), 13);
       },
       true, "Setup interface 1 failed, error: 13", {"PID: 210 Program ID: 1"}, {}},
      {"two controllers", [this](VhxSim*, int) { AddCab(); }, false, "", {},
       {{EnglishDefault(TextKey::DuplicateDevices), EnglishDefault(TextKey::ErrorCaption)}, notDetected}},
      {"the controller gone", [](VhxSim* s, int cab) { VhxSimRemoveDevice(s, cab); }, false, none, {none}, {notDetected}},
      {"only a keypad",
       [this](VhxSim* s, int cab) {
         VhxSimRemoveDevice(s, cab);
         AddKeypad();
       },
       false, none, {none}, {notDetected}},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.what);
    Clear();
    c.arrange(sim_, AddCab());
    FakeSystem system;
    Wizard wizard(dir_.path(), system, HidCabDevices());
    wizard.Start();
    wizard.OnNext();
    EXPECT_EQ(wizard.DeviceReady(), c.ready);
    EXPECT_EQ(wizard.Screen().status, c.status);
    EXPECT_EQ(wizard.Screen().devices, c.devices);
    EXPECT_EQ(Boxes(system), c.boxes);
    EXPECT_EQ(wizard.Screen().page, c.ready ? kOverviewPage : kWelcomePage);
  }
}

// Position 1 (the reverser's middle, report byte 1) sampled after position 0 passed; the test
// acts on the simulation before each tick (tick -1: before Calibrate is clicked).
struct SamplingCase {
  const char* what;
  std::function<void(int tick)> beforeTick;
  bool done;  // position 1
  int min, max;
  std::vector<std::string> statuses;  // each change of the status bar, in order
  std::vector<std::string> boxes;
  int page;
};

TEST_F(CabOverSim, FailedReadsAndARemovalWhileAPositionIsSampled) {
  const std::string notRead = EnglishDefault(TextKey::UnitNotRead);
  const std::string notDetected = EnglishDefault(TextKey::UnitNotDetected);
  int cab = 0;
  auto from = [&](int first, std::function<void()> f) {
    return [first, f](int tick) {
      if (tick == first) f();
    };
  };
  auto both = [](std::function<void(int)> a, std::function<void(int)> b) {
    return [a, b](int tick) {
      a(tick);
      b(tick);
    };
  };
  auto failReads = [&](bool on) { return [&, on] { VhxSimSetFailReads(sim_, cab, on); }; };
  const SamplingCase cases[] = {
      {"reads go on", [](int) {}, true, 120, 120, {"Wait", "Done"}, {}, kFirstSectionPage},
      {"starting to sample fails: the reads go on", from(-1, [&] { VhxSimSetSamplingError(sim_, cab, 8); }), true,
       120, 120, {"Wait", "Done"}, {}, kFirstSectionPage},
      {"a few reads fail", both(from(5, failReads(true)), from(15, failReads(false))), true, 120, 120,
       {"Wait", "Done"}, {}, kFirstSectionPage},
      {"every read fails with the controller there: it is found again, and nothing read fails the position",
       from(0, failReads(true)), false, 500, 0, {"Wait", "Done"}, {notRead}, kFirstSectionPage},
      {"reads come back after the search", both(from(0, failReads(true)), from(25, failReads(false))), true, 120,
       120, {"Wait", "Done"}, {}, kFirstSectionPage},
      {"the search cannot enumerate: sampling runs out with nothing read",
       both(from(0, failReads(true)), from(0, [&] { VhxSimSetEnumerateError(sim_, 5); })), false, 500, 0,
       {"Wait", "Enumeration error: 5", "Done"}, {notRead}, kFirstSectionPage},
      {"the search cannot set the controller up again",
       both(from(0, failReads(true)),
            both(from(0, [&] { VhxSimSetSetUpError(sim_, cab, 13); }), from(25, failReads(false)))),
       false, 500, 0, {"Wait", "Setup interface 0 failed, error: 13", "Done"}, {notRead}, kFirstSectionPage},
      {"unplugged", from(3, [&] { VhxSimRemoveDevice(sim_, cab); }), false, 120, 120, {"Wait", ""}, {notDetected},
       kWelcomePage},
      {"unplugged and plugged in again before the search",
       both(from(3, [&] { VhxSimRemoveDevice(sim_, cab); }), from(10,
                                                                  [&] {
                                                                    cab = AddCab();
                                                                    Hold(cab, 1, 121);
                                                                  })),
       true, 120, 121, {"Wait", "Done"}, {}, kFirstSectionPage},
  };
  for (const SamplingCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSystem system;
    Wizard wizard(dir_.path(), system, HidCabDevices());
    cab = ToFirstSection(system, wizard);
    ASSERT_EQ(wizard.Screen().page, kFirstSectionPage);
    Hold(cab, 0, 200);
    wizard.OnCalibrate();
    for (int i = 0; i < 100 && wizard.Screen().sampling; ++i) wizard.OnSamplingTick();
    ASSERT_EQ(wizard.CurrentPosition(), 1);
    ASSERT_TRUE(wizard.Done(0));
    ASSERT_TRUE(system.messages.empty());

    Hold(cab, 1, 120);
    c.beforeTick(-1);
    wizard.OnCalibrate();
    std::vector<std::string> statuses{wizard.Screen().status};
    for (int tick = 0; tick < 200 && wizard.Screen().sampling; ++tick) {
      c.beforeTick(tick);
      wizard.OnSamplingTick();
      if (wizard.Screen().status != statuses.back()) statuses.push_back(wizard.Screen().status);
    }
    EXPECT_FALSE(wizard.Screen().sampling);
    EXPECT_EQ(statuses, c.statuses);
    EXPECT_EQ(system.TakeTexts(), c.boxes);
    EXPECT_EQ(wizard.Screen().page, c.page);
    EXPECT_EQ(wizard.Done(1), c.done);
    EXPECT_EQ(wizard.GetRanges()[1].min, c.min);
    EXPECT_EQ(wizard.GetRanges()[1].max, c.max);
    EXPECT_FALSE(wizard.Screen().busy) << "the cursor is given back";
    if (c.page == kWelcomePage) {
      EXPECT_TRUE(wizard.DeviceLost());
      EXPECT_FALSE(wizard.Done(0)) << "the done flags go with the device";
      EXPECT_FALSE(wizard.Screen().back.visible);
      EXPECT_FALSE(wizard.Screen().calibrate.visible);
    } else {
      EXPECT_FALSE(wizard.DeviceLost());
      EXPECT_TRUE(wizard.Done(0));
      EXPECT_EQ(wizard.CurrentPosition(), c.done ? 2 : 1) << "a failed position is repeated";
    }
  }
}

// What the controller reported before Calibrate, unread while the position waited (a box was
// up, the timer stopped), is never sampled: only its present state and what follows.
TEST_F(CabOverSim, ReportsQueuedBeforeCalibrateAreNotSampled) {
  FakeSystem system;
  Wizard wizard(dir_.path(), system, HidCabDevices());
  const int cab = ToFirstSection(system, wizard);
  ASSERT_EQ(wizard.Screen().page, kFirstSectionPage);
  // The lever swept through values outside position 0's bounds on its way to 200.
  for (int v = 100; v < 180; v += 10) Hold(cab, 0, v);
  Hold(cab, 0, 200);
  VhxSimDeviceInfo info;
  ASSERT_EQ(VhxSimGetDevice(sim_, cab, &info), VHXSIM_OK);
  EXPECT_GE(info.queuedInputs, 9) << "nothing read them yet";
  wizard.OnCalibrate();
  for (int i = 0; i < 100 && wizard.Screen().sampling; ++i) wizard.OnSamplingTick();
  EXPECT_TRUE(system.messages.empty()) << system.messages[0].text;
  EXPECT_TRUE(wizard.Done(0));
  EXPECT_EQ(wizard.GetRanges()[0].min, 200);
  EXPECT_EQ(wizard.GetRanges()[0].max, 200);
  ASSERT_EQ(VhxSimGetDevice(sim_, cab, &info), VHXSIM_OK);
  EXPECT_EQ(info.queuedInputs, 0);
}

}  // namespace
