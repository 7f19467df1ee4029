#include "runtime/script/script_engine_lock.h"

#include <atomic>
#include <mutex>

namespace {

std::recursive_mutex& EngineMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

std::atomic<asIScriptContext*> lockedContext{nullptr};
// A depth per thread: no map shared between threads, so nothing to keep consistent.
thread_local int depth = 0;

}  // namespace

asIScriptContext* LockScriptEngine() {
  EngineMutex().lock();
  ++depth;
  return lockedContext;
}

bool UnlockScriptEngine() {
  if (depth <= 0) return false;
  --depth;
  EngineMutex().unlock();
  return true;
}

bool ReleaseScriptEngine() { return UnlockScriptEngine(); }

int ScriptEngineLockDepth() { return depth; }

int ReleaseScriptEngineFully() {
  int released = 0;
  while (UnlockScriptEngine()) ++released;
  return released;
}

void RetakeScriptEngine(int count) {
  for (int i = 0; i < count; ++i) LockScriptEngine();
}

void SetLockedScriptContext(asIScriptContext* context) { lockedContext = context; }
