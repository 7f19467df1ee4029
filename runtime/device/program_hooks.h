#pragma once
// What the device and function layers reach of the program above them: its main window, the
// pump of the device thread's windows and the dialogs the device thread shows. The program
// fills these in once at start-up (tests fill in what they need); each may be left null.

#include <windows.h>

struct DeviceRecord;

struct ProgramHooks {
  // The hidden main dialog: the owner of the program's boxes and of the clipboard.
  HWND (*mainWindow)() = nullptr;
  // Dispatches the messages of the calling thread's windows; null: a plain
  // PeekMessage/DispatchMessage loop.
  void (*pumpWindows)() = nullptr;
  // Identification: the modeless "press a key" dialog (the blinking variant for devices with
  // layer LEDs), which the caller destroys; null: none is shown.
  HWND (*openPressKeyDialog)(bool blinking) = nullptr;
  // Identification: the modal "Duplicate Unit ID" box; null: nothing is shown.
  void (*showDuplicateUnitId)(HWND owner) = nullptr;
  // The device thread's end: closes the windows of the layers above that the thread opened and
  // that no device record holds (the setup wizards); null: none.
  void (*closeThreadWindows)() = nullptr;
  // Request 2: reads the device's on-board macro memory into its record (with the progress
  // dialog); false when that failed. Null: nothing is read.
  bool (*readOnboardMacros)(DeviceRecord& device) = nullptr;
};
void SetProgramHooks(const ProgramHooks& hooks);
const ProgramHooks& GetProgramHooks();

// The main dialog, or null when there is none (a host, a test).
HWND ProgramMainWindow();
// Dispatches the calling thread's window messages through the program's pump.
void PumpProgramWindows();
// Closes the device thread's windows of the layers above (the hook's; nothing without it).
void CloseProgramThreadWindows();
// Reads the device's on-board macro memory through the hook; false without one.
bool ReadOnboardMacros(DeviceRecord& device);

// Set while the device thread is asked to end: long waits on it give up then.
bool IsDeviceThreadStopping();
void SetDeviceThreadStopping(bool stopping);
