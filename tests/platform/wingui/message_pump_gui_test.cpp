// The thread's pump: the dialog keys of registered modeless dialogs, their accelerators, hooks
// in their order, and WM_QUIT left for the loop outside.
#include "platform/wingui/message_pump.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/wingui/controls.h"
#include "platform/wingui/dialog.h"
#include "platform/wingui/rich_edit.h"
#include "tests/platform/wingui/wingui_test_resources.h"
#include "tests/support/win_test.h"

using namespace wingui;

namespace {

constexpr UINT kProbeMessage = WM_APP + 5;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class KeyDialog : public Dialog {
 public:
  KeyDialog() : Dialog(IDD_PROBE) {}
  std::vector<int> commands;
  int probes = 0;
  int tabs = 0;  // the dialog manager moving the focus on

 protected:
  // Menu and accelerator commands only, not the controls' notifications.
  bool OnCommand(int id, int code, HWND control) override {
    if (!control) commands.push_back(id);
    return Dialog::OnCommand(id, code, control);
  }
  bool HandleMessage(Message& m) override {
    if (m.id == kProbeMessage) ++probes;
    if (m.id == WM_NEXTDLGCTL) ++tabs;
    return Dialog::HandleMessage(m);
  }
};

class Pump : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadRichEdit());
    ASSERT_TRUE(InitCommonControls(ICC_LISTVIEW_CLASSES));
  }
  void SetUp() override {
    ASSERT_TRUE(dialog_.CreateModeless(nullptr));
    first_ = dialog_.Item(IDC_FIRST_EDIT);
  }
  // A key as the keyboard would queue it for the focused control.
  void PressKey(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  }

  MessagePump& pump_ = MessagePump::ForThisThread();
  KeyDialog dialog_;
  HWND first_ = nullptr;
};

// The focus itself is not looked at: other tests' windows on the display may take the
// activation at any time. The dialog manager asks the dialog to move it on instead.
TEST_F(Pump, TabGoesToTheDialogManagerOnlyInARegisteredDialog) {
  pump_.RemoveDialog(dialog_.hwnd());
  PressKey(first_, VK_TAB);
  EXPECT_TRUE(pump_.PumpPending());
  EXPECT_EQ(dialog_.tabs, 0);  // a plain loop hands Tab to the edit, which ignores it

  pump_.AddDialog(dialog_.hwnd());
  PressKey(first_, VK_TAB);
  EXPECT_TRUE(pump_.PumpPending());
  EXPECT_EQ(dialog_.tabs, 1);
}

TEST_F(Pump, ADialogsAcceleratorsComeBeforeItsKeys) {
  const HACCEL keys = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_PROBE_KEYS));
  ASSERT_NE(keys, nullptr);
  pump_.AddDialog(dialog_.hwnd(), keys);  // again: only the table changes
  EXPECT_EQ(pump_.Size(), 1u);
  PressKey(first_, VK_F7);
  pump_.PumpPending();
  EXPECT_EQ(dialog_.commands, std::vector<int>{IDM_PROBE_KEY});
  // Escape is a dialog key: the dialog manager turns it into Cancel, which ends the dialog.
  PressKey(first_, VK_ESCAPE);
  pump_.PumpPending();
  EXPECT_FALSE(dialog_.IsOpen());
  EXPECT_EQ(pump_.Size(), 0u);
}

TEST_F(Pump, HooksSeeMessagesInTheirOrderUntilTheirRegistrationGoes) {
  std::vector<int> calls;
  // The dialog, added first, takes its own messages before any hook.
  auto late = pump_.AddHook([&](MSG& msg) {
    if (msg.message == kProbeMessage) calls.push_back(0);
    return false;
  });
  dialog_.Post(kProbeMessage, 1);
  pump_.PumpPending();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(dialog_.probes, 1);
  late.Reset();
  pump_.RemoveDialog(dialog_.hwnd());

  auto taker = pump_.AddHook([&](MSG& msg) {
    if (msg.message != kProbeMessage) return false;
    calls.push_back(1);
    return msg.wParam == 1;
  });
  auto watcher = pump_.AddHook([&](MSG& msg) {
    if (msg.message == kProbeMessage) calls.push_back(2);
    return false;
  });
  dialog_.Post(kProbeMessage, 1);
  pump_.PumpPending();
  EXPECT_EQ(dialog_.probes, 1);  // taken before it reached the dialog
  dialog_.Post(kProbeMessage, 2);
  calls.clear();
  pump_.PumpPending();
  EXPECT_EQ(calls, (std::vector<int>{1, 2}));
  EXPECT_EQ(dialog_.probes, 2);

  taker.Reset();
  calls.clear();
  dialog_.Post(kProbeMessage, 1);
  pump_.PumpPending();
  EXPECT_EQ(calls, std::vector<int>{2});
  EXPECT_EQ(dialog_.probes, 3);
}

TEST_F(Pump, DialogsThatAreGoneAreDropped) {
  const HWND raw = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROBE), nullptr,
                                      PlainDialogProc, 0);
  ASSERT_NE(raw, nullptr);
  pump_.AddDialog(raw);
  EXPECT_EQ(pump_.Size(), 2u);
  DestroyWindow(raw);
  dialog_.Post(kProbeMessage);
  pump_.PumpPending();
  EXPECT_EQ(pump_.Size(), 1u);
  EXPECT_EQ(dialog_.probes, 1);
}

TEST_F(Pump, AQuitStopsThePumpAndStaysForTheLoopOutside) {
  dialog_.Post(kProbeMessage);
  PostQuitMessage(3);
  EXPECT_FALSE(pump_.PumpPending());
  EXPECT_EQ(dialog_.probes, 1);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);

  dialog_.Post(kProbeMessage);
  PostQuitMessage(5);
  EXPECT_EQ(pump_.Run(), 5);
  EXPECT_EQ(dialog_.probes, 2);
}

DWORD WINAPI PumpOnAThreadOfItsOwn(void* result) {
  MessagePump& pump = MessagePump::ForThisThread();
  const auto hook = pump.AddHook([](MSG&) { return false; });
  PostThreadMessageA(GetCurrentThreadId(), kProbeMessage, 0, 0);
  pump.PumpPending();
  *static_cast<MessagePump**>(result) = &pump;
  return 0;
}

TEST_F(Pump, EachThreadHasItsOwn) {
  MessagePump* other = nullptr;
  std::thread([&] { other = &MessagePump::ForThisThread(); }).join();
  EXPECT_NE(other, &pump_);
  EXPECT_EQ(&MessagePump::ForThisThread(), &pump_);
  // A thread of the platform's own (as the device thread is) makes and ends its pump too.
  MessagePump* platformThreads = nullptr;
  const HANDLE thread = CreateThread(nullptr, 10240, PumpOnAThreadOfItsOwn, &platformThreads, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
  CloseHandle(thread);
  EXPECT_NE(platformThreads, nullptr);
  EXPECT_NE(platformThreads, &pump_);
}

}  // namespace
