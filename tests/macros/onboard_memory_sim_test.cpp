// Reading and writing the on-board memory of a simulated keypad: the whole exchange, the wait
// for the programming switch, and every way a write can fall short, each told to the user and
// none taken for success; the interface is back in event use afterwards.
#include "macros/onboard_memory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "macros/device_macro_device.h"
#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/onboard_image.h"
#include "platform/base/memory_file_access.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/device_functions.h"
#include "tests/macros/onboard_keypad.h"

using namespace testsupport;

namespace {

using Bytes = std::vector<std::uint8_t>;

class RecordingView : public OnboardMemoryView {
 public:
  std::vector<std::string> events;
  std::vector<std::string> errors;
  int lastProgress = -1;
  std::function<void(int)> onProgress;
  std::function<void()> onPrompt;
  bool cancel = false;

  void ShowProgress(const char* title, int range) override {
    events.push_back(std::string("progress ") + title + " " + std::to_string(range));
  }
  void SetProgress(int position) override {
    lastProgress = position;
    if (onProgress) onProgress(position);
  }
  void CloseProgress() override { events.push_back("close progress"); }
  void ShowSwitchPrompt() override {
    events.push_back("prompt");
    if (onPrompt) onPrompt();
  }
  bool SwitchPromptCancelled() override { return cancel; }
  void CloseSwitchPrompt() override { events.push_back("close prompt"); }
  void Pump() override {}
  void ReportError(const char* text) override { errors.push_back(text); }
};

class OnboardMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(AttachOnboardKeypad(sim_, id_, d_));
    ASSERT_TRUE(d_.hasProgrammingSwitch);
    SetSwitch(true);
    timings_.readLimitMs = 5000;
    timings_.writeLimitMs = 400;
    timings_.reopenAfterMs = 50;
    timings_.endLimitMs = 200;
    timings_.switchProbes = 5;
  }
  void TearDown() override {
    SetCurrentDevice(nullptr);
    PublishDeviceTable(nullptr);
    DestroyDeviceRecord(d_);
    FreeDeviceFolders();
    if (sim_) VhxSimClose(sim_);
  }

  void SetSwitch(bool on) {
    ASSERT_EQ(VhxSimQueueInput(sim_, id_, on ? kSwitchOnReport : kSwitchOffReport, 9), VHXSIM_OK);
  }
  Bytes Memory(int offset, int length) {
    Bytes b(static_cast<std::size_t>(length));
    EXPECT_EQ(VhxSimReadMemory(sim_, id_, offset, b.data(), length), VHXSIM_OK);
    return b;
  }
  void Counts(int& writes, int& ends) { ASSERT_EQ(VhxSimMemoryCounts(sim_, id_, &writes, &ends), VHXSIM_OK); }
  // The record's image: a packed set with a few macros.
  void PackImage() {
    DeviceMacroSet set;
    set.highestKey = 0x27;
    set.Resize(MacroTableSize(0x27));
    *set.Slot(kKeyDownGreen, 1) = {0xEC, 1, 6, 0xE8, 6, 0xEC, 0, 0};
    *set.Slot(kKeyUpRed, 0x27) = {0x28, 0};
    ASSERT_EQ(EncodeDeviceMacroImage(set, d_.memoryImage, d_.memoryImageLength), ImagePackResult::kPacked);
  }
  // Input reaches the device's read event again: the interface is in event use.
  bool InEventUse() {
    ResetEvent(d_.readEvent);
    if (VhxSimQueueInput(sim_, id_, kSwitchOnReport, 9) != VHXSIM_OK) return false;
    return WaitForSingleObject(d_.readEvent, 2000) == WAIT_OBJECT_0;
  }

  VhxSim* sim_ = nullptr;
  int id_ = 0;
  DeviceRecords table_;
  DeviceRecord& d_ = *table_.emplace_back(std::make_unique<DeviceRecord>());
  RecordingView view_;
  OnboardMemoryTimings timings_;
  SystemCalls platform_;
};

TEST_F(OnboardMemory, ReadFetchesTheWholeMemory) {
  Bytes pattern(kMemoryReadLength);
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i * 7 + 1);
  ASSERT_EQ(VhxSimWriteMemory(sim_, id_, 0, pattern.data(), kMemoryReadLength), VHXSIM_OK);
  ASSERT_TRUE(ReadDeviceMacroMemory(platform_, d_, view_, timings_));
  EXPECT_EQ(d_.memoryImage, pattern);
  EXPECT_EQ(d_.memoryImageRead, pattern);
  EXPECT_EQ(d_.memoryImageLength, kMemoryReadLength);
  EXPECT_EQ(view_.events, (std::vector<std::string>{"progress Loading Macros 4088", "close progress"}));
  EXPECT_EQ(view_.lastProgress, kMemoryReadLength);
  EXPECT_TRUE(InEventUse());
}

