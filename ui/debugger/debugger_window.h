#pragma once
// The run control's side of the "AngelScript IDE" window: the nested message loops of the
// device thread while a build waits or a call is stopped, the variable view in the list with
// its editing, and the debugger's commands and messages routed from the window.

#include <functional>
#include <vector>

#include "ui/debugger/run_control.h"
#include "ui/script_editor/script_editor_window.h"

class WindowDebuggerView : public DebuggerView {
 public:
  explicit WindowDebuggerView(ScriptEditorWindow& window);
  ~WindowDebuggerView() override;
  // Routes the window's debugger commands, messages and its closing to control.
  void Attach(RunControl& control);

  bool RunMessagesUntil(const std::function<bool()>& done) override;
  void ShowVariables(const std::vector<VariableRow>& rows) override;
  int CaretLine() override { return window_.CaretLine(); }

 private:
  bool OnMessage(wingui::Message& msg);

  ScriptEditorWindow& window_;
  RunControl* control_ = nullptr;
};
