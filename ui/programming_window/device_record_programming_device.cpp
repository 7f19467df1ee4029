#include "ui/programming_window/device_record_programming_device.h"

#include "macros/device_macro_device.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_identification.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"

DeviceRecordProgrammingDevice::DeviceRecordProgrammingDevice(DeviceRecord& record,
                                                             const MacroContext& context)
    : record_(&record), context_(context) {}

DeviceRecord* DeviceRecordProgrammingDevice::Find() const {
  // While the table is taken down (a removal, a build cycle) it is not published; its records
  // do not move then, so the last one found still holds.
  int count = 0;
  DeviceRecord* table = GetDeviceArray(count);
  for (int i = 0; table && i < count; ++i)
    if (table[i].macroContext == &context_) return record_ = &table[i];
  return record_;
}

DeviceRecord* DeviceRecordProgrammingDevice::Record() { return Find(); }

ProgrammingDeviceFacts DeviceRecordProgrammingDevice::Facts() {
  ProgrammingDeviceFacts f;
  const DeviceRecord* d = Find();
  if (!d) return f;
  f.setUp = d->setUp;
  f.hasColourLayers = d->hasLayerLed;
  f.red = d->redLayer;
  f.bootMode = d->onboardMacros;
  f.programmingRequested = d->programmingRequested;
  f.hasProgrammingSwitch = d->hasProgrammingSwitch;
  f.backlightsAvailable = d->backlightsAvailable;
  f.backlightsOn = d->backlightsOn;
  f.keyswitchAvailable = d->keyswitchAvailable;
  f.keyswitchOn = d->keyswitchOn;
  f.productId = d->productId;
  return f;
}

void DeviceRecordProgrammingDevice::SetRed(bool red) {
  if (DeviceRecord* d = Find()) d->redLayer = red;
}
void DeviceRecordProgrammingDevice::SetBootMode(bool on) {
  if (DeviceRecord* d = Find()) d->onboardMacros = on;
}
void DeviceRecordProgrammingDevice::SetProgrammingRequested(bool on) {
  if (DeviceRecord* d = Find()) d->programmingRequested = on;
}
void DeviceRecordProgrammingDevice::SetBacklights(bool on) {
  if (DeviceRecord* d = Find()) DeviceRecordMacroDevice(*d).SetBacklights(on);
}
void DeviceRecordProgrammingDevice::SetKeyswitchMode(bool on) {
  if (DeviceRecord* d = Find()) DeviceRecordMacroDevice(*d).SetKeyswitchMode(on);
}

void DeviceRecordProgrammingDevice::ShowLeds(bool red, bool green) {
  // A record without reports keeps its layer in the LED call: the blink must not change it.
  DeviceRecord* d = Find();
  if (d && d->setUp && d->hasLayerLed) SetDeviceLeds(red, green, *d);
}

std::string DeviceRecordProgrammingDevice::ScriptFileName() {
  const DeviceRecord* d = Find();
  return d && d->folder ? GetDeviceScriptFileName(d->folder, d->unitId) : std::string();
}

std::string DeviceRecordProgrammingDevice::TypeFolder() {
  const DeviceRecord* d = Find();
  std::string folder;
  if (d && d->folder && GetDeviceFolderPath(d->folder, folder) == 0) return folder;
  return {};
}

bool DeviceRecordProgrammingDevice::RedLayer() const {
  const DeviceRecord* d = Find();
  return d && d->redLayer;
}
void* DeviceRecordProgrammingDevice::ProgrammingWindow() const {
  const DeviceRecord* d = Find();
  return d ? d->programmingWindow : nullptr;
}
void DeviceRecordProgrammingDevice::HandOverPendingKey() {
  if (DeviceRecord* d = Find()) DeviceRecordMacroDevice(*d).HandOverPendingKey();
}
bool DeviceRecordProgrammingDevice::Removed() const {
  const DeviceRecord* d = Find();
  return d && d->removed;
}

DeviceScriptSettings DeviceRecordProgrammingDevice::Settings() const {
  DeviceRecord* d = Find();
  return d ? DeviceRecordMacroDevice(*d).Settings() : DeviceScriptSettings{};
}
bool DeviceRecordProgrammingDevice::KeepsOnboardMacros() const {
  DeviceRecord* d = Find();
  return d && DeviceRecordMacroDevice(*d).KeepsOnboardMacros();
}
void DeviceRecordProgrammingDevice::EndProgramming() {
  if (DeviceRecord* d = Find()) DeviceRecordMacroDevice(*d).EndProgramming();
}
void DeviceRecordProgrammingDevice::Wake() {
  if (DeviceRecord* d = Find()) DeviceRecordMacroDevice(*d).Wake();
}
bool DeviceRecordProgrammingDevice::ReadDeviceFile(const std::string& name, std::string& text,
                                                   std::string& path) {
  DeviceRecord* d = Find();
  return d && DeviceRecordMacroDevice(*d).ReadDeviceFile(name, text, path);
}
bool DeviceRecordProgrammingDevice::ResolveDeviceFile(const std::string& name, std::wstring& path) {
  DeviceRecord* d = Find();
  return d && DeviceRecordMacroDevice(*d).ResolveDeviceFile(name, path);
}
bool DeviceRecordProgrammingDevice::ResolveButtonImage(const std::string& layoutFolder,
                                                       const std::string& name, std::wstring& path) {
  DeviceRecord* d = Find();
  return d && DeviceRecordMacroDevice(*d).ResolveButtonImage(layoutFolder, name, path);
}
std::string DeviceRecordProgrammingDevice::ButtonImagesFolder() {
  DeviceRecord* d = Find();
  return d ? DeviceRecordMacroDevice(*d).ButtonImagesFolder() : std::string();
}
bool DeviceRecordProgrammingDevice::DeviceName(std::string& name) {
  DeviceRecord* d = Find();
  return d && DeviceRecordMacroDevice(*d).DeviceName(name);
}
std::string DeviceRecordProgrammingDevice::ScriptPath() {
  DeviceRecord* d = Find();
  return d ? DeviceRecordMacroDevice(*d).ScriptPath() : std::string();
}
std::string DeviceRecordProgrammingDevice::ScriptFolder() {
  DeviceRecord* d = Find();
  return d ? DeviceRecordMacroDevice(*d).ScriptFolder() : std::string();
}
std::string DeviceRecordProgrammingDevice::OwnScriptPath() {
  DeviceRecord* d = Find();
  return d ? DeviceRecordMacroDevice(*d).OwnScriptPath() : std::string();
}
