#pragma once
// Unit ids of attached devices, and the layer LEDs and backlights, which go through the
// script global QpadLEDs and the device's named output reports.

#include <windows.h>

#include "runtime/device/device_table.h"

struct DeviceRecord;
class SystemCalls;

// What identifying the devices shows of the program above on the device thread, and the pump
// that keeps the thread's windows alive while it waits. A program without dialogs keeps these
// as they are.
class IdentificationDialogs {
 public:
  virtual ~IdentificationDialogs() = default;
  // Dispatches the calling thread's window messages (a plain loop unless the program has a
  // pump of its own).
  virtual void PumpWindows();
  // The modeless "press a key" dialog (the blinking one for a device with layer LEDs), which
  // the caller destroys; null: none is shown.
  virtual HWND OpenPressKeyDialog(bool blinking);
  // The modal "Duplicate Unit ID" box.
  virtual void ShowDuplicateUnitId();
};

// Sets the interface up and reads the unit id from a first report; until one comes, a dialog
// asks for a key press while the LEDs flash. False drops the device.
bool IdentifyDevice(DeviceRecord& device, IdentificationDialogs& dialogs);
// A new unit id from the product's counter under the program's key of the machine (in the
// platform's registry), written to the device.
void AssignUnitId(DeviceRecord& device, DeviceTableView table, SystemCalls& calls);
// Gives ids to devices without a valid one, then to duplicates (telling the user of each).
void CheckUnitIds(DeviceTableView table, IdentificationDialogs& dialogs, SystemCalls& calls);

void SetLayerLed(bool red, DeviceRecord& device);
void SetDeviceLeds(bool red, bool green, DeviceRecord& device);
void SetDeviceBacklights(bool on, DeviceRecord& device);
