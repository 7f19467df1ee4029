#include "platform/base/input_injection.h"

#include <windows.h>

#include "platform/base/system_calls.h"

static_assert(sizeof(INPUT) == 28, "one record is the 28 bytes that SendInput is told");

namespace {

InputInjectionHooks& Hooks() {
  static InputInjectionHooks hooks;
  return hooks;
}

INPUT ToPlatformInput(const InputRecord& r) {
  INPUT in{};
  if (r.kind == InputRecord::Kind::Keyboard) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = r.virtualKey;
    in.ki.wScan = r.scanCode;
    in.ki.dwFlags = r.flags;
  } else {
    in.type = INPUT_MOUSE;
    in.mi.dx = r.dx;
    in.mi.dy = r.dy;
    in.mi.mouseData = r.mouseData;
    in.mi.dwFlags = r.flags;
  }
  return in;
}

}  // namespace

void SetInputInjectionHooks(const InputInjectionHooks& hooks) { Hooks() = hooks; }

void InjectInput(const InputRecord& record) {
  if (Hooks().send) {
    Hooks().send(record);
    return;
  }
  INPUT in = ToPlatformInput(record);
  GetSystemCalls().sendInput(1, &in, sizeof in);
}

LockStates ReadLockStates() {
  if (Hooks().readLockStates) return Hooks().readLockStates();
  // The calling thread's own states: a thread that reads no keyboard input sees the keyboard's
  // present ones. Borrowing those of the thread the keys go to (by attaching to its input)
  // resets that thread's key states, and with them a Shift it has yet to apply to a capital.
  // Greater than 0: the toggle bit is set and the key is not held at this moment.
  return LockStates{GetSystemCalls().getKeyState(VK_CAPITAL) > 0,
                    GetSystemCalls().getKeyState(VK_NUMLOCK) > 0};
}
