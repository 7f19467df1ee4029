#include "ui/key_caps/key_caps.h"

#include "macros/model/macro_context.h"
#include "runtime/device/device_record.h"
#include "ui/key_caps/key_cap_port.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window.h"

namespace {

// The programming window showing the context; null while its view is built before it exists.
HWND WindowOf(const MacroContext& context) { return static_cast<HWND>(context.programming.window); }

}  // namespace

void AddKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window,
                KeyCapWindow& keyCapWindow) {
  if (!device.setUp) return;
  DeviceKeyCapPort port(calls, context, &device, window, keyCapWindow);
  AddKeyCapsCommand(context, port);
}

void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, DeviceRecord& device, HWND window,
                   KeyCapWindow& keyCapWindow) {
  if (!device.setUp) return;
  DeviceKeyCapPort port(calls, context, &device, window, keyCapWindow);
  RemoveKeyCapsCommand(context, port);
}

void AddKeyCaps(SystemCalls& calls, MacroContext& context, HWND window, KeyCapWindow& keyCapWindow) {
  if (DeviceRecord* device = DeviceRecordOf(context)) AddKeyCaps(calls, context, *device, window, keyCapWindow);
}

void RemoveKeyCaps(SystemCalls& calls, MacroContext& context, HWND window, KeyCapWindow& keyCapWindow) {
  if (DeviceRecord* device = DeviceRecordOf(context)) RemoveKeyCaps(calls, context, *device, window, keyCapWindow);
}

void ProgrammingKeyCapWindow::SetInputEnabled(bool enabled) { SetProgrammingInputEnabled(enabled); }

void ProgrammingKeyCapWindow::DialogsChanged(HWND detection, HWND removal) {
  GetKeyCapDialogs() = {detection, removal};
}

void ProgrammingKeyCapWindow::CancelMacroEditor(MacroContext& context) { features_.CancelMacroEditor(context); }

void KeyCapsFeature::Add(MacroContext& context, HWND window) {
  AddKeyCaps(ProgrammingCallsOf(window), context, window, window_);
}

void KeyCapsFeature::Remove(MacroContext& context, HWND window) {
  RemoveKeyCaps(ProgrammingCallsOf(window), context, window, window_);
}

void KeyCapsFeature::ClearSpacer(MacroContext& context, int keyId) {
  DeviceKeyCapPort port(ProgrammingCallsOf(WindowOf(context)), context, nullptr, WindowOf(context), window_);
  ClearKeySpacer(context, keyId, port);
}

void KeyCapsFeature::ChangeKeyCap(MacroContext& context, const KeyRecord& cap, const std::vector<int>& covered,
                                  int kind, bool store) {
  DeviceKeyCapPort port(ProgrammingCallsOf(WindowOf(context)), context, nullptr, WindowOf(context), window_);
  ::ChangeKeyCap(context, cap, covered, kind, store, port);
}

void KeyCapsFeature::ShowSpacer(MacroContext& context, int keyId) {
  DeviceKeyCapPort port(ProgrammingCallsOf(WindowOf(context)), context, nullptr, WindowOf(context), window_);
  SetKeySpacer(context, keyId, false, port);
}
