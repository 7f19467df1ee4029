#pragma once
// Input reports of a device handed to its script functions.

#include <windows.h>

#include <cstdint>

struct DeviceRecord;
struct InputConfig;

// The held key that repeats: its device (by HID handle, so a moved or removed record is never
// used), its input entry and the key's byte and bit.
struct AutoRepeatState {
  bool active = false;
  int hidHandle = -1;
  int inputIndex = -1;
  int byteIndex = 0;
  std::uint8_t bitMask = 0;
  DWORD dueTick = 0;
};
AutoRepeatState& GetAutoRepeat();
void CancelAutoRepeat();

// The script function AutoRepeatThisKey: repeats the key that the call under way reported as
// pressed, first after initialRepeatDelay ms, then every repeatDelay ms.
void StartAutoRepeat(int initialRepeatDelay, int repeatDelay);

void DispatchInputReport(DeviceRecord& device);
void RunPeriodicInputs(DeviceRecord& device, InputConfig& input);
// True when the report belongs to programming mode and is not dispatched.
bool CheckProgrammingSwitch(DeviceRecord& device);
