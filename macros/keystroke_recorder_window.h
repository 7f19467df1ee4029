#pragma once
// The "Macro Input" editor's windows as the program's keystroke recorder reaches them, each
// editor found from its box through the window layer.

#include "macros/keystroke_recorder.h"

class MacroEditorBoxes : public RecorderWindows {
 public:
  bool EditorOpen(void* box) override;
  bool FocusInEditor(void* box) override;
  bool InsertStep(void* box, std::wstring_view step) override;
  void EditKey(void* box, EditingKey key) override;
  void PauseEdit(void* box) override;
};
