#include "ui/debugger/run_control.h"

#include <windows.h>
#include <angelscript.h>

#include "platform/base/system_calls.h"
#include "runtime/script/debug_context.h"
#include "runtime/script/debug_engine.h"
#include "ui/script_editor/script_editor_resources.h"

namespace {

constexpr char kBuildErrorCaption[] = "AngelScript Build Error";
constexpr char kCorruptedQuestion[] =
    "This script file has been corrupted. Would you like to load the last known working script?";
constexpr char kEditQuestion[] = "Would you like to edit the script?";

void LineTrampoline(asCDebugContext* context, void* control) {
  static_cast<RunControl*>(control)->OnLine(context);
}

bool AskYes(SystemCalls& calls, const char* text) {
  return calls.ShowMessageBox(nullptr, text, kBuildErrorCaption, BoxButtons::YesNo, BoxIcon::Warning) ==
         BoxAnswer::Yes;
}

}  // namespace

RunControl::RunControl(SystemCalls& calls, ScriptEditorController& editor, DebuggerView& view)
    : calls_(calls), editor_(editor), view_(view) {}

void RunControl::ForgetEngine() {
  engine_ = nullptr;
  context_ = nullptr;
  variables_.clear();
}

int RunControl::BuildCallback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name) {
  if (!engine || nesting_ >= 2) return kCannotDebug;
  ++nesting_;
  // A call or build that comes while another waits (a script opened during a stop) must leave
  // the outer one as it found it.
  const bool nested = nesting_ == 2;
  asCDebugContext* const outerContext = context_;
  const RunState outerState = state_;
  const int outerBreakDepth = breakDepth_;
  auto leave = [&](int result) {
    if (nested) {
      context_ = outerContext;
      state_ = outerState;
      breakDepth_ = outerBreakDepth;
    }
    --nesting_;
    return result;
  };

  engine_ = engine;
  context_ = context;
  editor_.SetEngine(engine);
  // Every key press comes with a context: a call makes no text of its own.
  std::string module;
  if (!context && name) {
    module = name;
  } else if (!context) {
    if (engine->ModuleCount() != 1) return leave(kCannotDebug);
    for (int i = 0; i < engine->ModuleCapacity() && module.empty(); ++i)
      if (engine->ModuleName(i)) module = engine->ModuleName(i);
  }
  if (state_ == RunState::Unused) {
    breakDepth_ = kBreakpointsOnly;
    editor_.SetBuilt(false);
    editor_.ClearCurrentSection();
  }
  // Shown only when the user has asked for the editor: not at every start of the program.
  state_ = context ? RunState::Running : RunState::Waiting;
  if (context) return leave(RunCall(engine, context));

  editor_.ClearCurrentSection();
  editor_.RefreshModuleSources(module);
  editor_.FillModuleTree(module);
  // The caller's text is built: edits in the editor are built only by its own commands.
  if (engine->ModuleCount() > 0) {
    editor_.BuildAddedModule(module);
    if (!editor_.Hidden()) editor_.ShowBuildResult(module);
  }
  if (editor_.ErrorCount() > 0) return leave(AnswerFailedBuild(module));
  return leave(0);
}

int RunControl::AnswerFailedBuild(const std::string& module) {
  if (AskYes(calls_, kCorruptedQuestion)) return kRestoreBackup;
  if (AskYes(calls_, kEditQuestion)) {
    editor_.Reveal();
    editor_.ShowBuildResult(module);
  }
  // Either way the caller goes on: nobody would answer a wait for the hidden editor.
  return editor_.ErrorCount();
}

int RunControl::RunCall(asCDebugScriptEngine* engine, asCDebugContext* context) {
  if (editor_.Hidden()) {
    // No line callback: a call costs what it costs without the debugger.
    context->ClearLineCallback();
    return context->RunPrepared();
  }
  for (;;) {
    if (state_ != RunState::Running) {
      state_ = RunState::Waiting;
      editor_.ShowBuildResult(editor_.CurrentModule());
      if (!view_.RunMessagesUntil([&] { return state_ != RunState::Waiting; })) state_ = RunState::Closed;
      if (state_ == RunState::Closed) return editor_.ErrorCount();
      if (state_ != RunState::Running) continue;
      // A call of a module that failed to build is not run again until a build succeeds.
      if (editor_.ErrorCount() > 0) {
        state_ = RunState::Waiting;
        continue;
      }
      const int prepared = context->ReplayPrepare(engine);
      if (prepared < 0) return prepared;
    }
    lastStopLine_ = lastStopDepth_ = -1;
    if (editor_.Hidden())
      context->ClearLineCallback();
    else
      context->SetLineCallback(&LineTrampoline, this);
    const int result = context->RunPrepared();
    aborting_ = false;
    context->ClearLineCallback();
    if (result == asEXECUTION_ABORTED && !ending_) {
      // Broken off for a rebuild.
      if (state_ == RunState::Waiting) BuildIdeModule();
      if (state_ == RunState::Running) {
        const int prepared = context->ReplayPrepare(engine);
        if (prepared < 0) return prepared;
      }
      continue;
    }
    return result;
  }
}