TEST_F(OnboardMemory, ReadThatFailsLeavesNothingToImport) {
  d_.memoryImage = {1, 2, 3};
  ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 1), VHXSIM_OK);  // the request is refused
  EXPECT_FALSE(ReadDeviceMacroMemory(platform_, d_, view_, timings_));
  EXPECT_EQ(d_.memoryImageLength, 0);
  EXPECT_EQ(d_.memoryImage, (Bytes{1, 2, 3}));
  ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 0), VHXSIM_OK);

  // The keypad goes in the middle of the replies: the read ends at once.
  view_.onProgress = [&](int received) {
    if (received >= 1000) VhxSimRemoveDevice(sim_, id_);
  };
  const DWORD start = GetTickCount();
  EXPECT_FALSE(ReadDeviceMacroMemory(platform_, d_, view_, timings_));
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_EQ(d_.memoryImageLength, 0);
}

TEST_F(OnboardMemory, WriteSendsTheImageAndTheEnd) {
  ASSERT_NO_FATAL_FAILURE(PackImage());
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kWritten);
  EXPECT_EQ(Memory(0, kMemoryImageSize), d_.memoryImage);
  int writes = 0, ends = 0;
  Counts(writes, ends);
  EXPECT_EQ(writes, kMemoryImageSize / 4);  // nothing was read: every chunk goes
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(view_.events, (std::vector<std::string>{"progress Saving Macros 4080", "close progress"}));
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_FALSE(d_.programmingAllowed);
  // The next write compares with what was just written.
  EXPECT_EQ(d_.memoryImageRead, Bytes(d_.memoryImage.begin(), d_.memoryImage.begin() + kMemoryImageSize));
  EXPECT_TRUE(InEventUse());
}

TEST_F(OnboardMemory, OnlyChangedChunksAreWritten) {
  ASSERT_NO_FATAL_FAILURE(PackImage());
  ASSERT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kWritten);
  TakeSimulatedOutputs(sim_, id_);
  d_.memoryImage[331] ^= 0x55;
  ASSERT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kWritten);
  const Bytes chunk(d_.memoryImage.begin() + 328, d_.memoryImage.begin() + 332);
  EXPECT_EQ(TakeSimulatedOutputs(sim_, id_),
            (std::vector<Bytes>{{2, 0xBC, 0x48, 0x01, chunk[0], chunk[1], chunk[2], chunk[3], 0},
                                {2, 0xBE, 0, 0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(Memory(328, 4), chunk);
}

TEST_F(OnboardMemory, ImageOfTheFullSizeIsWrittenAndNoImageIsNot) {
  DeviceMacroSet set;
  set.highestKey = 0x10;
  set.Resize(MacroTableSize(0x10));
  *set.Slot(kKeyDownGreen, 0) = Bytes(2000, 4);
  *set.Slot(kKeyDownRed, 0x10) = Bytes(1760, 5);
  set.Slot(kKeyDownGreen, 0)->back() = 0;
  set.Slot(kKeyDownRed, 0x10)->back() = 0;
  ASSERT_EQ(EncodeDeviceMacroImage(set, d_.memoryImage, d_.memoryImageLength), ImagePackResult::kPacked);
  ASSERT_EQ(d_.memoryImageLength, kMemoryImageSize);
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kWritten);
  EXPECT_EQ(Memory(kMemoryImageSize - 4, 4), (Bytes{5, 5, 5, 0}));

  TakeSimulatedOutputs(sim_, id_);
  view_.events.clear();
  for (int length : {0, kMemoryReadLength}) {  // nothing packed; an image as read
    d_.memoryImageLength = length;
    EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kNothingToWrite);
  }
  EXPECT_TRUE(TakeSimulatedOutputs(sim_, id_).empty());
  EXPECT_TRUE(view_.events.empty());
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(OnboardMemory, WriteWaitsForTheProgrammingSwitch) {
  ASSERT_NO_FATAL_FAILURE(PackImage());
  SetSwitch(false);
  view_.onPrompt = [&] { SetSwitch(true); };
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kWritten);
  EXPECT_EQ(view_.events, (std::vector<std::string>{"progress Saving Macros 4080", "prompt", "close prompt",
                                                    "close progress"}));
  EXPECT_EQ(Memory(0, kMemoryImageSize), d_.memoryImage);
}

TEST_F(OnboardMemory, SwitchWaitEndsOnCancelAndOnRemoval) {
  for (const bool remove : {false, true}) {
    SCOPED_TRACE(remove ? "removed" : "cancelled");
    ASSERT_NO_FATAL_FAILURE(PackImage());
    SetSwitch(false);
    view_ = RecordingView();
    if (remove)
      view_.onPrompt = [&] { VhxSimRemoveDevice(sim_, id_); };
    else
      view_.cancel = true;
    const MemoryWriteResult result = WriteDeviceMacroMemory(platform_, d_, view_, timings_);
    EXPECT_EQ(result, remove ? MemoryWriteResult::kDeviceGone : MemoryWriteResult::kCancelled);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_TRUE(d_.programmingAllowed);
    EXPECT_TRUE(d_.memoryImageRead.empty());
    if (!remove) {
      int writes = -1, ends = -1;
      Counts(writes, ends);
      EXPECT_EQ(writes, 0);
      EXPECT_EQ(ends, 0);
      EXPECT_TRUE(InEventUse());
    }
  }
}

TEST_F(OnboardMemory, DeviceRemovedInTheMiddleOfTheWrite) {
  ASSERT_NO_FATAL_FAILURE(PackImage());
  view_.onProgress = [&](int offset) {
    if (offset == 400) VhxSimRemoveDevice(sim_, id_);
  };
  const DWORD start = GetTickCount();
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kDeviceGone);
  EXPECT_LT(GetTickCount() - start, timings_.writeLimitMs);
  EXPECT_EQ(view_.errors.size(), 1u);
  EXPECT_TRUE(d_.programmingAllowed);
  EXPECT_TRUE(d_.memoryImageRead.empty());
}

