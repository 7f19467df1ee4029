#pragma once
// The macro model's view of an attached device: its record's settings, the files of its device
// type folder, and its programming session.

#include "macros/device_record_source.h"
#include "macros/model/macro_device.h"

struct DeviceRecord;

class DeviceRecordMacroDevice : public MacroDevice, public DeviceRecordSource {
 public:
  explicit DeviceRecordMacroDevice(DeviceRecord& device) : device_(device) {}

  DeviceScriptSettings Settings() const override;
  void SetBacklights(bool on) override;
  void SetKeyswitchMode(bool on) override;
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

  bool RedLayer() const override;
  void* ProgrammingWindow() const override;
  void HandOverPendingKey() override;
  bool Removed() const override;

  DeviceRecord* Record() override { return &device_; }

 protected:
  DeviceRecord& Device() const { return device_; }

 private:
  DeviceRecord& device_;
};
