// Step editing in the editor's boxes through the editor without a window: the selection kept on
// step boundaries, and the editing keys (Return, Delete, Backspace, Cut, Copy, Paste) on the
// steps, at the ends, on empty macros and with pasted text of every kind.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "macros/macro_editor_controller.h"
#include "macros/macro_editor_ids.h"
#include "macros/model/macro_context.h"
#include "macros/model/step_editing.h"
#include "tests/macros/macro_editor_fixture.h"
#include "tests/platform/base/system_calls_recorder.h"

using namespace testsupport;

namespace {

const std::wstring kHeld(kHeldSymbol);

class StepEditing : public ::testing::Test {
 protected:
  void SetUp() override { calls_.UseMemoryClipboard(); }

  // The editor of key 5 over these stored steps, its selection at `selection`.
  MacroEditorController& Open(const std::vector<std::wstring>& steps, MacroSelection selection = {}) {
    editor_.reset();
    pad_.context.functions = {};
    pad_.context.removedCommandIds.clear();
    std::vector<std::pair<std::wstring, std::wstring>> stored;
    for (const std::wstring& s : steps) stored.push_back({s, s == kHeld ? L"//KeyDown" : L""});
    if (!stored.empty()) pad_.Store(5, KeyEvent::Down, LayerColour::Green, "Pnr", stored);
    editor_ = std::make_unique<MacroEditorController>(pad_.context, 5, calls_, lastFolder_);
    editor_->SetOwner(reinterpret_cast<void*>(0x4242));
    editor_->Open();
    editor_->SelectionChanged(EditorBox::KeyDown, selection);
    return *editor_;
  }
  const MacroEntry* Entry() { return FindMacroEntry(pad_.context); }
  std::wstring Codes() {
    std::wstring out;
    for (const MacroItem& item : Entry()->codes) out += (out.empty() ? L"" : L"|") + item.text;
    return out;
  }
  void SetClipboard(const std::wstring& text) {
    calls_.SetClipboardData(CF_UNICODETEXT, SystemCallsRecorder::WideBytes(text));
  }

