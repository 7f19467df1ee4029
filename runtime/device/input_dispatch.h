#pragma once
// Input reports of a device handed to its script functions (or to the host that claimed the
// device, or to the device's programming window). Device thread only.

#include <windows.h>

#include <cstdint>
#include <vector>

struct DeviceRecord;
struct InputConfig;
class asCDebugScriptEngine;
class asCDebugContext;

// The held key that repeats: its device (by HID handle, so a moved or removed record is never
// used), its input entry and the key's byte (absolute in the report) and bit.
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

// Starts or renews the auto-repeat of the key that the running input call reports as pressed
// (a "scanCodeDown" field); does nothing outside such a call. Delays in ms.
void StartAutoRepeat(int initialRepeatDelay, int repeatDelay);

// Masks currentReport with keyEnableMask, lets the programming switch take it, else runs the
// input entries' script functions (or the host callback); always ends by copying currentReport
// to previousReport.
void DispatchInputReport(DeviceRecord& device, asCDebugScriptEngine* engine,
                         asCDebugContext* context);
// Runs one periodic input entry with the present state of the report; advances its dueTick.
void RunPeriodicInputs(DeviceRecord& device, InputConfig& input, asCDebugScriptEngine* engine,
                       asCDebugContext* context);

// True when the report shows the programming switch on (and the required byte holding its
// value); always false for a device without a switch.
bool ProgrammingSwitchOn(const DeviceRecord& device, const std::vector<std::uint8_t>& report);

// True when the report belongs to programming mode and is not dispatched: opens the
// programming window on the switch (or a request), closes it on release, forwards key changes.
// A device without a script module says why it cannot be programmed (a box) and drops the
// request.
bool CheckProgrammingSwitch(DeviceRecord& device);

// For a record just made from its first report (currentReport and previousReport): a switch
// that is on opens the window as if it had been off before. The build cycle closed every
// window, and the report that turned the switch on may be the one the device was identified by.
void CheckProgrammingSwitchAtStart(DeviceRecord& device);

// The key code of every set bit of currentReport from firstKeyByte to lastKeyByte, byte then
// bit order, then 255. Codes that do not fit below 255 are left out.
void PressedKeysToCodes(const DeviceRecord& device, std::vector<std::uint8_t>& out);

// Key events handed to programming windows.
int GetForwardedKeyCount();
void ResetForwardedKeyCount();

// What the programming window side does; each may be left null (the step is then skipped).
struct ProgrammingWindowHooks {
  // Makes the device's macro context (macroContext), reads its script into it, opens the
  // programming window and, with onboardMacros, imports the on-board macros; hides the window
  // in hidden mode. Returns the window, or null when none could be made (the hook then leaves
  // no context behind).
  HWND (*open)(DeviceRecord& device) = nullptr;
  // A key of the device pressed or released while its window is open (key code relative to
  // firstKeyByte).
  void (*key)(DeviceRecord& device, int keyCode, bool pressed) = nullptr;
  // A request (the tray's) for a device whose window is open: a window kept hidden shows.
  void (*reveal)(DeviceRecord& device) = nullptr;
};
void SetProgrammingWindowHooks(const ProgrammingWindowHooks& hooks);
const ProgrammingWindowHooks& GetProgrammingWindowHooks();
