// The keystroke recorder in front of the real "Macro Input" editor, its hook fed through the
// platform's calls: keys go into the box that has the focus, Alt with the Windows key switches
// to editing, the editing keys edit the box's steps, a selection inside a step is put on its
// boundary, and every way the editor closes takes the hook away.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "macros/keystroke_recorder.h"
#include "tests/macros/recorder_editor_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"

using namespace testsupport;

namespace {

class RecorderWindow : public RecorderEditor {
 protected:
  void SetUp() override {
    RecorderEditor::SetUp();
    calls_.UseMemoryClipboard();
  }
  void Type(std::initializer_list<std::uint32_t> keys) {
    for (std::uint32_t vk : keys) calls_.TapKey(vk);
  }
  void Chord(std::uint32_t modifier, std::uint32_t key) {
    calls_.FeedKey(modifier, true);
    calls_.TapKey(key);
    calls_.FeedKey(modifier, false);
  }

  SystemCalls& Platform() override { return calls_; }

  SystemCallsRecorder calls_;
};

TEST_F(RecorderWindow, KeysGoIntoTheFocusedBoxAndEditingKeysEditIt) {
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(calls_.KeyboardHookSet());
  EXPECT_TRUE(Recorder().Recording());
  EXPECT_EQ(Recorder().Target(), Box(editor));
  SetFocus(Box(editor));

  Chord(VK_LSHIFT, 'H');
  Type({'E', 'L', 'L', 'O'});
  EXPECT_TRUE(calls_.FeedKey(VK_F1, true)) << "keys for the focused editor are swallowed";
  EXPECT_TRUE(calls_.FeedKey(VK_F1, false));
  Type({'X'});
  EXPECT_EQ(Text(editor), L"Hello<F1>x");
  SavePicture(editor, "keystroke_recorder_recorded");

  // Alt with the Windows key: editing, the button shown pushed, nothing recorded.
  EXPECT_EQ(GetWindowLongPtrA(editor, GWLP_USERDATA), 1);
  calls_.FeedKey(VK_LMENU, true);
  calls_.TapKey(VK_LWIN);
  calls_.FeedKey(VK_LMENU, false);
  EXPECT_EQ(GetWindowLongPtrA(editor, GWLP_USERDATA), 0);
  EXPECT_TRUE(SendDlgItemMessageA(editor, IDC_MACRO_PAUSE_EDIT, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_FALSE(Recorder().Recording());
  EXPECT_TRUE(calls_.KeyboardHookSet());
  EXPECT_EQ(GetFocus(), Box(editor));

  // Editing: a click inside "<F1>" near its start puts the caret before it; Backspace takes the
  // "o" before it, Delete the step after it.
  Select(editor, 6, 6);
  EXPECT_EQ(Selection(editor).first, 5);
  calls_.TapKey(VK_BACK);
  EXPECT_EQ(Text(editor), L"Hell<F1>x");
  EXPECT_EQ(Selection(editor).first, 4);
  calls_.TapKey(VK_DELETE, kHookExtendedKey);
  EXPECT_EQ(Text(editor), L"Hellx");
  // A range dragged into a step takes the whole step; Ctrl+C copies, Ctrl+V puts it back.
  Select(editor, 0, 5);
  Chord(VK_LCONTROL, 'C');
  EXPECT_EQ(calls_.ClipboardText(), "Hellx");
  Select(editor, 5, 5);
  Chord(VK_LCONTROL, 'V');
  EXPECT_EQ(Text(editor), L"HellxHellx");
  calls_.FeedKey(VK_RETURN, true);
  calls_.FeedKey(VK_RETURN, false);
  EXPECT_EQ(Text(editor), L"HellxHellx<Return>");
  Type({'Z'});
  EXPECT_EQ(Text(editor), L"HellxHellx<Return>z") << "characters go in while editing too";
  Select(editor, 0, 12);
  EXPECT_EQ(Selection(editor).second, 18) << "widened over <Return>";
  Chord(VK_LCONTROL, 'X');
  EXPECT_EQ(Text(editor), L"z");
  EXPECT_EQ(calls_.ClipboardText(), "HellxHellx");
  SavePicture(editor, "keystroke_recorder_edited");

  SendMessageA(editor, WM_COMMAND, IDOK, 0);
  ASSERT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr"), nullptr);
  EXPECT_NE(pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr")->body.find("SendString(\"/z\");"), std::string::npos);
  EXPECT_FALSE(calls_.KeyboardHookSet());
}

TEST_F(RecorderWindow, KeysElsewhereAreRecordedAndPassOn) {
  const HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  const HWND other = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 30, 200, 100, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
  SetFocus(other);
  ASSERT_EQ(GetFocus(), other);
  EXPECT_FALSE(calls_.FeedKey('A', true));
  EXPECT_FALSE(calls_.FeedKey('A', false));
  EXPECT_EQ(Text(editor), L"a");
  DestroyWindow(other);
}

TEST_F(RecorderWindow, EveryWayOutOfTheEditorTakesTheHookAway) {
  // OK refused by its checks leaves the editor recording.
  HWND editor = Open(5);
  ASSERT_NE(editor, nullptr);
  calls_.SetBoxAnswer(BoxAnswer::Ok);
  SendMessageA(editor, WM_COMMAND, IDM_MACRO_KEY_DOWN, 0);
  ClickButton(GetDlgItem(editor, IDOK));
  EXPECT_TRUE(IsWindow(editor));
  EXPECT_TRUE(calls_.KeyboardHookSet());
  ClickButton(GetDlgItem(editor, IDCANCEL));
  EXPECT_FALSE(calls_.KeyboardHookSet());

  struct Case {
    const char* name;
    std::function<void(HWND editor)> close;
  };
  const Case cases[] = {
      {"OK", [](HWND editor) { ClickButton(GetDlgItem(editor, IDOK)); }},
      {"Cancel", [](HWND editor) { ClickButton(GetDlgItem(editor, IDCANCEL)); }},
      {"the window's Close", [](HWND editor) { SendMessageA(editor, WM_CLOSE, 0, 0); }},
      {"the key again", [this](HWND) { editors_->Toggle(pad_.context, 0); }},
      {"the programming window's end",
       [this](HWND) {
         DestroyWindow(keypad_);
         keypad_ = nullptr;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    editor = Open(5);
    ASSERT_NE(editor, nullptr);
    // Editing or recording, and with a modifier held.
    ClickButton(GetDlgItem(editor, IDC_MACRO_PAUSE_EDIT));
    ClickButton(GetDlgItem(editor, IDC_MACRO_PAUSE_EDIT));
    EXPECT_TRUE(calls_.KeyboardHookSet());
    calls_.FeedKey(VK_LSHIFT, true);
    c.close(editor);
    PumpMessages(20);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_FALSE(calls_.KeyboardHookSet());
    EXPECT_EQ(Recorder().ModifierState(), 0);
  }
  EXPECT_EQ(calls_.KeyboardHooksSet(), calls_.KeyboardHooksRemoved());
}

}  // namespace
