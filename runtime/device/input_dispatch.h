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
class HostProcess;
class SystemCalls;

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

// What the programming window side above does for the devices; a program without programming
// windows keeps these as they are (no window opens, and a request is dropped).
class ProgrammingWindows {
 public:
  virtual ~ProgrammingWindows() = default;
  // Makes the device's macro context (macroContext), reads its script into it, opens the
  // programming window and, with onboardMacros, imports the on-board macros; hides the window
  // in hidden mode. Returns the window, or null when none could be made (then leaving no
  // context behind).
  virtual HWND OpenProgrammingWindow(DeviceRecord&) { return nullptr; }
  // A key of the device pressed or released while its window is open (key code relative to
  // firstKeyByte).
  virtual void ProgrammingKey(DeviceRecord&, int /*keyCode*/, bool /*pressed*/) {}
  // A request (the tray's) for a device whose window is open: a window kept hidden shows.
  virtual void RevealProgrammingWindow(DeviceRecord&) {}
};

// The input reports of the devices, to their scripts or to where else they go: the host that
// claimed the device, its programming window, or a box (through the platform) that says why it
// cannot be programmed.
class InputDispatch {
 public:
  InputDispatch(ProgrammingWindows& windows, HostProcess& host, SystemCalls& calls)
      : windows_(windows), host_(host), calls_(calls) {}

  // Masks currentReport with keyEnableMask, lets the programming switch take it, else runs the
  // input entries' script functions (or hands it to the host); always ends by copying
  // currentReport to previousReport.
  void DispatchInputReport(DeviceRecord& device, asCDebugScriptEngine* engine, asCDebugContext* context);
  // Runs one periodic input entry with the present state of the report; advances its dueTick.
  void RunPeriodicInputs(DeviceRecord& device, InputConfig& input, asCDebugScriptEngine* engine,
                         asCDebugContext* context);

  // True when the report belongs to programming mode and is not dispatched: opens the
  // programming window on the switch (or a request), closes it on release, forwards key
  // changes. A device without a script module says why it cannot be programmed (a box) and
  // drops the request.
  bool CheckProgrammingSwitch(DeviceRecord& device);

  // For a record just made from its first report (currentReport and previousReport): a switch
  // that is on opens the window as if it had been off before. The build cycle closed every
  // window, and the report that turned the switch on may be the one the device was identified
  // by.
  void CheckProgrammingSwitchAtStart(DeviceRecord& device);

 private:
  bool OpenProgrammingWindow(DeviceRecord& device);
  void ForwardKeyChanges(DeviceRecord& device);

  ProgrammingWindows& windows_;
  HostProcess& host_;
  SystemCalls& calls_;
};

// True when the report shows the programming switch on (and the required byte holding its
// value); always false for a device without a switch.
bool ProgrammingSwitchOn(const DeviceRecord& device, const std::vector<std::uint8_t>& report);

// The key code of every set bit of currentReport from firstKeyByte to lastKeyByte, byte then
// bit order, then 255. Codes that do not fit below 255 are left out.
void PressedKeysToCodes(const DeviceRecord& device, std::vector<std::uint8_t>& out);

// Key events handed to programming windows.
int GetForwardedKeyCount();
void ResetForwardedKeyCount();

