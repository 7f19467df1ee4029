#include "runtime/functions/device_values.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "platform/base/system_calls.h"
#include "platform/base/text_lines.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/calibration_max_lines.h"

const char kCalibrationFileName[] = "ModernCalibration.lcm";

namespace {

void ShowError(SystemCalls& calls, const char* text, const char* caption) {
  calls.ShowMessageBox(nullptr, text, caption, BoxButtons::Ok);
}

}  // namespace

int GetByteValueFromDevice(SystemCalls& calls, int byteNum) {
  const DeviceRecord* device = GetCurrentDevice();
  if (!device) return -1;
  const int length =
      std::min<int>(device->inputLength, static_cast<int>(device->currentReport.size()));
  if (byteNum < 0 || byteNum >= length) {
    ShowError(calls, "Could not initiate lever position values because byte value was out of range!",
              "Error");
    return -1;
  }
  return device->currentReport[static_cast<std::size_t>(byteNum)];
}

int GetCalibratedValue(SystemCalls& calls, int pos) {
  const DeviceRecord* device = GetCurrentDevice();
  if (!device) return -1;
  std::string path;
  FilePtr file;
  if (ResolveDeviceFile(device->folder, kCalibrationFileName, path))
    file.reset(std::fopen(path.c_str(), "r"));
  if (!file) {
    ShowError(
        calls,
        "Your calibration file could not be located.  Please ensure ModernCalibration.lcm "
        "is in the device folder and try again.",
        "File Not Found");
    return -1;
  }
  return CalibratedMaxValue(ReadAllText(file.get()), pos);
}
