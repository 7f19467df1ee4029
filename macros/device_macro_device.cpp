#include "macros/device_macro_device.h"

#include "platform/base/text_lines.h"
#include "runtime/device/device_description.h"
#include "runtime/device/device_identification.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"

DeviceScriptSettings DeviceRecordMacroDevice::Settings() const {
  DeviceScriptSettings s;
  s.greenLedMask = device_.greenLedMask;
  s.redLedMask = device_.redLedMask;
  s.backlightsAvailable = device_.backlightsAvailable;
  s.backlightsOn = device_.backlightsOn;
  s.backlightStateKnown = device_.backlightStateKnown;
  s.keyswitchAvailable = device_.keyswitchAvailable;
  s.keyswitchOn = device_.keyswitchOn;
  s.unitId = device_.unitId;
  return s;
}

bool DeviceRecordMacroDevice::ReadDeviceFile(const std::string& name, std::string& text,
                                             std::string& path) {
  text.clear();
  path.clear();
  if (!::ResolveDeviceFile(device_.folder, name, path)) return false;
  FilePtr file = OpenDeviceFile(device_.folder, name);
  if (!file) return false;
  text = ReadAllText(file.get());
  return true;
}

bool DeviceRecordMacroDevice::ResolveDeviceFile(const std::string& name, std::wstring& path) {
  return ResolveDeviceFileW(device_.folder, name, path);
}

bool DeviceRecordMacroDevice::ResolveButtonImage(const std::string& layoutFolder,
                                                 const std::string& name, std::wstring& path) {
  // The layout's folder is kept with its backslash; the lookup joins it with one.
  std::string folder = layoutFolder;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return ResolveButtonImagePath(device_.folder, folder, name, path);
}

std::string DeviceRecordMacroDevice::ButtonImagesFolder() {
  return GetButtonImagesFolder(device_.folder);
}

bool DeviceRecordMacroDevice::DeviceName(std::string& name) {
  std::string text, path;
  if (!ReadDeviceFile("DeviceDescription.txt", text, path)) return false;
  name = ParseDeviceDescriptionText(text).name;
  return true;
}

std::string DeviceRecordMacroDevice::ScriptPath() {
  std::string path;
  return GetDeviceScriptPath(device_.folder, device_.unitId, path) == 0 ? path : std::string();
}

std::string DeviceRecordMacroDevice::OwnScriptPath() { return GetDeviceScriptFileName(device_.folder, device_.unitId); }

std::string DeviceRecordMacroDevice::ScriptFolder() {
  return GetDeviceScriptFolder(device_.folder, device_.unitId);
}

void DeviceRecordMacroDevice::SetBacklights(bool on) { SetDeviceBacklights(on, device_); }

void DeviceRecordMacroDevice::SetKeyswitchMode(bool on) { device_.keyswitchOn = on; }

bool DeviceRecordMacroDevice::KeepsOnboardMacros() const { return device_.onboardMacros; }

void DeviceRecordMacroDevice::EndProgramming() {
  device_.programmingRequested = false;
  device_.rebuildScript = true;
  device_.programmingWindow = nullptr;
  device_.redLayer = false;
  device_.macroContext = nullptr;
}

void DeviceRecordMacroDevice::Wake() {
  if (device_.readEvent) SetEvent(device_.readEvent);
}

bool DeviceRecordMacroDevice::RedLayer() const { return device_.redLayer; }

void* DeviceRecordMacroDevice::ProgrammingWindow() const { return device_.programmingWindow; }

void DeviceRecordMacroDevice::HandOverPendingKey() {
  if (device_.pendingKey == kNoPendingKey) return;
  device_.pendingKey = kNoPendingKey;
  device_.programmingRequested = false;
  // Only into a free slot; the device thread then looks at the programming switch again.
  if (RequestCode.load() != kRequestNone) return;
  RequestDevice = kNoRequestDevice;
  int free = kRequestNone;
  if (RequestCode.compare_exchange_strong(free, kRequestPendingKey)) WakeDeviceThread(device_);
}

bool DeviceRecordMacroDevice::Removed() const { return device_.removed; }
