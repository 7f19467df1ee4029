#include "ui/programming_window/device_record_programming_device.h"

#include "runtime/device/device_folders.h"
#include "runtime/device/device_identification.h"
#include "runtime/device/device_record.h"

ProgrammingDeviceFacts DeviceRecordProgrammingDevice::Facts() {
  const DeviceRecord& d = Device();
  ProgrammingDeviceFacts f;
  f.setUp = d.setUp;
  f.hasColourLayers = d.hasLayerLed;
  f.red = d.redLayer;
  f.bootMode = d.onboardMacros;
  f.programmingRequested = d.programmingRequested;
  f.hasProgrammingSwitch = d.hasProgrammingSwitch;
  f.backlightsAvailable = d.backlightsAvailable;
  f.backlightsOn = d.backlightsOn;
  f.keyswitchAvailable = d.keyswitchAvailable;
  f.keyswitchOn = d.keyswitchOn;
  f.productId = d.productId;
  return f;
}

void DeviceRecordProgrammingDevice::SetRed(bool red) { Device().redLayer = red; }
void DeviceRecordProgrammingDevice::SetBootMode(bool on) { Device().onboardMacros = on; }
void DeviceRecordProgrammingDevice::SetProgrammingRequested(bool on) { Device().programmingRequested = on; }

void DeviceRecordProgrammingDevice::ShowLeds(bool red, bool green) {
  // A record without reports keeps its layer in the LED call: the blink must not change it.
  DeviceRecord& d = Device();
  if (d.setUp && d.hasLayerLed) SetDeviceLeds(red, green, d);
}

std::string DeviceRecordProgrammingDevice::TypeFolder() {
  const DeviceRecord& d = Device();
  std::string folder;
  if (d.folder && GetDeviceFolderPath(d.folder, folder) == 0) return folder;
  return {};
}
