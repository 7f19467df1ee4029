#pragma once
// The program's script debugger: the build callback the device thread's engines are made with,
// and the editor window with its run control, made on the device thread at its start.

class asCDebugScriptEngine;
class asCDebugContext;
class SystemCalls;

// Makes the script editor (hidden) with the run control attached, both asking the user through
// `calls` (which the build callback makes them again with); false when it cannot be made.
bool CreateDebuggerIde(SystemCalls& calls);
void DestroyDebuggerIde();
// The device thread's engine is about to go.
void ForgetDebuggerEngine();

// Every module build and every script call of the device thread's engine.
int DebugBuildCallback(asCDebugScriptEngine* engine, asCDebugContext* context, const char* name);