TEST_F(OnboardMemory, RefusedWritesAreReportedAndNotEnded) {
  ASSERT_NO_FATAL_FAILURE(PackImage());
  view_.onProgress = [&](int offset) {
    if (offset == 400) VhxSimSetFailWrites(sim_, id_, 1);
  };
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kIncomplete);
  ASSERT_EQ(view_.errors.size(), 1u);
  int writes = 0, ends = 0;
  Counts(writes, ends);
  EXPECT_EQ(writes, 100);
  EXPECT_EQ(ends, 0);  // the keypad keeps what it had
  EXPECT_TRUE(d_.programmingAllowed);
  EXPECT_TRUE(d_.memoryImageRead.empty());
  ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 0), VHXSIM_OK);
  EXPECT_TRUE(InEventUse());
}

// A clock that moves only with the pauses taken: the waits of an exchange are counted on it.
class PausedClock : public SystemCalls {
 public:
  std::uint32_t TickCount() override { return now; }
  void Sleep(unsigned ms) override {
    now += ms;
    ++pauses;
  }
  std::uint32_t now = 0xFFFFFF00;  // wraps during the write: the waits are differences
  int pauses = 0;
};

TEST_F(OnboardMemory, TheWaitsOfAWriteAreCountedOnThePlatformsClock) {
  struct Case {
    const char* name;
    int failFrom;  // the progress at which the keypad starts refusing
    MemoryWriteResult result;
    unsigned limitMs;
  };
  const Case cases[] = {
      {"refused chunks", 400, MemoryWriteResult::kIncomplete, 400},
      {"a refused end", kMemoryImageSize, MemoryWriteResult::kEndRefused, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(VhxSimSetFailWrites(sim_, id_, 0), VHXSIM_OK);
    ASSERT_NO_FATAL_FAILURE(PackImage());
    d_.memoryImageRead.clear();
    PausedClock clock;
    std::uint32_t refusedAt = 0;
    view_.onProgress = [&](int offset) {
      if (offset != c.failFrom) return;
      VhxSimSetFailWrites(sim_, id_, 1);
      refusedAt = clock.now;
    };
    EXPECT_EQ(WriteDeviceMacroMemory(clock, d_, view_, timings_), c.result);
    // Given up once the clock passed the limit, by pauses alone.
    EXPECT_GT(clock.pauses, 0);
    EXPECT_GT(clock.now - refusedAt, c.limitMs);
    EXPECT_LE(clock.now - refusedAt, c.limitMs + 20);
  }
}

TEST_F(OnboardMemory, EndOfWritingRefused) {
  ASSERT_NO_FATAL_FAILURE(PackImage());
  view_.onProgress = [&](int offset) {
    if (offset == kMemoryImageSize) VhxSimSetFailWrites(sim_, id_, 1);
  };
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kEndRefused);
  EXPECT_EQ(view_.errors.size(), 1u);
  EXPECT_TRUE(d_.programmingAllowed);
}

