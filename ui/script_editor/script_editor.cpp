#include "ui/script_editor/script_editor.h"

#include "platform/base/file_access.h"
#include "platform/wingui/message_pump.h"
#include "runtime/device/device_record.h"
#include "runtime/service/device_thread.h"
#include "ui/script_editor/module_script_locator.h"

namespace {

std::unique_ptr<ScriptEditorWindow>& Ide() {
  static std::unique_ptr<ScriptEditorWindow> ide;
  return ide;
}

}  // namespace

bool CreateIde(SystemCalls& calls, ScriptEditorController::OpenProgrammingHook openProgramming) {
  if (Ide() && Ide()->IsOpen()) return true;
  auto ide = std::make_unique<ScriptEditorWindow>(calls, RealFiles(), ProgramModuleScriptLocator(RealFiles()));
  ide->SetScriptSources(GetDeviceScriptEngine, GetDeviceScriptContext);
  ide->Controller().SetOpenProgrammingHook(std::move(openProgramming));
  if (!ide->Create()) return false;
  Ide() = std::move(ide);
  return true;
}

void DestroyIde() { Ide().reset(); }

HWND GetIdeWindow() { return Ide() ? Ide()->hwnd() : nullptr; }

ScriptEditorWindow* GetIde() { return Ide() && Ide()->IsOpen() ? Ide().get() : nullptr; }

void ForgetIdeEngine() {
  if (Ide()) Ide()->Controller().SetEngine(nullptr);
}

void PumpModelessDialogs() { wingui::MessagePump::ForThisThread().PumpPending(); }
