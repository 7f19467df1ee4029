#include "app/program_features.h"

#include <windows.h>

#include "app/dialogs/about_dialog.h"
#include "app/main_window.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_window.h"
#include "macros/macro_platform.h"
#include "macros/model/macro_context.h"
#include "macros/onboard_memory.h"
#include "macros/onboard_memory_dialogs.h"
#include "runtime/device/device_record.h"
#include "runtime/device/program_messages.h"
#include "ui/legend_editor/legend_editor.h"
#include "ui/plugins/plugin_windows.h"
#include "ui/programming_window/programming_window_ids.h"
#include "ui/script_editor/script_editor.h"

void ProgramFeatures::ToggleMacroEditor(MacroContext& context, int keyIndex) { ::ToggleMacroEditor(context, keyIndex); }

bool ProgramFeatures::RegisterMacroEditorClass() { return ::RegisterMacroEditorClass(); }

void ProgramFeatures::CancelMacroEditor(MacroContext& context) { ::CancelMacroEditor(context); }

void ProgramFeatures::OpenLegendMaker(MacroContext& context, HWND window) { ::OpenLegendMaker(context, window); }

// A keypad whose on-board macros were read: they become its layout, starting from New.
bool ProgramFeatures::ImportOnboardMacros(MacroContext& context, DeviceRecord& device) {
  ::ImportOnboardMacros(context, device);
  return true;
}

void ProgramFeatures::ShowAbout(HWND owner, int productId) {
  SetAboutProductId(productId);
  ShowAboutDialog(owner);
}

// A script the editor opened without its device: its window owns the record; its Exit has the
// editor forget the module and frees the module's libraries (a device script it has none to
// regenerate).
void ProgramFeatures::ReleaseUnsetDevice(DeviceRecord& device) {
  if (const HWND editor = GetIdeWindow())
    SendMessageA(editor, kDiscardModuleMessage, 0, reinterpret_cast<LPARAM>(device.moduleName.c_str()));
  device.moduleName.clear();
  DestroyDeviceRecord(device);
}

void ProgramFeatures::UnloadPlugin(MacroContext& context) { UnloadPlugins(context); }

// A keypad that keeps its macros gets them written when its window closes; the dialogs of the
// write are the main dialog's.
bool ProgramFeatures::BuildOnboardImage(MacroContext& context) { return ::BuildOnboardImage(context, GetOrvaneHWND()); }

void ProgramFeatures::WriteOnboardImage(MacroContext& context) { ::WriteOnboardImage(context, GetOrvaneHWND()); }

void ProgramFeatures::StartNewLayout(MacroContext& context) {
  if (const HWND window = static_cast<HWND>(context.programming.window))
    SendMessageA(window, WM_COMMAND, IDM_PW_NEW, 0);
}

void ProgramFeatures::OpenWindowForScript(SystemCalls& calls, std::unique_ptr<DeviceRecord> device) {
  OpenProgrammingWindowForScript(calls, std::move(device), *this, *this);
}

void InstallMacroHooks() {
  InstallMacroPlatform();
  MacroEditorHooks editor = GetMacroEditorHooks();
  editor.openCustomKeyWindow = OpenCustomKeyWindow;
  SetMacroEditorHooks(editor);
}
