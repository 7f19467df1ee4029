#include "ui/debugger/script_debugger.h"

#include <memory>

#include "ui/debugger/debugger_window.h"
#include "ui/debugger/run_control.h"
#include "ui/script_editor/script_editor.h"

namespace {

struct Debugger {
  SystemCalls* calls = nullptr;  // the program's, given at the first making
  std::unique_ptr<WindowDebuggerView> view;
  std::unique_ptr<RunControl> control;
  ScriptEditorController::OpenProgrammingHook openProgramming;
};

Debugger& TheDebugger() {
  static Debugger debugger;
  return debugger;
}

}  // namespace

bool CreateDebuggerIde(SystemCalls& calls, ScriptEditorController::OpenProgrammingHook openProgramming) {
  Debugger& d = TheDebugger();
  d.calls = &calls;
  if (openProgramming) d.openProgramming = std::move(openProgramming);
  if (d.control && GetIde()) return true;
  if (!CreateIde(calls, d.openProgramming)) return false;
  ScriptEditorWindow& ide = *GetIde();
  d.view = std::make_unique<WindowDebuggerView>(ide);
  d.control = std::make_unique<RunControl>(calls, ide.Controller(), *d.view);
  d.view->Attach(*d.control);
  return true;
}

void DestroyDebuggerIde() {
  Debugger& d = TheDebugger();
  d.view.reset();
  d.control.reset();
  d.openProgramming = nullptr;
  DestroyIde();
}

void ForgetDebuggerEngine() {
  if (TheDebugger().control) TheDebugger().control->ForgetEngine();
  ForgetIdeEngine();
}

int DebugBuildCallback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name) {
  // Only a program that made the debugger has one to make again.
  Debugger& d = TheDebugger();
  if (!d.calls || !CreateDebuggerIde(*d.calls)) return RunControl::kCannotDebug;
  return TheDebugger().control->BuildCallback(engine, context, name);
}
