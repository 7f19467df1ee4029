#include "runtime/mouse_buttons.h"

#include <windows.h>

#include "runtime/input_injection.h"

namespace {

void SendButton(int button, bool down) {
  if (std::optional<InputRecord> record = MouseButtonRecord(button, down)) InjectInput(*record);
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
  PressMouseButton(button);
  Sleep(40);
  ReleaseMouseButton(button);
}

void DoubleClickButton(int button) {
  ClickButton(button);
  Sleep(GetDoubleClickTime() / 2);
  ClickButton(button);
}
