#include "macros/keystroke_recorder_window.h"

#include <windows.h>

#include "macros/keystroke_recorder.h"
#include "macros/macro_editor_ids.h"
#include "macros/macro_editor_window.h"
#include "macros/macro_recorder_hooks.h"

namespace {

HWND BoxOf(void* box) { return static_cast<HWND>(box); }

class EditorBoxes : public RecorderWindows {
 public:
  bool EditorOpen(void* box) override {
    MacroEditorWindow* editor = MacroEditorWindow::Current();
    return editor && box &&
           (editor->Box(EditorBox::KeyDown) == BoxOf(box) || editor->Box(EditorBox::KeyUp) == BoxOf(box));
  }
  bool FocusInEditor(void* box) override {
    // Windows inside the editor, not those it owns: its own message boxes take their keys.
    const HWND editor = GetParent(BoxOf(box));
    const HWND focus = GetFocus();
    return editor && focus && (focus == editor || IsChild(editor, focus));
  }
  bool InsertStep(void* box, std::wstring_view step) override { return InsertRecordedStep(BoxOf(box), step); }
  void EditKey(void* box, EditingKey key) override { EditRecordedKey(BoxOf(box), key); }
  void PauseEdit(void* box) override {
    SendMessageA(GetParent(BoxOf(box)), WM_COMMAND, IDC_MACRO_PAUSE_EDIT, 0);
    if (IsWindow(BoxOf(box))) SetFocus(BoxOf(box));
  }
};

}  // namespace

KeystrokeRecorder& ProgramKeystrokeRecorder() {
  static EditorBoxes boxes;
  static KeystrokeRecorder recorder(boxes);
  return recorder;
}

void InstallKeystrokeRecorder() {
  MacroRecorderHooks hooks;
  hooks.start = [](HWND box) { ProgramKeystrokeRecorder().Start(box); };
  hooks.stop = [] { ProgramKeystrokeRecorder().Stop(); };
  hooks.toggleRecording = [] { ProgramKeystrokeRecorder().ToggleRecording(); };
  hooks.setTarget = [](HWND box) { ProgramKeystrokeRecorder().SetTarget(box); };
  SetMacroRecorderHooks(hooks);
}