void RunControl::BuildIdeModule() {
  if (!engine_ || engine_->ModuleCount() == 0 || editor_.Built()) return;
  if (context_ && context_->Library()->GetState() == asEXECUTION_ACTIVE) {
    // A call stopped at a line: it is broken off, and its callback builds once it has ended.
    context_->Library()->Abort();
    aborting_ = true;
    state_ = RunState::Waiting;
    return;
  }
  const std::string module = editor_.CurrentModule();
  if (module.empty()) return;
  const int result = editor_.RebuildModule(module, context_);
  if (result < 0 || state_ == RunState::Waiting) {
    state_ = RunState::Waiting;
    if (!editor_.Hidden()) editor_.ShowBuildResult(module);
  }
}

void RunControl::OnLine(asCDebugContext* context) {
  // The library may report a line once more before a call that was broken off ends.
  if (editor_.Hidden() || ending_ || aborting_) return;
  state_ = RunState::Stopped;
  LineReached(context);
  if (state_ != RunState::Stopped) return;
  if (!view_.RunMessagesUntil([&] { return state_ != RunState::Stopped; })) {
    // The program ends: the call runs to its end, and nothing stops again.
    ending_ = true;
    editor_.SetHidden(true);
    state_ = RunState::Running;
    breakDepth_ = kBreakpointsOnly;
  }
}

void RunControl::LineReached(asCDebugContext* context) {
  const int lineId = context->GetLineNumber();
  const int depth = static_cast<int>(context->Library()->GetCallstackSize());
  const ScriptEditorController::SourceLine at =
      editor_.SourceLineOfRow(lineId >> MarginMarks::kSectionShift, lineId & MarginMarks::kLineMask);
  const int markId = at.source >= 0 && at.line >= 0 ? MarginMarks::LineId(at.source, at.line) : -1;
  if (markId == lastStopLine_ && depth == lastStopDepth_) {
    state_ = RunState::Running;  // the same line reported again
    return;
  }
  lastStopLine_ = lastStopDepth_ = -1;
  if (breakDepth_ < depth && (markId < 0 || !editor_.Margin().HasBreakpoint(markId))) {
    state_ = RunState::Running;
    return;
  }
  breakDepth_ = kBreakpointsOnly;
  lastStopLine_ = markId;
  lastStopDepth_ = depth;
  if (at.source >= 0) editor_.SelectSource(at.source);
  variables_ = engine_ ? CollectVariables(*engine_, *context) : std::vector<VariableRow>{};
  view_.ShowVariables(variables_);
  editor_.ShowStopLine(at.line);
}

bool RunControl::Command(int id) {
  switch (id) {
    case IDM_SCRIPT_BUILD:
      state_ = RunState::Waiting;
      BuildIdeModule();
      return true;
    case IDM_SCRIPT_RUN:
    case IDM_SCRIPT_STEP_IN:
    case IDM_SCRIPT_STEP_OVER:
    case IDM_SCRIPT_STEP_OUT: {
      state_ = RunState::Running;
      breakDepth_ = kStopAnywhere;
      BuildIdeModule();
      if (context_ && state_ == RunState::Running) {
        const int size = static_cast<int>(context_->Library()->GetCallstackSize());
        if (id == IDM_SCRIPT_RUN) breakDepth_ = kBreakpointsOnly;
        if (id == IDM_SCRIPT_STEP_OVER) breakDepth_ = size;
        if (id == IDM_SCRIPT_STEP_OUT) breakDepth_ = size - 1;
        editor_.ShowStopLine(-1);
      }
      return true;
    }
    case IDM_SCRIPT_TOGGLE_BREAKPOINT: {
      const int line = view_.CaretLine();
      const int source = editor_.CurrentSource();
      if (line < 0 || source < 0) return true;
      const int markId = MarginMarks::LineId(source, line);
      MarginMarks& marks = editor_.Margin();
      if (marks.HasBreakpoint(markId))
        marks.RemoveBreakpoint(markId);
      else
        marks.AddBreakpoint(markId);
      editor_.RepaintMargin();
      return true;
    }
    case IDM_SCRIPT_CLEAR_BREAKPOINTS:
      editor_.Margin().ClearBreakpoints();
      editor_.RepaintMargin();
      return true;
  }
  return false;
}

void RunControl::OnEditorClosed() {
  if (state_ == RunState::Stopped) {
    state_ = RunState::Running;
    breakDepth_ = kBreakpointsOnly;
  } else if (state_ == RunState::Waiting) {
    state_ = RunState::Closed;
  }
}

bool RunControl::EditVariableRow(int row, const std::string& text, std::string& shown) {
  if (row < 0 || row >= static_cast<int>(variables_.size()) || !engine_ || !context_) return false;
  if (!EditVariable(*engine_, *context_, variables_[row], text)) return false;
  shown = variables_[row].value;
  return true;
}
