// Real keys, injected as the keyboard would type them, recorded by the keystroke recorder's
// platform hook into the "Macro Input" editor; while editing, the keys it sends on move the
// box's caret and selection, and never come back to it as steps. Needs the keyboard focus.
#include <gtest/gtest.h>
#include <windows.h>
#include <richedit.h>

#include <string>

#include "macros/keystroke_recorder.h"
#include "macros/keystroke_recorder_window.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_ids.h"
#include "macros/macro_editor_window.h"
#include "macros/macro_recorder_hooks.h"
#include "platform/wingui/rich_edit.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/support/win_test.h"

using namespace testsupport;

namespace {

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// A key as the keyboard sends it: its virtual key with its scan code (Wine types nothing from a
// scan code alone).
void SendKey(WORD vk, bool down, bool extended = false, ULONG_PTR extraInfo = 0) {
  INPUT in{};
  in.ki.dwExtraInfo = extraInfo;
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  SendInput(1, &in, sizeof in);
  PumpMessages(20);
}
void Tap(WORD vk, bool extended = false) {
  SendKey(vk, true, extended);
  SendKey(vk, false, extended);
}
void Chord(WORD modifier, WORD vk, bool extended = false) {
  SendKey(modifier, true);
  Tap(vk, extended);
  SendKey(modifier, false);
}

std::wstring ClipboardText() {
  std::wstring text = L"<none>";
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

class RecordedKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallKeystrokeRecorder();
    WNDCLASSA wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RecordedKeysKeypad";
    RegisterClassA(&wc);
    keypad_ = CreateWindowExA(0, "RecordedKeysKeypad", "Keypad", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(keypad_, nullptr);
    SetWindowLongPtrA(keypad_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pad_.context));
    pad_.device.window = keypad_;
    ASSERT_TRUE(RegisterMacroEditorClass());
  }
  void TearDown() override {
    if (MacroEditorWindow* open = MacroEditorWindow::Current()) DestroyWindow(open->hwnd());
    DestroyWindow(keypad_);
    SetMacroRecorderHooks({});
  }

  EditorKeypad pad_;
  HWND keypad_ = nullptr;
};

TEST_F(RecordedKeys, TypedKeysAreRecordedAndKeysSentOnMoveTheCaret) {
  ToggleMacroEditor(pad_.context, FindKeyIndex(pad_.context.keys, 5));
  MacroEditorWindow* open = MacroEditorWindow::Current();
  ASSERT_NE(open, nullptr);
  const HWND editor = open->hwnd();
  const HWND box = GetDlgItem(editor, IDC_MACRO_KEY_DOWN);
  SetForegroundWindow(editor);
  SetFocus(box);
  PumpMessages(100);
  ASSERT_TRUE(ProgramKeystrokeRecorder().HookSet());
  const auto text = [&] { return wingui::RichEdit(box).TextWide(); };
  const auto selection = [&] {
    CHARRANGE range{};
    SendMessageA(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return std::make_pair(static_cast<int>(range.cpMin), static_cast<int>(range.cpMax));
  };

  Chord(VK_SHIFT, 'H');
  for (WORD vk : {'E', 'L', 'L', 'O'}) Tap(vk);
  Chord(VK_SHIFT, 'A');
  Tap(VK_F1);
  Chord(VK_CONTROL, 'S');
  EXPECT_TRUE(WaitUntil([&] { return text() == L"HelloA<F1>{Ctrl+s}"; }, 2000)) << text().c_str();
  SavePicture(editor, "recorded_keys");
  // Keys that carry the recorder's own tag pass it untouched.
  SendKey('Q', true, false, KeystrokeRecorder::kSentOnTag);
  SendKey('Q', false, false, KeystrokeRecorder::kSentOnTag);
  PumpMessages(100);
  EXPECT_EQ(text(), L"HelloA<F1>{Ctrl+s}");

  // Editing: the arrows, Home and Shift+End reach the box as keys, and none becomes a step.
  ClickButton(GetDlgItem(editor, IDC_MACRO_PAUSE_EDIT));
  SetFocus(box);
  ASSERT_FALSE(ProgramKeystrokeRecorder().Recording());
  SendMessageA(box, EM_SETSEL, 18, 18);
  Tap(VK_LEFT, true);
  EXPECT_TRUE(WaitUntil([&] { return selection() == std::make_pair(10, 10); }, 2000))
      << "the caret jumps over {Ctrl+s}: " << selection().first;
  Tap(VK_LEFT, true);
  EXPECT_TRUE(WaitUntil([&] { return selection() == std::make_pair(6, 6); }, 2000)) << selection().first;
  Tap(VK_HOME, true);
  EXPECT_TRUE(WaitUntil([&] { return selection() == std::make_pair(0, 0); }, 2000)) << selection().first;
  Chord(VK_SHIFT, VK_RIGHT, true);
  Chord(VK_SHIFT, VK_RIGHT, true);
  EXPECT_TRUE(WaitUntil([&] { return selection() == std::make_pair(0, 2); }, 2000)) << selection().second;
  Chord(VK_CONTROL, 'C');
  EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == L"He"; }, 2000)) << ClipboardText().c_str();
  Tap(VK_DELETE, true);
  PumpMessages(100);
  EXPECT_EQ(text(), L"lloA<F1>{Ctrl+s}");

  SendMessageA(editor, WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(ProgramKeystrokeRecorder().HookSet());
  ASSERT_NE(pad_.Function(5, "KeyDown", "Green", "Pnr"), nullptr);
  EXPECT_NE(pad_.Function(5, "KeyDown", "Green", "Pnr")->body.find("SendString(\"{Ctrl+s}\");"), std::string::npos);
}

}  // namespace
