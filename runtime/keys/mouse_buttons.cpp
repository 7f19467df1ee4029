#include "runtime/keys/mouse_buttons.h"

#include "platform/base/system_calls.h"

namespace {

void SendButton(int button, bool down) {
  if (std::optional<InputRecord> record = MouseButtonRecord(button, down))
    GetSystemCalls().InjectInput(*record);
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

void PressMouseButton(int button) { SendButton(button, true); }
void ReleaseMouseButton(int button) { SendButton(button, false); }

void ClickButton(int button) {
  if (!MouseButtonRecord(button, true)) return;
  PressMouseButton(button);
  GetSystemCalls().Sleep(40);
  ReleaseMouseButton(button);
}

void DoubleClickButton(int button) {
  if (!MouseButtonRecord(button, true)) return;
  ClickButton(button);
  GetSystemCalls().Sleep(GetSystemCalls().DoubleClickTime() / 2);
  ClickButton(button);
}

void SendMouseMove(int dx, int dy, int dz) {
  GetSystemCalls().InjectInput(
      MouseRecord(dx, dy, static_cast<std::uint32_t>(dz), kMouseEventWheel));
}
