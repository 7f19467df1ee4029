#pragma once
// Unit ids of attached devices, and the layer LEDs and backlights.

struct DeviceRecord;

// Sets the interface up and reads the unit id from a first report; false drops the device.
bool IdentifyDevice(DeviceRecord& device);
void CheckUnitIds(DeviceRecord* table, int count);
void SetLayerLed(bool red, DeviceRecord& device);
