// SendString called by a script: the keyboard output reports of a simulated keypad byte for
// byte, and the input records of a device without a keyboard report and of mouse steps.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/keystroke_sender.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "runtime/keys/key_name_tables.h"
#include "tests/platform/base/input_record_printer.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/runtime/device/sim_device.h"
#include "tests/runtime/script/script_fixture.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;

int locks = 0;

// A lock that counts.
class CountedLock : public DeviceRecordServices {
 public:
  void LockScriptEngine() override { ++locks; }
  bool UnlockScriptEngine() override { return true; }
};

class KeystrokeSender : public ::testing::Test {
 protected:
  void SetUp() override {
    locks = 0;
    FreeDeviceFolders();
    InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");

    ASSERT_EQ(RegisterScriptFunctions(script_.Registrar(), {calls_}), 0) << script_.Registrar().FailureText();
  }
  void TearDown() override {
    SetCurrentDevice(nullptr);
    DestroyDeviceRecord(d_);
    ClearKeyNameTables();
    FreeDeviceFolders();
    if (sim_) VhxSimClose(sim_);
  }

  // A simulated keypad of that product as the current device.
  void Attach(int productId) {
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    spec.productId = productId;
    ASSERT_NO_FATAL_FAILURE(AttachSimulatedDevice(spec, sim_, id_, d_, services_));
    SetCurrentDevice(&d_);
  }

  void Run(const std::string& body) {
    ASSERT_EQ(script_.Run(body), asEXECUTION_FINISHED) << script_.Messages();
  }

  std::vector<Bytes> Outputs() { return TakeSimulatedOutputs(sim_, id_); }
  // The keyboard report of the sample keypads: 9 bytes.
  static Bytes Report(std::uint8_t modifiers, Bytes keys = {}) {
    Bytes r(9, 0);
    r[0] = kOutputReportId;
    r[1] = kKeyboardReportCommand;
    r[2] = modifiers;
    for (std::size_t i = 0; i < keys.size() && i < 5; ++i) r[3 + i] = keys[i];
    return r;
  }

  std::vector<InputRecord> Injected() const { return calls_.Inputs(); }

  CountedLock services_;
  SystemCallsRecorder calls_;  // Caps Lock and Num Lock off
  ScriptFixture script_;
  VhxSim* sim_ = nullptr;
  int id_ = 0;
  DeviceRecord d_;
};

TEST_F(KeystrokeSender, KeyboardReportsOfTextNamesAndCombinations) {
  Attach(0x19);
  Run(R"(SendString("Hi"); SendString("<Return>"); SendString("{Ctrl+Alt+Delete}");)");
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{
                           Report(0x02), Report(0x02, {0x0B}), Report(0x02), Report(0),
                           Report(0, {0x0C}), Report(0),                      // "Hi"
                           Report(0, {0x28}), Report(0),                      // "<Return>"
                           Report(0x01), Report(0x05), Report(0x05, {0x4C}),  // Ctrl, Alt, Del
                           Report(0x05), Report(0x01), Report(0),
                       }));
  EXPECT_EQ(locks, 14);  // each report under the script-engine lock
  EXPECT_TRUE(Injected().empty());
}

// Press-only and release-only steps leave the device's keys down between calls.
TEST_F(KeystrokeSender, KeysStayDownBetweenSteps) {
  Attach(0x19);
  Run(R"(SendString("_{<Right Shift>}"); SendString("_ab"); SendString("c");
         SendString("-a"); SendString("-{<Right Shift>}"); SendString("-b");)");
  EXPECT_EQ(Outputs(), (std::vector<Bytes>{
                           Report(0x02), Report(0x02, {0x04}), Report(0x02, {0x04, 0x05}),
                           Report(0x02, {0x04, 0x05, 0x06}), Report(0x02, {0x04, 0x05}),
                           Report(0x02, {0x05}), Report(0, {0x05}), Report(0),
                       }));
  EXPECT_EQ(d_.keyboardState, (std::array<std::uint8_t, 6>{}));
}

TEST_F(KeystrokeSender, CommandsAndEmptyStepsSendNothing) {
  Attach(0x19);
  Run(R"(SendString(""); SendString("[Scroll Up]"); SendString("_"); SendString("-");)");
  EXPECT_TRUE(Outputs().empty());
  EXPECT_TRUE(Injected().empty());
}

// Without a "SendKeyboardReport" output (and without a current device) the keys are injected.
TEST_F(KeystrokeSender, InputRecordsWithoutAKeyboardReport) {
  constexpr std::uint32_t S = kKeyEventScanCode, U = kKeyEventKeyUp;
  const std::vector<InputRecord> ctrlC = {
      KeyboardRecord(0xA2, 29, S), KeyboardRecord(0x43, 46, S), KeyboardRecord(0x43, 46, S | U),
      KeyboardRecord(0xA2, 29, S | U)};
  Attach(0x18);
  Run(R"(SendString("{Ctrl+c}");)");
  EXPECT_EQ(Injected(), ctrlC);
  SetCurrentDevice(nullptr);
  calls_.ClearEvents();
  Run(R"(SendString("{Ctrl+c}");)");
  EXPECT_EQ(Injected(), ctrlC);
  EXPECT_TRUE(Outputs().empty());
}

// Mouse steps are injected also for a device with keyboard reports; nothing else of the text
// is sent.
TEST_F(KeystrokeSender, MouseStepsAreAlwaysInjected) {
  Attach(0x19);
  Run(R"(SendString("_<Mouse Click>"); SendString("-<Mouse Click>");
         SendString("<Mouse Right Click>"); SendString("x<Mouse Button 5 Click>");
         SendString("<Mouse Button 4 Click>");)");
  EXPECT_EQ(Injected(), (std::vector<InputRecord>{
                            MouseRecord(0, 0, 0, kMouseEventLeftDown),
                            MouseRecord(0, 0, 0, kMouseEventLeftUp),
                            MouseRecord(0, 0, 0, kMouseEventRightDown),
                            MouseRecord(0, 0, 0, kMouseEventRightUp),
                            MouseRecord(0, 0, 1, kMouseEventXDown),
                            MouseRecord(0, 0, 1, kMouseEventXUp),
                        }));
  EXPECT_TRUE(Outputs().empty());
}

TEST_F(KeystrokeSender, DoubleClickWaitsHalfTheDoubleClickTime) {
  Attach(0x19);
  calls_.SetDoubleClickTime(430);
  Run(R"(SendString("-<Mouse Double Click>");)");
  const std::string down = "mouse 0 0 0 " + SystemCallsRecorder::Hex(kMouseEventLeftDown);
  const std::string up = "mouse 0 0 0 " + SystemCallsRecorder::Hex(kMouseEventLeftUp);
  EXPECT_EQ(calls_.Events(), down + " / sleep 40 / " + up + " / sleep 215 / " + down +
                                 " / sleep 40 / " + up);
}

}  // namespace
