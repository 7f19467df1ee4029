#pragma once
// The platform's input injection, one record per SendInput call, and the lock states the
// keystroke sender reads, both behind a seam so that tests can take the records instead.

#include "platform/base/input_records.h"

struct InputInjectionHooks {
  // Receives every record in place of SendInput; null: SendInput.
  void (*send)(const InputRecord& record) = nullptr;
  // Gives the lock states in place of GetKeyState; null: GetKeyState.
  LockStates (*readLockStates)() = nullptr;
};
void SetInputInjectionHooks(const InputInjectionHooks& hooks);

// Sends one record by its own SendInput(1, ...) call; the result is not looked at.
void InjectInput(const InputRecord& record);
// Caps Lock and Num Lock (toggled and not held) as the calling thread sees them; the device
// thread reads no keyboard input, so it sees the keyboard's present states. The thread the
// keys go to is left alone.
LockStates ReadLockStates();
