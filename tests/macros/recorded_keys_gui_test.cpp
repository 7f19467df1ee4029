// Real keys, injected as the keyboard would type them, recorded by the keystroke recorder's
// platform hook into the "Macro Input" editor; while editing, the keys it sends on move the
// box's caret and selection, and never come back to it as steps. Needs the keyboard focus.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "macros/keystroke_recorder.h"
#include "tests/macros/recorder_editor_fixture.h"

using namespace testsupport;

namespace {

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

using RecordedKeys = RecorderEditor;

TEST_F(RecordedKeys, TypedKeysAreRecordedAndKeysSentOnMoveTheCaret) {
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  const HWND box = Box(editor);
  SetForegroundWindow(editor);
  SetFocus(box);
  PumpMessages(100);
  ASSERT_TRUE(Recorder().HookSet());
  const auto text = [&] { return Text(editor); };
  const auto selection = [&] { return Selection(editor); };

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
  ASSERT_FALSE(Recorder().Recording());
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
  EXPECT_FALSE(Recorder().HookSet());
  ASSERT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr")->body.find("SendString(\"{Ctrl+s}\");"), std::string::npos);
}

}  // namespace