  SystemCallsRecorder calls_;
  std::string lastFolder_;
  EditorKeypad pad_;
  std::unique_ptr<MacroEditorController> editor_;
};

// Steps "ab", "<F1>" and "cd" take 0-2, 2-6 and 6-8.
TEST_F(StepEditing, TheSelectionNeverEndsInsideAStepButTypedText) {
  struct Case {
    MacroSelection remembered;
    MacroSelection now;
    MacroSelection expected;
  };
  const Case cases[] = {
      // A caret moved by one jumps the step the way it moved.
      {{2, 2}, {3, 3}, {6, 6}},
      {{6, 6}, {5, 5}, {2, 2}},
      // A click goes to the nearer end: beyond the middle (4) the end.
      {{0, 0}, {5, 5}, {6, 6}},
      {{0, 0}, {4, 4}, {2, 2}},
      {{8, 8}, {3, 3}, {2, 2}},
      // After a range, by the middle too, even one position from where it was.
      {{0, 2}, {3, 3}, {2, 2}},
      {{0, 6}, {5, 5}, {6, 6}},
      // Inside typed text and on boundaries nothing moves.
      {{0, 0}, {1, 1}, {1, 1}},
      {{0, 0}, {7, 7}, {7, 7}},
      {{0, 0}, {6, 6}, {6, 6}},
      // A range is widened over the steps its ends lie inside, and kept within the macro.
      {{0, 0}, {1, 3}, {1, 6}},
      {{0, 0}, {3, 7}, {2, 7}},
      {{0, 0}, {3, 5}, {2, 6}},
      {{0, 0}, {0, 8}, {0, 8}},
      {{0, 0}, {1, 20}, {1, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.remembered.start) + "," + std::to_string(c.remembered.end) + " -> " +
                 std::to_string(c.now.start) + "," + std::to_string(c.now.end));
    MacroEditorController& editor = Open({L"/ab", L"<F1>", L"/cd"}, c.remembered);
    ASSERT_EQ(editor.Selection().start, c.remembered.start);
    const bool moved = editor.SelectionChanged(EditorBox::KeyDown, c.now);
    EXPECT_EQ(editor.Selection().start, c.expected.start);
    EXPECT_EQ(editor.Selection().end, c.expected.end);
    EXPECT_EQ(moved, c.expected.start != c.now.start || c.expected.end != c.now.end);
  }
}

TEST_F(StepEditing, SymbolsAreWholeStepsAndAnEmptyMacroHasItsCaretAtTheStart) {
  MacroEditorController& editor = Open({L"/a", kHeld});  // "a" 0-1, "[↓]" 1-4
  EXPECT_TRUE(editor.SelectionChanged(EditorBox::KeyDown, {2, 2}));
  EXPECT_EQ(editor.Selection().start, 1);

  MacroEditorController& empty = Open({});
  EXPECT_TRUE(empty.SelectionChanged(EditorBox::KeyDown, {3, 5}));
  EXPECT_EQ(empty.Selection().start, 0);
  EXPECT_EQ(empty.Selection().end, 0);
  EXPECT_FALSE(empty.SelectionChanged(EditorBox::KeyDown, {0, 0}));
  // A box that is not the current one is not the editor's to move.
  EXPECT_FALSE(empty.SelectionChanged(EditorBox::KeyUp, {3, 5}));
}

TEST_F(StepEditing, EditingKeysChangeTheStepsAtTheSelection) {
  struct Case {
    std::vector<std::wstring> steps;
    MacroSelection selection;
    EditingKey key;
    std::wstring expected;  // the steps afterwards, joined by "|"
    int caret;
    bool changed = true;
  };
  const Case cases[] = {
      // Delete: the character after the caret in typed text, or the whole step after it.
      {{L"/abc"}, {1, 1}, EditingKey::Delete, L"/ac", 1},
      {{L"/ab", L"<F1>"}, {2, 2}, EditingKey::Delete, L"/ab", 2},
      {{L"/ab", L"<F1>", L"/cd"}, {2, 2}, EditingKey::Delete, L"/abcd", 2},
      {{L"<F1>", L"/cd"}, {0, 0}, EditingKey::Delete, L"/cd", 0},
      {{L"/a"}, {0, 0}, EditingKey::Delete, L"", 0},
      {{L"/ab", L"<F1>"}, {6, 6}, EditingKey::Delete, L"/ab|<F1>", 6, false},
      {{L"/a", kHeld}, {1, 1}, EditingKey::Delete, L"/a", 1},
      // Backspace: the character before the caret, or the whole step before it.
      {{L"/abc"}, {2, 2}, EditingKey::Backspace, L"/ac", 1},
      {{L"/ab", L"<F1>"}, {6, 6}, EditingKey::Backspace, L"/ab", 2},
      {{L"/ab", L"<F1>", L"/cd"}, {6, 6}, EditingKey::Backspace, L"/abcd", 2},
      {{L"<F1>", L"/ab"}, {4, 4}, EditingKey::Backspace, L"/ab", 0},
      {{L"/a", L"<F1>"}, {1, 1}, EditingKey::Backspace, L"<F1>", 0},
      {{L"/ab", L"<F1>"}, {0, 0}, EditingKey::Backspace, L"/ab|<F1>", 0, false},
      // A range: typed text keeps what lies outside it, other steps go whole.
      {{L"/ab", L"<F1>", L"/cd"}, {1, 7}, EditingKey::Delete, L"/ad", 1},
      {{L"/ab", L"<F1>", L"/cd"}, {1, 7}, EditingKey::Backspace, L"/ad", 1},
      {{L"/ab", L"<F1>", L"/cd"}, {0, 8}, EditingKey::Delete, L"", 0},
      // Return: a "<Return>" step at the caret, splitting typed text.
      {{L"/ab"}, {1, 1}, EditingKey::Return, L"/a|<Return>|/b", 9},
      {{L"/ab"}, {0, 2}, EditingKey::Return, L"<Return>", 8},
      // An empty macro takes none of them.
      {{}, {0, 0}, EditingKey::Return, L"", 0, false},
      {{}, {0, 0}, EditingKey::Delete, L"", 0, false},
      {{}, {0, 0}, EditingKey::Backspace, L"", 0, false},
      {{}, {0, 0}, EditingKey::Cut, L"", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.steps) + " " + std::to_string(c.selection.start) + "," +
                 std::to_string(c.selection.end) + " key " + std::to_string(static_cast<int>(c.key)));
    MacroEditorController& editor = Open(c.steps, c.selection);
    EXPECT_EQ(editor.EditKey(c.key), c.changed);
    EXPECT_EQ(StepTexts(Entry()), c.expected);
    EXPECT_EQ(editor.Selection().start, c.caret);
    EXPECT_EQ(editor.Selection().end, c.caret);
    // Typed text's code says what it types now, and the box shows what the steps hold.
    for (std::size_t i = 0; i < Entry()->steps.size(); ++i) {
      if (IsTypedText(Entry()->steps[i].text)) {
        EXPECT_EQ(Entry()->codes[i].text, SendStringCode(Entry()->steps[i].text));
      }
    }
    EXPECT_EQ(editor.State().keyDownText, MacroBoxText(*Entry()));
  }
}

