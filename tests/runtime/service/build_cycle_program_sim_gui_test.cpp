// A keypad that arrives makes the real Orvane.exe build its device table anew while the others
// stay attached: a programming switch turned on at any moment around that build cycle opens
// the programming window, and no report of the keypads is lost.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/app/program_under_test.h"
#include "tests/runtime/device/sim_keypad.h"
#include "tests/runtime/service/device_thread_fixture.h"
#include "tests/support/win_test.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

constexpr std::uint8_t kSwitch = 0x10;  // byte 4 of the LED keypad's report

constexpr int kFirstType = 0x19;
constexpr int kSecondType = 0x1A;  // a copy of the first

class BuildCycle : public ProgramUnderTest {
 protected:
  BuildCycle() : ProgramUnderTest("buildcycle") {}

  // Both types run the type's shared script, which the program never rewrites: every key press
  // writes "setID" with the number of presses since the script was built.
  void SetUp() override {
    ProgramUnderTest::SetUp();
    ASSERT_TRUE(CloneDeviceType(dir_, kFirstType, kSecondType));
    for (int type : {kFirstType, kSecondType}) ASSERT_TRUE(WriteTextFile(TypeFile(type, "Script.oxs"), kCountingScript));
  }
  static constexpr char kCountingScript[] =
      "uint8 QpadUnitId = 1;\r\n"
      "int presses = 0;\r\n"
      "void QpadInit() {}\r\n"
      "void KeyDown(int scanCode) { presses++; QpadUnitId = uint8(presses & 0xFF); SendOutputReport(\"setID\"); }\r\n"
      "void KeyUp(int scanCode) {}\r\n";
  std::string TypeFile(int type, const std::string& name) const {
    char folder[40];
    std::snprintf(folder, sizeof folder, "QpadDevices\\Vid0a7cPid%04x\\", type);
    return dir_ / (folder + name);
  }
  // The script of each type has built since its backup was deleted.
  bool Built(std::initializer_list<int> types, unsigned ms = 20000) {
    return WaitUntil([&] {
      for (int type : types)
        if (!FileExists(TypeFile(type, "Script_backup.oxs"))) return false;
      return true;
    }, ms);
  }
  void DeleteBackups() {
    for (int type : {kFirstType, kSecondType}) DeleteFileA(TypeFile(type, "Script_backup.oxs").c_str());
  }
  // Starts the program over one keypad of the first type; its id.
  int StartWithOneKeypad() {
    const int id = AddSimKeypad(sim_, 1, kFirstType);
    EXPECT_TRUE(StartProgram());
    EXPECT_TRUE(Built({kFirstType})) << "no build";
    TakeOutputs(sim_, id);
    return id;
  }

  // The LED keypad's report of unit 1: key 0 and the switch as given.
  void Report(int id, bool key, bool switchOn) {
    const std::uint8_t report[9] = {0, static_cast<std::uint8_t>(key ? 1 : 0), 0, 0,
                                    static_cast<std::uint8_t>(switchOn ? kSwitch : 0), 0, 0, 1, 0};
    VhxSimQueueInput(sim_, id, report, 9);
  }
  // The program's programming window, if it shows one.
  HWND ProgrammingWindow() {
    for (HWND w = FindWindowExA(nullptr, nullptr, kProgrammingWindowClass, nullptr); w;
         w = FindWindowExA(nullptr, w, kProgrammingWindowClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(w, &process);
      if (process == program_.Id() && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
};

TEST_F(BuildCycle, ASwitchTurnedOnAroundAnotherKeypadsArrivalOpensTheWindow) {
  const int first = StartWithOneKeypad();
  for (const DWORD afterMs : {0, 500, 1000, 1500, 2000, 2500, 3000}) {
    SCOPED_TRACE("switch on " + std::to_string(afterMs) + " ms after the arrival");
    DeleteBackups();
    const int second = AddSimKeypad(sim_, 1, kSecondType);
    Sleep(afterMs);
    Report(first, false, true);
    // Past the cycle (both built), whenever it ran, the window is open and stays so.
    ASSERT_TRUE(Built({kFirstType, kSecondType})) << "no build cycle";
    HWND window = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (window = ProgrammingWindow()) != nullptr; }, 10000)) << "no window";
    PumpMessages(1000);
    EXPECT_TRUE(window && IsWindow(window));
    if (afterMs == 0 && window) SavePicture(window, "build_cycle_switch_on");

    Report(first, false, false);
    EXPECT_TRUE(WaitUntil([&] { return ProgrammingWindow() == nullptr; }, 10000)) << "not closed";
    // The keypad leaves; the next poll sees it and builds the table again.
    DeleteBackups();
    ASSERT_EQ(VhxSimRemoveDevice(sim_, second), VHXSIM_OK);
    ASSERT_TRUE(Built({kFirstType})) << "no build cycle after the removal";
    EXPECT_EQ(ProgrammingWindow(), nullptr);
  }
}

// What a keypad sends while the table is built anew reaches its script: every press of a key
// runs it, none is swallowed by the cycle. The script counts the presses since it was built, and
// the cycle builds it again: the presses are the sum of the counts it reached before and after.
TEST_F(BuildCycle, KeyPressesAroundAnotherKeypadsArrivalAllRunTheScript) {
  const int first = StartWithOneKeypad();
  DeleteBackups();
  const int second = AddSimKeypad(sim_, 1, kSecondType);
  std::vector<int> counts;  // the last count of each build of the script
  int last = 0;
  // A build ends with the layer LED written ("setLEDs"); the count starts again after it.
  const auto takeCounts = [&] {
    for (const std::string& out : TakeOutputs(sim_, first)) {
      if (out.size() != 18) continue;
      const bool leds = out.compare(0, 4, "02c1") == 0;
      const int count = out.compare(0, 4, "02c2") == 0 ? std::stoi(out.substr(4, 2), nullptr, 16) : -1;
      if (!leds && count < 0) continue;
      if ((leds || count <= last) && last > 0) counts.push_back(last);
      last = leds ? 0 : count;
    }
  };
  // A press every 30 ms, over the whole of the next poll and the cycle it starts.
  int pressed = 0;
  while (pressed < 40 || !Built({kFirstType, kSecondType}, 0) || pressed % 40 != 0) {
    Report(first, true, false);
    Report(first, false, false);
    ++pressed;
    Sleep(30);
    takeCounts();
  }
  int ran = 0;
  EXPECT_TRUE(WaitUntil([&] {
    takeCounts();
    ran = last;
    for (int c : counts) ran += c;
    return ran >= pressed;
  }, 10000));
  std::string builds;
  for (int c : counts) builds += std::to_string(c) + " ";
  EXPECT_EQ(ran, pressed) << "presses that ran the script, by build: " << builds << last;
  EXPECT_EQ(counts.size(), 1u) << "one build cycle";
  VhxSimRemoveDevice(sim_, second);
}

}  // namespace
