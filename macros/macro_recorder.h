#pragma once
// The keystroke recorder as the "Macro Input" editor drives it: started on a box, stopped,
// switched between recording and editing, and pointed at the box that has become current. This
// base records nothing, for an editor without a recorder. Typed and recorded steps come back
// through InsertRecordedStep (macro_editor_window.h).

class MacroRecorder {
 public:
  virtual ~MacroRecorder() = default;
  virtual void Start(void* /*box*/) {}
  virtual void Stop() {}
  virtual void ToggleRecording() {}
  virtual void SetTarget(void* /*box*/) {}
};
