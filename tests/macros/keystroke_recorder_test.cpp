// The keystroke recorder fed with keyboard events through the platform's hook: the tokens and
// combinations it makes of them, what it does with them while recording and while editing,
// which events it swallows, and that its hook and every held key are gone when it stops.
#include "macros/keystroke_recorder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "macros/macro_editor_controller.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"

using namespace testsupport;

namespace {

void* const kBox = reinterpret_cast<void*>(0x1015);

// The editor as the recorder sees it: what reaches it is written down.
class EditorLog : public RecorderWindows {
 public:
  bool open = true;
  bool focus = true;
  std::vector<std::wstring> log;

  bool EditorOpen(void* box) override { return open && box == kBox; }
  bool FocusInEditor(void*) override { return focus; }
  bool InsertStep(void*, std::wstring_view step) override {
    log.push_back(L"step " + std::wstring(step));
    return true;
  }
  void EditKey(void*, EditingKey key) override { log.push_back(L"edit " + std::to_wstring(static_cast<int>(key))); }
  void PauseEdit(void*) override { log.push_back(L"pause"); }
};

struct Key {
  std::uint32_t vk;
  bool down;
  std::uint32_t flags = 0;
};
Key Down(std::uint32_t vk, std::uint32_t flags = 0) { return {vk, true, flags}; }
Key Up(std::uint32_t vk, std::uint32_t flags = 0) { return {vk, false, flags}; }

std::wstring Joined(const std::vector<std::wstring>& log) {
  std::wstring out;
  for (const std::wstring& line : log) out += (out.empty() ? L"" : L" / ") + line;
  return out;
}

class Recorder : public ::testing::Test {
 protected:
  void Feed(const std::vector<Key>& keys) {
    for (const Key& k : keys) calls_.FeedKey(k.vk, k.down, k.flags);
  }
  // Press and release of each key.
  void Tap(std::initializer_list<std::uint32_t> keys) {
    for (std::uint32_t vk : keys) calls_.TapKey(vk);
  }
  std::wstring Log() {
    const std::wstring out = Joined(editor_.log);
    editor_.log.clear();
    return out;
  }
  // The keystrokes sent on, as "vk+" (down) and "vk-" (up) in hex; each must carry the tag.
  std::string SentOn() {
    std::string out;
    for (const InputRecord& r : calls_.Inputs()) {
      EXPECT_EQ(r.extraInfo, KeystrokeRecorder::kSentOnTag);
      out +=
          (out.empty() ? "" : " ") + SystemCallsRecorder::Hex(r.virtualKey) + ((r.flags & kKeyEventKeyUp) ? "-" : "+");
    }
    calls_.ClearEvents();
    return out;
  }

