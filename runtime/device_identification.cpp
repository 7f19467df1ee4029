#include "runtime/device_identification.h"

#include <windows.h>

#include "platform/vhxhid/vhxhid.h"
#include "runtime/device_record.h"

bool IdentifyDevice(DeviceRecord& device) {
  void* read = nullptr;
  void* removal = nullptr;
  if (VhxSetUpInterface(device.hidHandle, &read, &removal) != VHX_OK) return false;
  device.readEvent = static_cast<HANDLE>(read);
  device.removalEvent = static_cast<HANDLE>(removal);
  HANDLE events[] = {device.readEvent, device.removalEvent};
  WaitForMultipleObjects(2, events, FALSE, 5000);
  ResetEvent(device.readEvent);
  if (VhxReadReport(device.hidHandle, device.previousReport.data()) != VHX_OK) return false;
  if (device.unitIdByte >= 0 && device.unitIdByte < device.inputLength)
    device.unitId = device.previousReport[device.unitIdByte];
  device.currentReport = device.previousReport;
  return true;
}

void CheckUnitIds(DeviceRecord*, int) {}

void SetLayerLed(bool red, DeviceRecord& device) { device.redLayer = red; }
