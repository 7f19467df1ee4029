#include "runtime/keys/mouse_buttons.h"

#include "platform/base/system_calls.h"

namespace {

void SendButton(SystemCalls& calls, int button, bool down) {
  if (std::optional<InputRecord> record = MouseButtonRecord(button, down)) calls.InjectInput(*record);
}

}  // namespace

std::optional<InputRecord> MouseButtonRecord(int button, bool down) {
  std::uint32_t flags = 0;
  std::uint32_t data = 0;
  switch (button) {
    case 1: flags = down ? kMouseEventLeftDown : kMouseEventLeftUp; break;
    case 2: flags = down ? kMouseEventRightDown : kMouseEventRightUp; break;
    case 4: flags = down ? kMouseEventMiddleDown : kMouseEventMiddleUp; break;
    case 5:
    case 6:
      flags = down ? kMouseEventXDown : kMouseEventXUp;
      data = button == 5 ? 1 : 2;
      break;
    default: return std::nullopt;
  }
  return MouseRecord(0, 0, data, flags);
}

void PressMouseButton(SystemCalls& calls, int button) { SendButton(calls, button, true); }
void ReleaseMouseButton(SystemCalls& calls, int button) { SendButton(calls, button, false); }

void ClickButton(SystemCalls& calls, int button) {
  if (!MouseButtonRecord(button, true)) return;
  PressMouseButton(calls, button);
  calls.Sleep(40);
  ReleaseMouseButton(calls, button);
}

void DoubleClickButton(SystemCalls& calls, int button) {
  if (!MouseButtonRecord(button, true)) return;
  ClickButton(calls, button);
  calls.Sleep(calls.DoubleClickTime() / 2);
  ClickButton(calls, button);
}

void SendMouseMove(SystemCalls& calls, int dx, int dy, int dz) {
  calls.InjectInput(MouseRecord(dx, dy, static_cast<std::uint32_t>(dz), kMouseEventWheel));
}
