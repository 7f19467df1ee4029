#pragma once
// The programming window's device over the device thread's record, which it holds: a record
// keeps its address while it is in the table, and the window goes before its record does (or
// owns it, for a script opened without a device).

#include "macros/device_macro_device.h"
#include "ui/programming_window/programming_device.h"

class DeviceRecordProgrammingDevice : public DeviceRecordMacroDevice, public ProgrammingDevice {
 public:
  explicit DeviceRecordProgrammingDevice(DeviceRecord& record) : DeviceRecordMacroDevice(record) {}

  ProgrammingDeviceFacts Facts() override;
  void SetRed(bool red) override;
  void SetBootMode(bool on) override;
  void SetProgrammingRequested(bool on) override;
  void SetBacklights(bool on) override { DeviceRecordMacroDevice::SetBacklights(on); }
  void SetKeyswitchMode(bool on) override { DeviceRecordMacroDevice::SetKeyswitchMode(on); }
  void ShowLeds(bool red, bool green) override;
  std::string ScriptFileName() override { return OwnScriptPath(); }
  std::string TypeFolder() override;
};
