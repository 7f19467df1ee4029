#pragma once
// The one recursive lock around every use of the script engine. Each thread keeps its own
// depth, so code that holds the lock can let go of it completely and take it back.

class asIScriptContext;

// Takes the lock (again, on a thread that holds it) and gives the script context.
asIScriptContext* LockScriptEngine();
// Leaves one level; false, without leaving, on a thread that does not hold the lock.
bool UnlockScriptEngine();
// The same as UnlockScriptEngine, under the name the debugger window uses.
bool ReleaseScriptEngine();
// The calling thread's depth.
int ScriptEngineLockDepth();

// Releases every level the calling thread holds; gives the count for RetakeScriptEngine.
int ReleaseScriptEngineFully();
void RetakeScriptEngine(int depth);

// The context LockScriptEngine gives (set by the device thread when it builds the engine).
void SetLockedScriptContext(asIScriptContext* context);

// Holds the lock for a scope.
class ScriptEngineGuard {
 public:
  ScriptEngineGuard() { LockScriptEngine(); }
  ~ScriptEngineGuard() { UnlockScriptEngine(); }
  ScriptEngineGuard(const ScriptEngineGuard&) = delete;
  ScriptEngineGuard& operator=(const ScriptEngineGuard&) = delete;
};