  SystemCallsRecorder calls_;
  EditorLog editor_;
  KeystrokeRecorder recorder_{calls_, editor_};
};

TEST_F(Recorder, KeysBecomeCharactersKeyNamesAndCombinations) {
  struct Case {
    const char* name;
    std::vector<Key> keys;
    std::wstring expected;
  };
  const Case cases[] = {
      {"a letter", {Down('A'), Up('A')}, L"step /a"},
      {"a digit", {Down('1'), Up('1')}, L"step /1"},
      {"the space bar", {Down(VK_SPACE), Up(VK_SPACE)}, L"step / "},
      {"a named key", {Down(VK_F1), Up(VK_F1)}, L"step <F1>"},
      {"Enter", {Down(VK_RETURN), Up(VK_RETURN)}, L"step <Return>"},
      {"the keypad's Enter", {Down(VK_RETURN, kHookExtendedKey), Up(VK_RETURN, kHookExtendedKey)}, L"step <# Return>"},
      {"Shift alone", {Down(VK_LSHIFT), Up(VK_LSHIFT)}, L"step {Shift}"},
      {"Esc alone", {Down(VK_ESCAPE), Up(VK_ESCAPE)}, L"step {Esc}"},
      {"the Windows key alone", {Down(VK_LWIN), Up(VK_LWIN)}, L"step {WinKey}"},
      {"Ctrl C", {Down(VK_LCONTROL), Down('C'), Up('C'), Up(VK_LCONTROL)}, L"step {Ctrl+c}"},
      {"Ctrl Shift A",
       {Down(VK_LCONTROL), Down(VK_LSHIFT), Down('A'), Up('A'), Up(VK_LSHIFT), Up(VK_LCONTROL)},
       L"step {Ctrl+Shift+a}"},
      {"released in another order", {Down(VK_CONTROL), Down('C'), Up(VK_CONTROL), Up('C')}, L"step {Ctrl+c}"},
      {"Shift A", {Down(VK_RSHIFT), Down('A'), Up('A'), Up(VK_RSHIFT)}, L"step /A"},
      {"Shift 1", {Down(VK_SHIFT), Down('1'), Up('1'), Up(VK_SHIFT)}, L"step /!"},
      {"Shift F1", {Down(VK_LSHIFT), Down(VK_F1), Up(VK_F1), Up(VK_LSHIFT)}, L"step {Shift+<F1>}"},
      {"Ctrl Space", {Down(VK_LCONTROL), Down(VK_SPACE), Up(VK_SPACE), Up(VK_LCONTROL)}, L"step {Ctrl+<Space>}"},
      {"Alt F4", {Down(VK_LMENU), Down(VK_F4), Up(VK_F4), Up(VK_LMENU)}, L"step {Alt+<F4>}"},
      {"Ctrl and the keypad's plus", {Down(VK_LCONTROL), Down(VK_ADD), Up(VK_ADD), Up(VK_LCONTROL)},
       L"step {Ctrl+<# +>}"},
      {"a held modifier repeating",
       {Down(VK_LCONTROL), Down(VK_LCONTROL), Down(VK_LCONTROL), Down('C'), Up('C'), Up(VK_LCONTROL)},
       L"step {Ctrl+c}"},
      {"both Shift keys", {Down(VK_LSHIFT), Down(VK_RSHIFT), Up(VK_RSHIFT), Up(VK_LSHIFT)}, L"step {Shift}"},
      {"Alt with the Windows key", {Down(VK_LMENU), Down(VK_LWIN), Up(VK_LWIN), Up(VK_LMENU)}, L"pause"},
      {"the Windows key with Alt", {Down(VK_RWIN), Down(VK_RMENU), Up(VK_RMENU), Up(VK_RWIN)}, L"pause"},
      // Esc's release closes its part: the key after it is a key of its own.
      {"Esc then a letter", {Down(VK_ESCAPE), Up(VK_ESCAPE), Down('A'), Up('A')}, L"step {Esc} / step /a"},
      // Shift held on after a character: the key after it keeps its Shift.
      {"Shift held over several keys",
       {Down(VK_LSHIFT), Down('A'), Up('A'), Down('B'), Up('B'), Down(VK_F1), Up(VK_F1), Up(VK_LSHIFT)},
       L"step /A / step /B / step {Shift+<F1>}"},
      // A key without a name makes nothing, and holds up nothing after it.
      {"a key without a name",
       {Down(7), Up(7), Down(VK_LCONTROL), Down('C'), Up('C'), Up(VK_LCONTROL)},
       L"step {Ctrl+c}"},
      {"a nameless key in a combination", {Down(VK_LCONTROL), Down(7), Up(7), Up(VK_LCONTROL)}, L"step {Ctrl}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder_.Start(kBox);
    Feed(c.keys);
    EXPECT_EQ(Log(), c.expected);
    EXPECT_EQ(recorder_.ModifierState(), 0);
    recorder_.Stop();
  }
}

TEST_F(Recorder, TheKeypadsShiftedDigitIsOneCombinationWithNumLockOn) {
  recorder_.Start(kBox);
  calls_.SetKeyState(VK_NUMLOCK, 1);
  // Shift and keypad 7: the platform lets go of Shift for the key, which comes as Home.
  Feed({Down(VK_LSHIFT), Up(VK_LSHIFT), Down(VK_HOME), Up(VK_HOME), Down(VK_LSHIFT), Up(VK_LSHIFT)});
  EXPECT_EQ(Log(), L"step {Shift} / edit 8 / step {Shift+<#7>}");
  // The navigation keys themselves are extended, and a keypad key alone is its digit.
  Feed({Down(VK_HOME, kHookExtendedKey), Up(VK_HOME, kHookExtendedKey), Down(VK_HOME), Up(VK_HOME)});
  EXPECT_EQ(Log(), L"step <Home> / step <#7>") << "nothing to take back";
  // After a character nothing is taken back either.
  Feed({Down('A'), Up('A'), Down(VK_CLEAR), Up(VK_CLEAR)});
  EXPECT_EQ(Log(), L"step /a / step <#5>");
  calls_.SetKeyState(VK_NUMLOCK, 0);
  Feed({Down(VK_HOME), Up(VK_HOME)});
  EXPECT_EQ(Log(), L"step <Home>");
}

TEST_F(Recorder, EditingKeysEditAndOtherKeysAreSentOnToTheBox) {
  recorder_.Start(kBox);
  recorder_.ToggleRecording();
  ASSERT_FALSE(recorder_.Recording());
  struct Case {
    const char* name;
    std::vector<Key> keys;
    std::wstring expected;
    std::string sentOn;
  };
  const Case cases[] = {
      {"a character still goes in", {Down('A'), Up('A')}, L"step /a", ""},
      {"Shift and a character", {Down(VK_LSHIFT), Down('Q'), Up('Q'), Up(VK_LSHIFT)}, L"step /Q", ""},
      {"Ctrl C", {Down(VK_LCONTROL), Down('C'), Up('C'), Up(VK_LCONTROL)}, L"edit 67", ""},
      {"Ctrl X", {Down(VK_RCONTROL), Down('X'), Up('X'), Up(VK_RCONTROL)}, L"edit 88", ""},
      {"Ctrl V", {Down(VK_CONTROL), Down('V'), Up('V'), Up(VK_CONTROL)}, L"edit 86", ""},
      {"Delete", {Down(VK_DELETE, kHookExtendedKey), Up(VK_DELETE, kHookExtendedKey)}, L"edit 46", ""},
      {"Backspace", {Down(VK_BACK), Up(VK_BACK)}, L"edit 8", ""},
      {"Enter", {Down(VK_RETURN), Up(VK_RETURN)}, L"edit 13", ""},
      {"an arrow", {Down(VK_LEFT, kHookExtendedKey), Up(VK_LEFT, kHookExtendedKey)}, L"", "0x25+ 0x25-"},
      {"Shift End",
       {Down(VK_LSHIFT), Down(VK_END, kHookExtendedKey), Up(VK_END, kHookExtendedKey), Up(VK_LSHIFT)},
       L"",
       "0xa0+ 0x23+ 0x23- 0xa0-"},
      {"Ctrl Z", {Down(VK_LCONTROL), Down('Z'), Up('Z'), Up(VK_LCONTROL)}, L"", "0xa2+ 0x5a+ 0x5a- 0xa2-"},
      {"Alt with the Windows key", {Down(VK_LMENU), Down(VK_LWIN), Up(VK_LWIN), Up(VK_LMENU)}, L"pause", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Feed(c.keys);
    EXPECT_EQ(Log(), c.expected);
    EXPECT_EQ(SentOn(), c.sentOn);
  }
  // What the recorder sends on comes back to its hook, and passes untouched.
  EXPECT_FALSE(calls_.FeedKey(VK_LEFT, true, kHookExtendedKey | kHookInjected, KeystrokeRecorder::kSentOnTag));
  EXPECT_FALSE(calls_.FeedKey(VK_LEFT, false, kHookExtendedKey | kHookInjected, KeystrokeRecorder::kSentOnTag));
  EXPECT_EQ(Log(), L"");
  EXPECT_EQ(SentOn(), "");

  // The keypad correction takes back nothing that was sent on rather than put in.
  calls_.SetKeyState(VK_NUMLOCK, 1);
  Feed({Down(VK_LSHIFT), Up(VK_LSHIFT), Down(VK_HOME), Up(VK_HOME), Down(VK_LSHIFT), Up(VK_LSHIFT)});
  EXPECT_EQ(Log(), L"");
  const std::string sent = SentOn();
  EXPECT_EQ(sent.substr(0, 11), "0xa0+ 0xa0-") << sent;
}

TEST_F(Recorder, KeysAreSwallowedOnlyWhileTheEditorHasTheFocus) {
  recorder_.Start(kBox);
  EXPECT_TRUE(calls_.FeedKey('A', true));
  EXPECT_TRUE(calls_.FeedKey('A', false));
  EXPECT_EQ(Log(), L"step /a");

  // Elsewhere (a hidden editor) keys are recorded and go on.
  editor_.focus = false;
  EXPECT_FALSE(calls_.FeedKey('B', true));
  EXPECT_FALSE(calls_.FeedKey('B', false));
  EXPECT_EQ(Log(), L"step /b");
  // While editing, keys elsewhere reach their window by themselves: nothing is sent on again.
  recorder_.ToggleRecording();
  EXPECT_FALSE(calls_.TapKey(VK_LEFT, kHookExtendedKey));
  EXPECT_EQ(SentOn(), "");

  // Without an open editor every key passes untouched.
  editor_.focus = true;
  editor_.open = false;
  EXPECT_FALSE(calls_.TapKey('C'));
  EXPECT_EQ(Log(), L"");
}

TEST_F(Recorder, StoppingRemovesTheHookAndForgetsEveryHeldKey) {
  EXPECT_FALSE(calls_.KeyboardHookSet());
  recorder_.Start(kBox);
  recorder_.Start(kBox);
  EXPECT_TRUE(calls_.KeyboardHookSet());
  EXPECT_EQ(calls_.KeyboardHooksSet(), 1);
  EXPECT_TRUE(recorder_.Recording());

  Feed({Down(VK_LCONTROL), Down(VK_LMENU), Down(VK_LSHIFT), Down(VK_LWIN), Down(VK_ESCAPE)});
  EXPECT_EQ(recorder_.ModifierState(), kRecorderCtrl | kRecorderAlt | kRecorderShift | kRecorderWinKey | kRecorderEsc);
  EXPECT_EQ(recorder_.ModifierState(), 199);
  // Stopped with the keys still held: their releases never come.
  recorder_.Stop();
  EXPECT_FALSE(calls_.KeyboardHookSet());
  EXPECT_EQ(calls_.KeyboardHooksRemoved(), 1);
  EXPECT_FALSE(recorder_.Recording());
  EXPECT_EQ(recorder_.ModifierState(), 0);
  recorder_.Stop();
  EXPECT_EQ(calls_.KeyboardHooksRemoved(), 1);

  recorder_.Start(kBox);
  Tap({'A'});
  EXPECT_EQ(Log(), L"step /a") << "no Shift left over";
  EXPECT_EQ(calls_.Events(), "");

  // A removal the platform refuses is shown; the hook is forgotten all the same.
  calls_.FailHookRemoval("Access is denied.");
  recorder_.Stop();
  EXPECT_EQ(calls_.Events(), "box 0x0 \"Error\" \"Access is denied.\" Ok Information");
  EXPECT_FALSE(recorder_.HookSet());
  calls_.FailHookRemoval("");
}

// The recorder in front of the editor without its window: the macro a newcomer types.
class EditorBehind : public RecorderWindows {
 public:
  explicit EditorBehind(MacroEditorController& editor) : editor_(editor) {}
  bool EditorOpen(void*) override { return !editor_.Closed(); }
  bool FocusInEditor(void*) override { return true; }
  bool InsertStep(void*, std::wstring_view step) override { return editor_.InsertStep(step); }
  void EditKey(void*, EditingKey key) override { editor_.EditKey(key); }
  void PauseEdit(void*) override {}

 private:
  MacroEditorController& editor_;
};

TEST(RecorderIntoTheEditor, TypedKeysMakeOneTypedTextAndEditingKeysEditIt) {
  SystemCallsRecorder calls;
  calls.UseMemoryClipboard();
  EditorKeypad pad;
  std::string folder;
  MacroEditorController editor(pad.context, 3, calls, folder);
  editor.Open();
  EditorBehind behind(editor);
  KeystrokeRecorder recorder(calls, behind);
  recorder.Start(kBox);
  for (std::uint32_t vk : {'H', 'E', 'L', 'L', 'O'}) {
    if (vk == 'H') calls.FeedKey(VK_LSHIFT, true);
    calls.TapKey(vk);
    if (vk == 'H') calls.FeedKey(VK_LSHIFT, false);
  }
  calls.FeedKey(VK_LSHIFT, true);
  calls.TapKey('A');
  calls.FeedKey(VK_LSHIFT, false);
  calls.TapKey(VK_F5);
  EXPECT_EQ(StepTexts(FindMacroEntry(pad.context)), L"/HelloA|<F5>");

  // Editing: the caret after "Hello", Backspace and Ctrl+C on a selection.
  recorder.ToggleRecording();
  editor.SelectionChanged(EditorBox::KeyDown, {5, 5});
  calls.TapKey(VK_BACK);
  EXPECT_EQ(StepTexts(FindMacroEntry(pad.context)), L"/HellA|<F5>");
  editor.SelectionChanged(EditorBox::KeyDown, {0, 9});
  calls.FeedKey(VK_LCONTROL, true);
  calls.TapKey('C');
  calls.FeedKey(VK_LCONTROL, false);
  EXPECT_EQ(calls.ClipboardText(), "HellA");
  EXPECT_EQ(StepTexts(FindMacroEntry(pad.context)), L"/HellA|<F5>") << "Ctrl+C is no step while editing";
  recorder.Stop();
}

}  // namespace
