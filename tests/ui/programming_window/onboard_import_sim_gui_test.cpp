// The tray's on-board request through the program's own hooks: the device thread reads the
// keypad's memory, opens its programming window in boot mode, and the macros found there
// become the layout and the unit's script. A macro changed in that window is in the keypad's
// memory once the window has closed, after one end of writing.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "macros/macro_editor_ids.h"
#include "macros/model/onboard_image.h"
#include "app/main_window.h"
#include "app/program_features.h"
#include "app/program_service_host.h"
#include "runtime/device/device_table.h"
#include "tests/platform/base/system_calls_recorder.h"
#include "tests/runtime/service/device_thread_fixture.h"
#include "ui/programming_window/programming_window.h"

using namespace testsupport;

namespace {

constexpr std::uint8_t kUnit = 1;
constexpr int kKey = 1;  // types "a" from the keypad's memory
constexpr char kEditorClass[] = "basicInputClass";

class OnboardWindow : public DeviceThread {
 protected:
  void SetUp() override {
    DeviceThread::SetUp();
    SetProgramMacroDefaults();
    UsePlatform(calls_);
    UseOwnHost<ProgramServiceHost>(calls_, features_);
  }

  std::string Script() const { return dir_ / "QpadDevices\\Vid0a7cPid0019\\Script_1.oxs"; }

  // The sample keypad's report: key codes count 16 a byte from byte 1, the programming switch is
  // bit 0x10 of byte 4, the unit id byte 7.
  void Report(std::uint8_t keys, bool programmingSwitch) {
    const std::uint8_t report[9] = {0, keys, 0, 0, static_cast<std::uint8_t>(programmingSwitch ? 0x10 : 0), 0, 0,
                                    kUnit, 0};
    VhxSimQueueInput(sim_, id_, report, 9);
  }

  // A programmed keypad whose memory has key 1 typing "a"; the tray's on-board request opens its
  // window, and the import has written the unit's script.
  void OpenOnboardWindow(HWND& window) {
    id_ = AddKeypad(kUnit);
    DeviceMacroSet set;
    set.highestKey = 2;
    set.Resize(MacroTableSize(2));
    *set.Slot(kKeyDownGreen, kKey) = {0x04, 0xE8, 0x04, 0};
    std::vector<std::uint8_t> image;
    int used = 0;
    ASSERT_EQ(EncodeDeviceMacroImage(set, image, used), ImagePackResult::kPacked);
    ASSERT_EQ(VhxSimWriteMemory(sim_, id_, 0, image.data(), kMemoryImageSize), VHXSIM_OK);
    // A device is programmed once it has a module.
    ASSERT_TRUE(WriteTextFile(Script(), "void KeyDown(int c) {}\r\nvoid KeyUp(int c) {}\r\n"));
    Start();
    ASSERT_TRUE(WaitForCount(1));
    ASSERT_TRUE(
        WaitUntil([&] { return FileExists(Script().substr(0, Script().size() - 4) + "_backup.oxs"); }, 10000));

    RequestDevice = GetDeviceTable()[0]->hidHandle;
    RequestCode = kRequestReadOnboard;
    WakeFirstDevice();
    WaitUntil([&] { return (window = FindOwnWindow(kProgrammingWindowClass)) != nullptr; }, 15000);
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitUntil([&] { return ReadFileOr(Script()).find("KeyDown_1_Green_Pnr") != std::string::npos; },
                          10000))
        << ReadFileOr(Script());
  }

  // The editor once the device thread has made it whole: shown, and its thread free again.
  static HWND Editor() {
    const HWND editor = FindOwnWindow(kEditorClass);
    if (!editor || !IsWindowVisible(editor)) return nullptr;
    SendMessageA(editor, WM_NULL, 0, 0);
    return editor;
  }

  // The keypad's memory as the device holds it now.
  DeviceMacroSet KeypadMacros() {
    std::vector<std::uint8_t> memory(kMemoryReadLength);
    EXPECT_EQ(VhxSimReadMemory(sim_, id_, 0, memory.data(), kMemoryReadLength), VHXSIM_OK);
    return DecodeDeviceMacroImage(memory, 2);
  }

  int id_ = 0;
  RecordedSystemCalls calls_;  // the program's message boxes
  ProgramFeatures features_;  // what the program's windows are opened with
  ScopedSystemCalls scoped_{calls_};
};

TEST_F(OnboardWindow, OnboardMacrosReadFromTheKeypadBecomeItsLayout) {
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOnboardWindow(window));
  EXPECT_TRUE(GetDeviceTable()[0]->onboardMacros);
  EXPECT_NE(WindowText(window).find(" - DEVICE IN BOOT MODE"), std::string::npos) << WindowText(window);
  // The switch in its programming position, so that the close's write does not ask for it.
  Report(0, true);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
  EXPECT_EQ(calls_.Events().find("box "), std::string::npos) << calls_.Events();
}

TEST_F(OnboardWindow, AMacroChangedInBootModeIsInTheKeypadAfterTheClose) {
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOnboardWindow(window));
  int writes = -1, ends = -1;
  ASSERT_EQ(VhxSimMemoryCounts(sim_, id_, &writes, &ends), VHXSIM_OK);
  ASSERT_EQ(ends, 0);

  // Key 1 pressed on the keypad, its switch on: its editor opens; its macro becomes a delay.
  Report(1 << kKey, true);
  Report(0, true);
  ASSERT_TRUE(WaitUntil([] { return Editor() != nullptr; }, 5000));
  const HWND editor = Editor();
  SendMessageA(editor, WM_COMMAND, IDC_MACRO_CLEAR, 0);
  SendMessageA(editor, WM_COMMAND, IDM_MACRO_DELAY_FIRST + 1, 0);  // one second
  PostMessageA(GetDlgItem(editor, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5000));

  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 20000));
  const DeviceMacroSet macros = KeypadMacros();
  ASSERT_NE(macros.Find(kKeyDownGreen, kKey), nullptr);
  EXPECT_EQ(*macros.Find(kKeyDownGreen, kKey), (std::vector<std::uint8_t>{0xE9, 0xE9, 0xE9, 0xE9, 0}));
  ASSERT_EQ(VhxSimMemoryCounts(sim_, id_, &writes, &ends), VHXSIM_OK);
  EXPECT_GT(writes, 0);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(calls_.Events().find("box "), std::string::npos) << calls_.Events();
}

}  // namespace
