#pragma once
// The script debugger's run control. Every module build and every script call of the device
// thread's engine comes through BuildCallback: a build is made in the script editor and a
// failed one is answered by the user (the last working script, or editing it); a call runs
// under the user's control while the editor is shown: breakpoints in the margin, Step In,
// Step Over, Step Out and Run, the variables of a stopped call, and rebuilding a stopped call.
// While the editor is hidden a call runs as it is, at no cost.

#include <functional>
#include <string>
#include <vector>

#include "ui/debugger/variable_view.h"
#include "ui/script_editor/script_editor_controller.h"

class asCDebugScriptEngine;
class asCDebugContext;
class SystemCalls;

enum class RunState {
  Unused = 0,   // no build or call has come yet
  Waiting = 1,  // for the user (editing, building)
  Running = 2,
  Stopped = 3,  // at a line, inside the line callback
  Closed = 4,   // the editor was closed (or the program ends) while waiting
};

// What the run control asks of the window and of the thread.
class DebuggerView {
 public:
  virtual ~DebuggerView() = default;
  // Handles the thread's messages until done() holds; false when the program ends first.
  virtual bool RunMessagesUntil(const std::function<bool()>& done) = 0;
  // The list becomes the variable view with these rows.
  virtual void ShowVariables(const std::vector<VariableRow>& rows) = 0;
  // The line under the caret while the script text has the focus, else -1.
  virtual int CaretLine() = 0;
};

class RunControl {
 public:
  static constexpr int kBreakpointsOnly = -1;
  static constexpr int kStopAnywhere = 100000;
  // Results of BuildCallback besides 0, an error count and the engine's results.
  static constexpr int kCannotDebug = 6;
  static constexpr int kRestoreBackup = 8;

  // A failed build is answered through `calls`.
  RunControl(SystemCalls& calls, ScriptEditorController& editor, DebuggerView& view);

  int BuildCallback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name);
  // The line callback of a debugged call.
  void OnLine(asCDebugContext* context);
  // Build, Run, the steps and the breakpoint commands; false for any other command.
  bool Command(int id);
  // The user closed the editor.
  void OnEditorClosed();
  // A value typed into row of the variable view: the row's new text, or false when the row
  // could not take it.
  bool EditVariableRow(int row, const std::string& text, std::string& shown);
  // The engine is about to go.
  void ForgetEngine();

  RunState State() const { return state_; }
  int BreakDepth() const { return breakDepth_; }
  int Nesting() const { return nesting_; }
  const std::vector<VariableRow>& Variables() const { return variables_; }

 private:
  void BuildIdeModule();
  void LineReached(asCDebugContext* context);
  int RunCall(asCDebugScriptEngine* engine, asCDebugContext* context);
  int AnswerFailedBuild(const std::string& module);

  SystemCalls& calls_;
  ScriptEditorController& editor_;
  DebuggerView& view_;
  asCDebugScriptEngine* engine_ = nullptr;
  asCDebugContext* context_ = nullptr;
  RunState state_ = RunState::Unused;
  int breakDepth_ = kBreakpointsOnly;
  int nesting_ = 0;
  bool ending_ = false;    // the program ends: no call stops again
  bool aborting_ = false;  // the stopped call is being broken off
  std::vector<VariableRow> variables_;
  // The library reports a line twice when a function is entered: one stop per line.
  int lastStopLine_ = -1;
  int lastStopDepth_ = -1;
};
