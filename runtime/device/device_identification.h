#pragma once
// Unit ids of attached devices, and the layer LEDs and backlights, which go through the
// script global QpadLEDs and the device's named output reports.

#include <windows.h>

struct DeviceRecord;

// Sets the interface up and reads the unit id from a first report; until one comes, a dialog
// asks for a key press while the LEDs flash. False drops the device.
bool IdentifyDevice(DeviceRecord& device);
// A new unit id from the product's counter under the program's key, written to the device.
void AssignUnitId(DeviceRecord& device, const DeviceRecord* table, int count);
// Gives ids to devices without a valid one, then to duplicates (telling the user of each).
void CheckUnitIds(DeviceRecord* table, int count);

void SetLayerLed(bool red, DeviceRecord& device);
void SetDeviceLeds(bool red, bool green, DeviceRecord& device);
void SetDeviceBacklights(bool on, DeviceRecord& device);
