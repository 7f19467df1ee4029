#include "ui/key_caps/key_caps.h"

#include "macros/model/macro_context.h"
#include "macros/model/macro_hooks.h"
#include "runtime/device/device_record.h"
#include "ui/key_caps/key_cap_port.h"

void AddKeyCaps(MacroContext& context, DeviceRecord& device, HWND window) {
  if (!device.setUp) return;
  DeviceKeyCapPort port(context, &device, window);
  AddKeyCapsCommand(context, port);
}

void RemoveKeyCaps(MacroContext& context, DeviceRecord& device, HWND window) {
  if (!device.setUp) return;
  DeviceKeyCapPort port(context, &device, window);
  RemoveKeyCapsCommand(context, port);
}

void AddKeyCaps(MacroContext& context, HWND window) {
  if (DeviceRecord* device = DeviceRecordOf(context)) AddKeyCaps(context, *device, window);
}

void RemoveKeyCaps(MacroContext& context, HWND window) {
  if (DeviceRecord* device = DeviceRecordOf(context)) RemoveKeyCaps(context, *device, window);
}

void InstallKeyCaps() {
  MacroModelHooks hooks = GetMacroModelHooks();
  // While the view is built its window does not exist yet: nothing to redraw.
  hooks.changeKeyCap = [](MacroContext& context, const KeyRecord& cap, const std::vector<int>& covered, int kind,
                          bool store) {
    DeviceKeyCapPort port(context, nullptr, nullptr);
    ChangeKeyCap(context, cap, covered, kind, store, port);
  };
  hooks.showSpacer = [](MacroContext& context, int keyId) {
    DeviceKeyCapPort port(context, nullptr, nullptr);
    SetKeySpacer(context, keyId, false, port);
  };
  SetMacroModelHooks(hooks);
}
