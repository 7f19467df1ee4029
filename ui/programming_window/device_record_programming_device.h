#pragma once
// The programming window's device over the device thread's record. The table of records moves
// as devices come and go, so the record is found afresh for every use: the one whose macro
// context is the window's; a record outside the table (a script opened without a device) is
// used as given.

#include "macros/device_record_source.h"
#include "macros/model/macro_device.h"
#include "ui/programming_window/programming_device.h"

struct DeviceRecord;
struct MacroContext;

class DeviceRecordProgrammingDevice : public ProgrammingDevice,
                                      public MacroDevice,
                                      public DeviceRecordSource {
 public:
  DeviceRecordProgrammingDevice(DeviceRecord& record, const MacroContext& context);

  // DeviceRecordSource
  DeviceRecord* Record() override;

  // ProgrammingDevice
  ProgrammingDeviceFacts Facts() override;
  void SetRed(bool red) override;
  void SetBootMode(bool on) override;
  void SetProgrammingRequested(bool on) override;
  void SetBacklights(bool on) override;  // and the model's
  void SetKeyswitchMode(bool on) override;  // and the model's
  void ShowLeds(bool red, bool green) override;
  std::string ScriptFileName() override;
  std::string TypeFolder() override;

  // MacroDevice
  bool RedLayer() const override;
  void* ProgrammingWindow() const override;
  void HandOverPendingKey() override;
  bool Removed() const override;
  DeviceScriptSettings Settings() const override;
  bool KeepsOnboardMacros() const override;
  void EndProgramming() override;
  void Wake() override;
  bool ReadDeviceFile(const std::string& name, std::string& text, std::string& path) override;
  bool ResolveDeviceFile(const std::string& name, std::wstring& path) override;
  bool ResolveButtonImage(const std::string& layoutFolder, const std::string& name,
                          std::wstring& path) override;
  std::string ButtonImagesFolder() override;
  bool DeviceName(std::string& name) override;
  std::string ScriptPath() override;
  std::string ScriptFolder() override;
  std::string OwnScriptPath() override;

 private:
  DeviceRecord* Find() const;

  mutable DeviceRecord* record_;
  const MacroContext& context_;
};