TEST_F(StepEditing, CopyAndCutTakeTheTypedTextOfTheSelection) {
  MacroEditorController& editor = Open({L"/ab", L"<F1>", L"/cd"}, {0, 8});
  EXPECT_TRUE(editor.EditKey(EditingKey::Copy));
  EXPECT_EQ(calls_.ClipboardText(), "abcd");
  EXPECT_FALSE(calls_.ClipboardData(CF_UNICODETEXT)) << "plain text";
  EXPECT_EQ(StepTexts(Entry()), L"/ab|<F1>|/cd");

  SetClipboard(L"kept");
  Open({L"/ab", L"<F1>", L"/cd"}, {2, 6});
  EXPECT_FALSE(editor_->EditKey(EditingKey::Copy)) << "a selection without typed text copies nothing";
  EXPECT_EQ(calls_.ClipboardText(), "kept");

  Open({L"/ab", L"<F1>", L"/c\u00e9"}, {1, 8});
  EXPECT_TRUE(editor_->EditKey(EditingKey::Cut));
  EXPECT_EQ(calls_.ClipboardText(), "bc\xe9") << "in the program's code page";
  EXPECT_EQ(StepTexts(Entry()), L"/a");
  EXPECT_EQ(editor_->Selection().start, 1);

  // Nothing to cut from a caret; the steps stay.
  Open({L"/ab"}, {1, 1});
  EXPECT_FALSE(editor_->EditKey(EditingKey::Cut));
  EXPECT_EQ(StepTexts(Entry()), L"/ab");
}

