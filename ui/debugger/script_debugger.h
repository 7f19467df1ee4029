#pragma once
// The program's script debugger: the build callback the device thread's engines are made with,
// and the editor window with its run control, made on the device thread at its start.

#include "ui/script_editor/script_editor_controller.h"

class asCDebugScriptEngine;
class asCDebugContext;
class SystemCalls;

// Makes the script editor (hidden) with the run control attached, both asking the user through
// `calls` (which the build callback makes them again with); false when it cannot be made. A
// script the editor opens from a file gets its programming window from `openProgramming`, also
// in an editor the build callback makes again later.
bool CreateDebuggerIde(SystemCalls& calls, ScriptEditorController::OpenProgrammingHook openProgramming = {});
void DestroyDebuggerIde();
// The device thread's engine is about to go.
void ForgetDebuggerEngine();

// Every module build and every script call of the device thread's engine.
int DebugBuildCallback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name);
