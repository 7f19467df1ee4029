#pragma once
// The layer LED and the backlights of a device, set through its module's `QpadLEDs` global
// and its "setLEDs", "setBacklightsOn" and "setBacklightsOff" output reports.

struct DeviceRecord;

// Shows the red or the green layer; nothing happens when the device already shows it. A
// device that is not set up only remembers the layer.
void SetLayerLed(bool red, DeviceRecord& device);
// Turns the backlights on or off; nothing is written without the output or `QpadLEDs`, or on
// a device that is not set up.
void SetDeviceBacklights(bool on, DeviceRecord& device);
