// SendString through the platform's input injection: text, key names and key combinations
// typed into an edit control of the test's own window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "platform/base/system_calls.h"
#include "runtime/functions/keystroke_sender.h"
#include "runtime/keys/key_name_tables.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

WNDPROC editProc = nullptr;

// Ctrl+A selects everything, as in the platform's newer edit controls; Wine's plain one only
// sees the control character.
LRESULT CALLBACK SelectAllEdit(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHAR && wp == 1) {
    SendMessageA(hwnd, EM_SETSEL, 0, -1);
    return 0;
  }
  return CallWindowProcA(editProc, hwnd, msg, wp, lp);
}

// One window for all cases: destroying the active window costs Wine about 2 s.
class TypedInput : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitKeyNameTables();
    window_ = CreateWindowExA(0, "STATIC", "Keystroke target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              50, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "",
                            WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                            0, 0, 380, 250, window_, nullptr, nullptr, nullptr);
    if (edit_)
      editProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SelectAllEdit)));
  }
  static void TearDownTestSuite() {
    // A failed case may have left a modifier down for the tests that run after this one.
    for (WORD vk : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU}) {
      INPUT up{};
      up.type = INPUT_KEYBOARD;
      up.ki.wVk = vk;
      up.ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(1, &up, sizeof up);
    }
    if (window_) DestroyWindow(window_);
    ClearKeyNameTables();
  }
  void SetUp() override {
    ASSERT_NE(edit_, nullptr);
    SetWindowTextA(edit_, "");
    SetForegroundWindow(window_);
    SetFocus(edit_);
    ASSERT_TRUE(WaitUntil([&] { return GetFocus() == edit_; }, 5000));
    // Typed text depends on Caps Lock; nothing may be left held.
    ASSERT_FALSE(platform_.ReadLockStates().capsLock);
    ASSERT_FALSE(ModifierDown());
  }

  // Sends the steps, then waits until the edit control shows the text.
  ::testing::AssertionResult Types(std::initializer_list<const char*> steps,
                                   const std::string& expected) {
    for (const char* step : steps) SendString(platform_, step);
    if (WaitUntil([&] { return WindowText(edit_) == expected; }, 5000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shows \"" << WindowText(edit_) << "\"";
  }
  static bool ModifierDown() {
    PumpMessages(20);
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL})
      if (GetKeyState(vk) < 0) return true;
    return false;
  }

  static inline SystemCalls platform_;  // the platform's own injection
  static inline HWND window_ = nullptr;
  static inline HWND edit_ = nullptr;
};

TEST_F(TypedInput, TextWithShiftedCharacters) {
  EXPECT_TRUE(Types({"Hello, World! 1+2=3", "/x_y"}, "Hello, World! 1+2=3x_y"));
  EXPECT_FALSE(ModifierDown());
}

// Script files carry characters beyond ASCII as ESC and five digits: they arrive as themselves.
TEST_F(TypedInput, CharactersBeyondTheKeys) {
  EXPECT_TRUE(Types({"/Caf\x1b" "00233 ", "\x1b" "00252ber"}, "Caf\xe9 \xfc" "ber"));
  EXPECT_FALSE(ModifierDown());
  EXPECT_TRUE(Types({"{Ctrl+a}", "<Delete>"}, ""));
}

TEST_F(TypedInput, KeyNames) {
  EXPECT_TRUE(Types({"ab", "<Backspace>", "c", "<Tab>", "d", "<Return>", "e"}, "ac\td\r\ne"));
  EXPECT_TRUE(Types({"<Home>", "<Delete>", "{Shift+<End>}", "Z"}, "ac\td\r\nZ"));
}

TEST_F(TypedInput, ModifierCombinations) {
  EXPECT_TRUE(Types({"{Shift+a}", "b"}, "Ab"));
  // Select all, then typing replaces the selection.
  EXPECT_TRUE(Types({"{Ctrl+a}", "new"}, "new"));
  EXPECT_TRUE(Types({"{Ctrl+<Left>}", "<End>", "{Shift+<Home>}", "<Backspace>"}, ""));
  EXPECT_FALSE(ModifierDown());
  // The right-hand Ctrl goes up again.
  EXPECT_TRUE(Types({"a", "{<Right Ctrl>+a}", "x"}, "x"));
  EXPECT_FALSE(ModifierDown());
  // Press-only and release-only steps hold Shift over typed text.
  EXPECT_TRUE(Types({"_{Shift}", "<Left>", "<Left>", "-{Shift}", "yz"}, "yz"));
}

// Macros run on the device thread, which never has the keyboard focus and reads no keyboard
// input: it sees the keyboard's lock states as they are. Wine 8 gives such a thread none
// (they read off); there the case is skipped.
TEST_F(TypedInput, CapsLockOfTheFocusedWindowOnAnotherThread) {
  const auto tapCapsLock = [] {
    SendString(platform_, "<CAPS>");
    PumpMessages(50);
  };
  tapCapsLock();
  ASSERT_TRUE(WaitUntil([] { return (GetKeyState(VK_CAPITAL) & 1) != 0; }, 2000));
  bool seen = false;
  std::thread([&] { seen = platform_.ReadLockStates().capsLock; }).join();
  ::testing::AssertionResult typed = ::testing::AssertionSuccess();
  if (seen) {
    std::thread device([] { SendString(platform_, "aB"); });
    device.join();
    typed = Types({}, "aB");
  }
  tapCapsLock();
  EXPECT_TRUE(WaitUntil([] { return (GetKeyState(VK_CAPITAL) & 1) == 0; }, 2000));
  EXPECT_TRUE(typed);
  if (!seen) GTEST_SKIP() << "this platform shows a thread without keyboard input no lock states";
}

// Reading the lock states must not touch the key states of the thread the keys go to: a
// Shift that it has taken but not yet applied to the next key would be lost.
TEST_F(TypedInput, ReadingTheLockStatesLeavesTheFocusedThreadsKeysAlone) {
  SendString(platform_, "_{Shift}");
  ASSERT_TRUE(WaitUntil([] { return GetKeyState(VK_SHIFT) < 0; }, 2000));
  std::thread([] { platform_.ReadLockStates(); }).join();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  SendString(platform_, "-{Shift}");
  EXPECT_TRUE(WaitUntil([] { return GetKeyState(VK_SHIFT) >= 0; }, 2000));
}

// The device thread types while the window's thread is still taking the earlier keys: every
// capital after a line break keeps its Shift.
TEST_F(TypedInput, CapitalsAfterReturnTypedFromAnotherThread) {
  constexpr int kLines = 100;
  std::thread device([] {
    for (int i = 0; i < kLines; ++i) {
      SendString(platform_, "<Return>");
      SendString(platform_, "Hello");
    }
  });
  std::string expected;
  for (int i = 0; i < kLines; ++i) expected += "\r\nHello";
  const ::testing::AssertionResult typed = Types({}, expected);
  device.join();
  EXPECT_TRUE(typed);
  EXPECT_FALSE(ModifierDown());
}

}  // namespace
