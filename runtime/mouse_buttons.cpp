#include "runtime/mouse_buttons.h"

#include <windows.h>

#include "runtime/system_calls.h"

namespace {

constexpr DWORD kClickPauseMs = 40;

struct ButtonFlags {
  DWORD down = 0;
  DWORD up = 0;
  DWORD data = 0;
};

bool FlagsOf(int button, ButtonFlags& flags) {
  switch (button) {
    case 1: flags = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0}; return true;
    case 2: flags = {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0}; return true;
    case 4: flags = {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0}; return true;
    case 5: flags = {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1}; return true;
    case 6: flags = {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2}; return true;
    default: return false;
  }
}

void SendMouseRecord(LONG dx, LONG dy, DWORD data, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  GetSystemCalls().sendInput(1, &input, sizeof(INPUT));
}

void SendButton(int button, bool down) {
  ButtonFlags flags;
  if (FlagsOf(button, flags)) SendMouseRecord(0, 0, flags.data, down ? flags.down : flags.up);
}

}  // namespace

void PressMouseButton(int button) { SendButton(button, true); }
void ReleaseMouseButton(int button) { SendButton(button, false); }

void ClickButton(int button) {
  ButtonFlags flags;
  if (!FlagsOf(button, flags)) return;
  PressMouseButton(button);
  GetSystemCalls().sleep(kClickPauseMs);
  ReleaseMouseButton(button);
}

void DoubleClickButton(int button) {
  ButtonFlags flags;
  if (!FlagsOf(button, flags)) return;
  ClickButton(button);
  GetSystemCalls().sleep(GetSystemCalls().getDoubleClickTime() / 2);
  ClickButton(button);
}

void SendMouseMove(int dx, int dy, int dz) {
  SendMouseRecord(dx, dy, static_cast<DWORD>(dz), MOUSEEVENTF_WHEEL);
}
