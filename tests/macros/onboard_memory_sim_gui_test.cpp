// The on-board memory's dialogs: the progress of a write and the prompt to move the programming
// switch, whose Cancel ends the wait; both pictured.
#include "macros/onboard_memory_dialogs.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "macros/model/onboard_image.h"
#include "macros/onboard_memory_ids.h"
#include "platform/base/system_calls.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/runtime/device/sim_device.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

TEST(OnboardMemoryDialogs, SwitchPromptOverTheProgressCancelsTheWrite) {
  FreeDeviceFolders();
  InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.model = VHXSIM_MODEL_KEYPAD;
  VhxSim* sim = nullptr;
  int id = 0;
  DeviceRecord d;
  ASSERT_NO_FATAL_FAILURE(AttachSimulatedDevice(spec, sim, id, d));
  DeviceMacroSet set;
  set.highestKey = 0x10;
  set.Resize(MacroTableSize(0x10));
  *set.Slot(kKeyDownGreen, 0) = {0x04, 0};
  ASSERT_EQ(EncodeDeviceMacroImage(set, d.memoryImage, d.memoryImageLength), ImagePackResult::kPacked);
  RecordedSystemCalls calls;
  ScopedSystemCalls scoped(calls);

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
  OnboardMemoryDialogs dialogs;
  const MemoryWriteResult result = WriteDeviceMacroMemory(d, dialogs, timings);
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

}  // namespace
