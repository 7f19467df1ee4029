#pragma once
// The keystroke recorder as the "Macro Input" editor drives it: started on a box, stopped,
// switched between recording and editing, and pointed at the box that has become current. The
// recorder fills these in once; until then (and for any left null) the editor records nothing.
// Typed and recorded steps come back through InsertRecordedStep (macro_editor_window.h).

#include <windows.h>

struct MacroRecorderHooks {
  void (*start)(HWND box) = nullptr;
  void (*stop)() = nullptr;
  void (*toggleRecording)() = nullptr;
  void (*setTarget)(HWND box) = nullptr;
};
void SetMacroRecorderHooks(const MacroRecorderHooks& hooks);
const MacroRecorderHooks& GetMacroRecorderHooks();
