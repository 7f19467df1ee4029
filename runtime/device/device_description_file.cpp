// ReadDeviceDescription: the device folder's file applied to a tray item or a device record,
// kept apart from the text parser so that the parser builds without the platform.
#include "runtime/device/device_description.h"

#include "platform/base/text_lines.h"
#include "runtime/device/device_record.h"

void ReadDeviceDescription(TrayDeviceItem* item, DeviceRecord* device) {
  DeviceFolderEntry* folder = item ? item->folder : device ? device->folder : nullptr;
  if (item) {
    item->mode = kModeNone;
    item->unitId = 0;
    item->quorlProductId = 0;
    item->name = DefaultDeviceName(item->vendorId, item->productId);
  }
  FilePtr file = OpenDeviceFile(folder, "DeviceDescription.txt");
  if (!file) return;
  const DeviceDescription d = ParseDeviceDescriptionText(ReadAllText(file.get()));
  if (item) {
    if (!d.name.empty()) item->name = d.name;
    item->mode = d.mode;
    item->quorlProductId = d.quorlProductId;
  }
  if (device && d.modeSwitchAvailable) device->modeSwitchAvailable = true;
}

std::string DeviceTypeName(const DeviceRecord& device) {
  TrayDeviceItem item;
  item.folder = device.folder;
  item.vendorId = device.vendorId;
  item.productId = device.productId;
  ReadDeviceDescription(&item, nullptr);
  return item.name;
}
