#include "macros/keystroke_recorder_window.h"

#include <windows.h>

#include "macros/macro_editor_ids.h"
#include "macros/macro_editor_window.h"

namespace {

HWND BoxOf(void* box) { return static_cast<HWND>(box); }

}  // namespace

bool MacroEditorBoxes::EditorOpen(void* box) {
  const MacroEditorWindow* editor = box ? MacroEditorWindow::OfBox(BoxOf(box)) : nullptr;
  return editor && editor->IsEditing();
}

bool MacroEditorBoxes::FocusInEditor(void* box) {
  // Windows inside the editor, not those it owns: its own message boxes take their keys.
  const HWND editor = GetParent(BoxOf(box));
  const HWND focus = GetFocus();
  return editor && focus && (focus == editor || IsChild(editor, focus));
}

bool MacroEditorBoxes::InsertStep(void* box, std::wstring_view step) { return InsertRecordedStep(BoxOf(box), step); }

void MacroEditorBoxes::EditKey(void* box, EditingKey key) { EditRecordedKey(BoxOf(box), key); }

void MacroEditorBoxes::PauseEdit(void* box) {
  SendMessageA(GetParent(BoxOf(box)), WM_COMMAND, IDC_MACRO_PAUSE_EDIT, 0);
  if (IsWindow(BoxOf(box))) SetFocus(BoxOf(box));
}
