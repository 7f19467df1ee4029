// The on-board memory's dialogs: the progress of a write and the prompt to move the programming
// switch, whose Cancel ends the wait; both pictured. And the close of a programming window over
// a keypad that keeps its macros, through the macro model's teardown.
#include "macros/onboard_memory_dialogs.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>

#include "macros/device_macro_device.h"
#include "macros/device_record_source.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_model_events.h"
#include "macros/model/macro_lifecycle.h"
#include "macros/model/macro_steps.h"
#include "macros/model/onboard_image.h"
#include "macros/onboard_memory_ids.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/macros/model/model_fixture.h"
#include "tests/macros/onboard_keypad.h"
#include "tests/support/win_test.h"
#include "ui/programming_window/device_record_programming_device.h"

using namespace testsupport;

namespace {

// The boxes recorded; the exchange's clock and pauses the platform's own, so that the waits
// still wait.
class BoxesRecorded : public SystemCallsRecorder {
 public:
  std::uint32_t TickCount() override { return SystemCalls::TickCount(); }
  void Sleep(unsigned ms) override { SystemCalls::Sleep(ms); }
};

TEST(OnboardMemoryDialogs, SwitchPromptOverTheProgressCancelsTheWrite) {
  VhxSim* sim = nullptr;
  int id = 0;
  DeviceRecord d;
  ASSERT_NO_FATAL_FAILURE(AttachOnboardKeypad(sim, id, d));
  DeviceMacroSet set;
  set.highestKey = 0x10;
  set.Resize(MacroTableSize(0x10));
  *set.Slot(kKeyDownGreen, 0) = {0x04, 0};
  ASSERT_EQ(EncodeDeviceMacroImage(set, d.memoryImage, d.memoryImageLength), ImagePackResult::kPacked);
  BoxesRecorded calls;

  // The user looks at the dialogs and cancels from another thread, as a click would come.
  std::atomic<bool> sawProgress{false}, sawPrompt{false};
  std::thread user([&] {
    HWND prompt = WaitForProcessWindow(GetCurrentProcessId(), "Unable to Write to Device", 10000);
    HWND progress = WaitForProcessWindow(GetCurrentProcessId(), "Saving Macros", 1000);
    sawPrompt = prompt != nullptr;
    sawProgress = progress != nullptr;
    if (progress) {
      SavePicture(progress, "onboard_memory_progress");
      sawProgress = SendMessageA(GetDlgItem(progress, IDC_ONBOARD_PROGRESS), PBM_GETRANGE, FALSE, 0) == 4080;
    }
    if (prompt) {
      SavePicture(prompt, "onboard_memory_switch_prompt");
      ClickButton(FindChildByText(prompt, "Button", "Cancel"));
    }
  });
  OnboardMemoryTimings timings;
  timings.switchProbes = 1;
  OnboardMemoryDialogs dialogs(calls, nullptr);
  const MemoryWriteResult result = WriteDeviceMacroMemory(calls, d, dialogs, timings);
  user.join();
  EXPECT_TRUE(sawPrompt);
  EXPECT_TRUE(sawProgress);
  EXPECT_EQ(result, MemoryWriteResult::kCancelled);
  EXPECT_NE(calls.Events().find("The macros were not written to the Qpad device."), std::string::npos)
      << calls.Events();
  int writes = -1, ends = -1;
  ASSERT_EQ(VhxSimMemoryCounts(sim, id, &writes, &ends), VHXSIM_OK);
  EXPECT_EQ(writes, 0);
  EXPECT_EQ(ends, 0);
  // Both dialogs are gone with the write.
  EXPECT_EQ(FindWindowA(nullptr, "Unable to Write to Device"), nullptr);
  EXPECT_EQ(FindWindowA(nullptr, "Saving Macros"), nullptr);

  DestroyDeviceRecord(d);
  FreeDeviceFolders();
  VhxSimClose(sim);
}

// The on-board write as the program has it, without a main window.
class OnboardEvents : public MacroModelEvents {
 public:
  explicit OnboardEvents(SystemCalls& calls) : calls_(calls) {}
  bool BuildOnboardImage(MacroContext& context) override { return ::BuildOnboardImage(calls_, context, nullptr); }
  void WriteOnboardImage(MacroContext& context) override { ::WriteOnboardImage(calls_, context, nullptr); }

