#pragma once
// "DeviceDescription.txt": a device type's name for the tray menu and its hardware modes.
// The text parser is plain C++; ReadDeviceDescription (device_description_file.cpp) opens the
// device folder's file.

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/device/device_folders.h"

struct DeviceRecord;

// Tray menu modes of a device.
enum TrayDeviceMode : int {
  kModeQuorlSwitchable = 1,     // QUORL mode, keyboard mode available
  kModeKeyboardSwitchable = 2,  // keyboard mode, QUORL mode available
  kModeQuorl = 3,
  kModeKeyboard = 4,
  kModeNone = 5,  // no mode line
};

constexpr std::size_t kDescriptionLineChars = 199;
constexpr std::size_t kDeviceNameChars = 99;

// What one file says; `name` is empty when it names none.
struct DeviceDescription {
  std::string name;  // at most kDeviceNameChars characters
  int mode = kModeNone;
  bool modeSwitchAvailable = false;
  int quorlProductId = 0;
};

DeviceDescription ParseDeviceDescriptionText(std::string_view text);

// Trims white space at both ends in place.
void TrimSpaces(std::string& text);
void TrimSpaces(char* text);

// "DeviceVID%04XPID%04X"
std::string DefaultDeviceName(int vendorId, int productId);

// One device of the tray menu.
struct TrayDeviceItem {
  DeviceFolderEntry* folder = nullptr;
  int mode = kModeNone;
  int vendorId = 0;
  int productId = 0;
  int unitId = -1;  // -1 unless the mode is 1 or 3
  int quorlProductId = 0;
  int hidHandle = 0;
  std::string name;  // at most kDeviceNameChars characters
};

// With an item: fills it from the file of item->folder (defaults first). Without one: sets only
// device->modeSwitchAvailable from the file of device->folder. Nothing when the file cannot be
// opened (the item keeps its defaults).
void ReadDeviceDescription(TrayDeviceItem* item, DeviceRecord* device);

// The device's name as its type's file gives it, else its default name.
std::string DeviceTypeName(const DeviceRecord& device);
