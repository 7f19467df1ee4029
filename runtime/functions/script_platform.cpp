#include "runtime/functions/script_platform.h"

#include <angelscript.h>

#include <memory>

namespace {

constexpr asPWORD kPlatformUserData = 0x4F445350;  // "ODSP"

void FreePlatform(asIScriptEngine* engine) {
  std::unique_ptr<ScriptPlatform>(static_cast<ScriptPlatform*>(engine->GetUserData(kPlatformUserData)));
}

}  // namespace

ScriptProgram& NoScriptProgram() {
  static ScriptProgram none;
  return none;
}

void AttachScriptPlatform(asIScriptEngine* engine, const ScriptPlatform& platform) {
  auto copy = std::make_unique<ScriptPlatform>(platform);
  engine->SetEngineUserDataCleanupCallback(FreePlatform, kPlatformUserData);
  std::unique_ptr<ScriptPlatform>(static_cast<ScriptPlatform*>(engine->SetUserData(copy.release(), kPlatformUserData)));
}

const ScriptPlatform& RunningScriptPlatform() {
  // Only the registrations attach it, and only their functions ask: the call under way runs in
  // an engine that holds one.
  return *static_cast<const ScriptPlatform*>(asGetActiveContext()->GetEngine()->GetUserData(kPlatformUserData));
}