 private:
  SystemCalls& calls_;
};

// A layout over a simulated keypad whose macros live in its memory, its switch on.
class ClosingProgramming : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(AttachOnboardKeypad(sim_, id_, d_));
    ASSERT_EQ(VhxSimQueueInput(sim_, id_, kSwitchOnReport, 9), VHXSIM_OK);
    d_.onboardMacros = true;
    context_ = std::make_unique<MacroContext>(events_);
    context_->device = &device_;
    for (int id : {0, 1, 0x21}) {
      KeyRecord key;
      key.keyId = static_cast<std::uint8_t>(id);
      context_->keys.push_back(key);
    }
  }
  void TearDown() override {
    DestroyDeviceRecord(d_);
    FreeDeviceFolders();
    if (sim_) VhxSimClose(sim_);
  }
  void AddSteps(int keyIndex, const std::wstring& step) {
    MacroEntry e;
    e.event = KeyEvent::Down;
    e.colour = LayerColour::Green;
    e.program = "Pnr";
    ParseMacroStep(e, 0, step, L"");
    context_->keys[static_cast<std::size_t>(keyIndex)].entries.push_back(e);
  }
  void Counts(int& writes, int& ends) { ASSERT_EQ(VhxSimMemoryCounts(sim_, id_, &writes, &ends), VHXSIM_OK); }

  VhxSim* sim_ = nullptr;
  // Key 1 gets <Return>, then programming closes with the system calls recorded.
  void CloseWithReturnOnKey1() {
    AddSteps(1, L"<Return>");
    ScopedSystemCalls scoped(calls_);
    CloseMacroContext(std::move(context_), false);
  }
  // Key 1's Key Down in the keypad's memory: the <Return> the tests give it.
  void ExpectReturnOnKey1() {
    std::vector<std::uint8_t> memory(kMemoryReadLength);
    ASSERT_EQ(VhxSimReadMemory(sim_, id_, 0, memory.data(), kMemoryReadLength), VHXSIM_OK);
    const DeviceMacroSet set = DecodeDeviceMacroImage(memory, 0x21);
    ASSERT_NE(set.Find(kKeyDownGreen, 1), nullptr);
    EXPECT_EQ(*set.Find(kKeyDownGreen, 1), (std::vector<std::uint8_t>{0x28, 0xE8, 0x28, 0}));
  }

  int id_ = 0;
  BoxesRecorded calls_;
  OnboardEvents events_{calls_};
  DeviceRecord d_;
  DeviceRecordMacroDevice device_{d_};
  std::unique_ptr<MacroContext> context_;
};

TEST_F(ClosingProgramming, WritesTheLayoutIntoTheKeypad) {
  CloseWithReturnOnKey1();
  ASSERT_NO_FATAL_FAILURE(ExpectReturnOnKey1());
  int writes = 0, ends = 0;
  Counts(writes, ends);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(calls_.Events().empty()) << calls_.Events();
  EXPECT_TRUE(d_.rebuildScript);
}

TEST_F(ClosingProgramming, TheProgrammingWindowsDeviceWritesTheLayoutToo) {
  DeviceRecordProgrammingDevice windowDevice(d_);
  context_->device = &windowDevice;
  CloseWithReturnOnKey1();
  ASSERT_NO_FATAL_FAILURE(ExpectReturnOnKey1());
  int writes = 0, ends = 0;
  Counts(writes, ends);
  EXPECT_GT(writes, 0);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(calls_.Events().empty()) << calls_.Events();
  EXPECT_FALSE(d_.programmingAllowed);  // as after every write the keypad took
}

// A device that keeps its macros on board but gives no record to write them to.
class NoRecordDevice : public FakeDevice {
 public:
  NoRecordDevice() { onboard = true; }
};
class GoneRecordDevice : public NoRecordDevice, public DeviceRecordSource {
 public:
  DeviceRecord* Record() override { return nullptr; }
};

TEST_F(ClosingProgramming, ADeviceWithoutItsRecordIsToldNothingWasWritten) {
  NoRecordDevice none;
  GoneRecordDevice gone;
  const struct {
    const char* what;
    MacroDevice* device;
  } cases[] = {{"no record source", &none}, {"a record that went", &gone}};
  for (const auto& k : cases) {
    BoxesRecorded calls;
    OnboardEvents events(calls);
    auto context = std::make_unique<MacroContext>(events);
    context->device = k.device;
    KeyRecord key;
    key.keyId = 1;
    context->keys.push_back(key);
    ScopedSystemCalls scoped(calls);
    CloseMacroContext(std::move(context), false);
    EXPECT_NE(calls.Events().find("Orvane II Error"), std::string::npos) << k.what << ": " << calls.Events();
    EXPECT_NE(calls.Events().find(kMacrosNotWritten), std::string::npos) << k.what << ": " << calls.Events();
  }
  int writes = -1, ends = -1;
  Counts(writes, ends);
  EXPECT_EQ(writes, 0);
  EXPECT_EQ(ends, 0);
}

TEST_F(ClosingProgramming, MacrosThatDoNotFitAreToldAndNotWritten) {
  AddSteps(1, L"/" + std::wstring(1500, L'a'));  // three bytes a character
  ScopedSystemCalls scoped(calls_);
  CloseMacroContext(std::move(context_), false);
  EXPECT_NE(calls_.Events().find("do not fit"), std::string::npos) << calls_.Events();
  int writes = -1, ends = -1;
  Counts(writes, ends);
  EXPECT_EQ(writes, 0);
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(d_.memoryImageLength, 0);
}

}  // namespace
