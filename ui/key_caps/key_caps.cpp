#include "ui/key_caps/key_caps.h"

#include "macros/model/macro_context.h"
#include "macros/model/macro_hooks.h"
#include "runtime/device/device_record.h"
#include "ui/key_caps/key_cap_dialogs.h"
#include "ui/key_caps/key_cap_port.h"
#include "ui/programming_window/programming_extensions.h"
#include "ui/programming_window/programming_window.h"

namespace {

// The programming window showing the context; null while its view is built before it exists.
HWND WindowOf(const MacroContext& context) { return static_cast<HWND>(context.programming.window); }

}  // namespace

void AddKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window) {
  if (!device.setUp) return;
  DeviceKeyCapPort port(calls, context, &device, window);
  AddKeyCapsCommand(context, port);
}

void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window) {
  if (!device.setUp) return;
  DeviceKeyCapPort port(calls, context, &device, window);
  RemoveKeyCapsCommand(context, port);
}

void AddKeyCaps(SystemCalls& calls, MacroContext& context, HWND window) {
  if (DeviceRecord* device = DeviceRecordOf(context)) AddKeyCaps(calls, context, *device, window);
}

void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, HWND window) {
  if (DeviceRecord* device = DeviceRecordOf(context)) RemoveKeyCaps(calls, context, *device, window);
}

void InstallKeyCaps() {
  MacroModelHooks hooks = GetMacroModelHooks();
  hooks.changeKeyCap = [](MacroContext& context, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                          bool store) {
    DeviceKeyCapPort port(ProgrammingCallsOf(WindowOf(context)), context, nullptr, WindowOf(context));
    ChangeKeyCap(context, cap, covered, kind, store, port);
  };
  hooks.showSpacer = [](MacroContext& context, int keyId) {
    DeviceKeyCapPort port(ProgrammingCallsOf(WindowOf(context)), context, nullptr, WindowOf(context));
    SetKeySpacer(context, keyId, false, port);
  };
  SetMacroModelHooks(hooks);

  ProgrammingExtensions x;
  x.addKeyCap = [](MacroContext& context, HWND window) { AddKeyCaps(ProgrammingCallsOf(window), context, window); };
  x.removeKeyCap = [](MacroContext& context, HWND window) {
    RemoveKeyCaps(ProgrammingCallsOf(window), context, window);
  };
  x.clearKeySpacer = [](MacroContext& context, int keyId) {
    DeviceKeyCapPort port(ProgrammingCallsOf(WindowOf(context)), context, nullptr, WindowOf(context));
    ClearKeySpacer(context, keyId, port);
  };
  x.forwardKeyToKeyCapDialogs = ForwardKeyToKeyCapDialogs;
  AddProgrammingExtensions(x);

  KeyCapWindowHooks window;
  window.setInputEnabled = SetProgrammingInputEnabled;
  window.dialogsChanged = [](HWND detection, HWND removal) { GetKeyCapDialogs() = {detection, removal}; };
  SetKeyCapWindowHooks(window);
}