TEST_F(StepEditing, PastedTextOfEveryKindBecomesTypedTextWithKeySteps) {
  struct Case {
    std::vector<std::wstring> steps;
    MacroSelection selection;
    std::wstring pasted;
    std::wstring expected;
    int caret;
  };
  const Case cases[] = {
      {{}, {0, 0}, L"Hello", L"/Hello", 5},
      {{L"/ab"}, {1, 1}, L"x\r\ny", L"/ax|<Return>|/yb", 11},
      {{}, {0, 0}, L"a\rb\nc\r\n", L"/a|<Return>|/b|<Return>|/c|<Return>", 27},
      {{}, {0, 0}, L"\r\n\r\n", L"<Return>|<Return>", 16},
      {{}, {0, 0}, L"a\tb", L"/a|<Tab>|/b", 7},
      {{}, {0, 0}, L"x\x01y\x1b\x7fz", L"/xyz", 3},
      {{}, {0, 0}, L"<F1>{Ctrl+c}[Delay 1.0]", L"/<F1>{Ctrl+c}[Delay 1.0]", 23},
      {{}, {0, 0}, L"say \"caf\u00e9\" \\o/", L"/say \"caf\u00e9\" \\o/", 14},
      {{L"/ab", L"<F1>", L"/cd"}, {2, 6}, L"Z", L"/abZcd", 3},
      {{L"<F1>"}, {0, 4}, L"new", L"/new", 3},
      {{L"<F1>"}, {4, 4}, L"x\ty", L"<F1>|/x|<Tab>|/y", 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.pasted));
    MacroEditorController& editor = Open(c.steps, c.selection);
    SetClipboard(c.pasted);
    EXPECT_TRUE(editor.EditKey(EditingKey::Paste));
    EXPECT_EQ(StepTexts(Entry()), c.expected);
    EXPECT_EQ(editor.Selection().start, c.caret);
    EXPECT_EQ(editor.Selection().end, c.caret);
  }
  // Plain text is pasted as the platform gives it in wide characters.
  MacroEditorController& editor = Open({L"/ab"}, {1, 1});
  calls_.SetClipboardData(CF_TEXT, {'x', '\t', 0, 'y'});
  EXPECT_TRUE(editor.EditKey(EditingKey::Paste));
  EXPECT_EQ(StepTexts(Entry()), L"/ax|<Tab>|/b");
  // No text on the clipboard, or an empty one: nothing goes in.
  calls_.SetClipboardData(CF_BITMAP, {1, 2, 3, 4});
  EXPECT_FALSE(editor.EditKey(EditingKey::Paste));
  SetClipboard(L"");
  EXPECT_FALSE(editor.EditKey(EditingKey::Paste));
  EXPECT_EQ(StepTexts(Entry()), L"/ax|<Tab>|/b");
}

TEST_F(StepEditing, PastedLinesAndTabsKeepTheScriptsStepMarkersWhole) {
  MacroEditorController& editor = Open({});
  SetClipboard(L"one\ttwo\r\nthree\rfour \"5\" \\ six\n");
  ASSERT_TRUE(editor.EditKey(EditingKey::Paste));
  const std::wstring steps = StepTexts(Entry());
  EXPECT_EQ(steps, L"/one|<Tab>|/two|<Return>|/three|<Return>|/four \"5\" \\ six|<Return>");
  EXPECT_EQ(editor.Command(IDOK), EditorAction::CloseAccepted);
  editor.Close(true);

  // Read back from the stored body, the macro has the same steps.
  const KeyFunction* f = pad_.Function(5, KeyEvent::Down, LayerColour::Green, "Pnr");
  ASSERT_NE(f, nullptr);
  MacroEntry back;
  ASSERT_TRUE(SplitMacroSteps(back, *f));
  EXPECT_EQ(StepTexts(&back), steps) << f->body;
}

TEST_F(StepEditing, ARemovedCustomCommandIsNotedAndLayerKeysTakeNoEditing) {
  pad_.StoreCommand(5, "Y");
  editor_ = std::make_unique<MacroEditorController>(pad_.context, 5, calls_, lastFolder_);
  editor_->Open();
  editor_->SelectionChanged(EditorBox::KeyDown, {0, 0});
  EXPECT_TRUE(editor_->EditKey(EditingKey::Delete));
  EXPECT_EQ(StepTexts(Entry()), L"");
  EXPECT_EQ(pad_.context.removedCommandIds, std::vector<int>{1});
  editor_->Close(false);

  MacroEditorController& editor = Open({L"/ab"}, {0, 2});
  editor.Command(IDM_MACRO_LAYER_TOGGLE);
  SetClipboard(L"x");
  for (EditingKey key : {EditingKey::Paste, EditingKey::Return, EditingKey::Delete, EditingKey::Copy})
    EXPECT_FALSE(editor.EditKey(key));
  EXPECT_EQ(editor.State().keyDownText, kToggleKeyNote);
}

}  // namespace
