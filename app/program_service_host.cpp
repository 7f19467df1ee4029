#include "app/program_service_host.h"

#include <windows.h>

#include "app/main_window.h"
#include "app/program_features.h"
#include "macros/macro_services.h"
#include "macros/model/key_display_names.h"
#include "platform/wingui/message_pump.h"
#include "runtime/device/device_record.h"
#include "ui/debugger/script_debugger.h"
#include "ui/programming_window/programming_window.h"
#include "ui/script_editor/script_editor.h"
#include "ui/setup_wizard/desktop_wizard_window.h"

HWND ProgramServiceHost::MainWindow() { return GetOrvaneHWND(); }

// The waits of the device thread pump its windows with the keyboard handling of the modeless
// dialogs that thread opens.
void ProgramServiceHost::PumpWindows() { wingui::MessagePump::ForThisThread().PumpPending(); }

// The script editor and debugger live on the device thread; command 32830 is forwarded to the
// editor, and every build and script call of the thread's engines goes through the debugger.
void ProgramServiceHost::ThreadStarted() {
  CreateDebuggerIde(Calls(), [this](std::unique_ptr<DeviceRecord> device) {
    features_.OpenWindowForScript(Calls(), std::move(device));
  });
  SetCurrentModelessDialog(GetIdeWindow());
}

void ProgramServiceHost::EngineReleasing() { ForgetDebuggerEngine(); }

void ProgramServiceHost::ThreadEnding() {
  // The windows that no device record holds (the setup wizards, a script's programming window).
  CloseDesktopWizards();
  CloseProgrammingWindows();
  SetCurrentModelessDialog(nullptr);
  DestroyDebuggerIde();
  // Its programming windows built the key names on this thread and are closed by now; a new
  // thread builds them again.
  ClearKeyDisplayNames();
}

DeviceBuildCallback ProgramServiceHost::BuildCallback() { return DebugBuildCallback; }

HWND ProgramServiceHost::OpenProgrammingWindow(DeviceRecord& device) {
  return OpenProgrammingWindowFor(Calls(), device, features_, features_);
}

void ProgramServiceHost::ProgrammingKey(DeviceRecord& device, int keyCode, bool pressed) {
  ForwardDeviceKey(device.programmingWindow, keyCode, pressed);
}

void ProgramServiceHost::RevealProgrammingWindow(DeviceRecord& device) {
  ::RevealProgrammingWindow(device.programmingWindow);
}

void ProgramServiceHost::RegenerateDeviceScript(DeviceRecord& device) { ::RegenerateDeviceScript(device); }

void ProgramServiceHost::RunDesktopWizard() { StartDesktopWizard(Calls()); }
