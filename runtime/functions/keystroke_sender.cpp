#include "runtime/functions/keystroke_sender.h"

#include "platform/base/system_calls.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/keys/key_input_records.h"
#include "runtime/keys/keyboard_report_state.h"
#include "runtime/keys/macro_tokens.h"
#include "runtime/keys/mouse_buttons.h"

bool SendMouseToken(SystemCalls& calls, const std::string& text) {
  const std::optional<MouseStep> mouse = ParseMouseStep(text);
  if (!mouse) return false;
  switch (mouse->action) {
    case MouseStep::Action::Press: PressMouseButton(calls, mouse->button); break;
    case MouseStep::Action::Release: ReleaseMouseButton(calls, mouse->button); break;
    case MouseStep::Action::Click: ClickButton(calls, mouse->button); break;
    case MouseStep::Action::DoubleClick: DoubleClickButton(calls, mouse->button); break;
  }
  return true;
}

bool CurrentDeviceHasKeyboardReport() {
  DeviceRecord* device = GetCurrentDevice();
  return device && FindKeyboardReportOutput(*device);
}

void SendString(SystemCalls& calls, const std::string& text) {
  if (SendMouseToken(calls, text)) return;
  const std::vector<MacroToken> tokens = TokenizeMacroText(text, calls.ReadLockStates());
  if (CurrentDeviceHasKeyboardReport()) {
    DeviceRecord& device = *GetCurrentDevice();
    for (const KeyboardState& state : SendTokensAsDeviceReports(tokens, device.keyboardState))
      SendKeyboardReportBytes(device, state.data());
    return;
  }
  for (const InputRecord& record : SendTokensAsInput(tokens)) calls.InjectInput(record);
}