// A layout of keys 0, 1 and 2 over the fixture's keypad, its files in memory.
struct KeypadLayout {
  explicit KeypadLayout(DeviceRecord& record) : device(record) {
    context.device = &device;
    context.files = &files;
    for (int id : {0, 1, 2}) {
      KeyRecord key;
      key.keyId = static_cast<std::uint8_t>(id);
      context.keys.push_back(key);
    }
  }
  MemoryFileAccess files;
  DeviceRecordMacroDevice device;
  MacroContext context;
};

TEST_F(OnboardMemory, MacrosReadFromTheKeypadBecomeTheLayout) {
  DeviceMacroSet set;
  set.highestKey = 2;
  set.Resize(MacroTableSize(2));
  *set.Slot(kKeyDownGreen, 1) = {0xEC, 1, 6, 0xE8, 6, 0xEC, 0, 0};
  *set.Slot(kKeyDownGreen, 2) = {0xEA, 0};
  Bytes image;
  int used = 0;
  ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);
  ASSERT_EQ(VhxSimWriteMemory(sim_, id_, 0, image.data(), kMemoryImageSize), VHXSIM_OK);
  ASSERT_TRUE(ReadDeviceMacroMemory(platform_, d_, view_, timings_));

  KeypadLayout layout(d_);
  EXPECT_FALSE(ImportOnboardMacros(layout.context, d_));  // the device does not keep its macros
  d_.onboardMacros = true;
  ASSERT_TRUE(ImportOnboardMacros(layout.context, d_));
  ASSERT_EQ(layout.context.functions.count(), 1);
  EXPECT_EQ(KeyFunctionName(layout.context.functions.items[0]), "KeyDown_1_Green_Pnr()");
  EXPECT_EQ(layout.context.toggleKeys, (std::set<int>{2}));
  const std::string* file = layout.files.Get(layout.device.OwnScriptPath());
  ASSERT_NE(file, nullptr);
  EXPECT_NE(file->find("SendString(\"{Ctrl+c}\");"), std::string::npos);
}

TEST_F(OnboardMemory, LayoutsTheImageCannotHoldAreRefusedWithTheirReason) {
  KeypadLayout layout(d_);
  KeyRecord high;
  high.keyId = 0xA0;  // its directory entries would fall on the next directory's first
  layout.context.keys.push_back(high);
  MacroEntry e;
  e.event = KeyEvent::Down;
  e.colour = LayerColour::Green;
  e.program = "Pnr";
  ParseMacroStep(e, 0, L"<Return>", L"");
  layout.context.keys[1].entries.push_back(e);
  EXPECT_FALSE(PackDeviceMacroImage(layout.context, d_, view_));
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_NE(view_.errors[0].find("key 160"), std::string::npos) << view_.errors[0];
  EXPECT_EQ(d_.memoryImageLength, 0);

  layout.context.keys.pop_back();
  ParseMacroStep(layout.context.keys[1].entries[0], 8, L"/" + std::wstring(1400, L'x'), L"");
  EXPECT_FALSE(PackDeviceMacroImage(layout.context, d_, view_));
  ASSERT_EQ(view_.errors.size(), 2u);
  EXPECT_NE(view_.errors[1].find("do not fit"), std::string::npos);
  EXPECT_EQ(d_.memoryImageLength, 0);
  EXPECT_EQ(WriteDeviceMacroMemory(platform_, d_, view_, timings_), MemoryWriteResult::kNothingToWrite);

  layout.context.keys[1].entries[0].steps.resize(1);
  EXPECT_TRUE(PackDeviceMacroImage(layout.context, d_, view_));
  EXPECT_EQ(d_.memoryImageLength, 336);
}

TEST_F(OnboardMemory, MemoryTestReadsTheSignature) {
  PublishDeviceTable(&table_);
  SetCurrentDevice(&d_);
  SystemCalls platform;
  EXPECT_EQ(ExecuteMemoryTest(platform), 0);
  const std::uint8_t other[2] = {'X', 'X'};
  ASSERT_EQ(VhxSimWriteMemory(sim_, id_, VHXSIM_MEMORY_SIGNATURE + 1, other, 2), VHXSIM_OK);
  EXPECT_EQ(ExecuteMemoryTest(platform), -1);
  EXPECT_TRUE(InEventUse());
}

}  // namespace
