#include "runtime/functions/device_values.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string>

#include "platform/base/system_calls.h"
#include "platform/base/text_lines.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"

const char kCalibrationFileName[] = "ModernCalibration.lcm";

namespace {

// The calibration file is read through a 500-byte line buffer.
constexpr std::size_t kCalibrationLineChars = 499;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The number after a leading "Max" word, or false for any other line.
bool MaxLineValue(std::string_view line, int& value) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (line.substr(i, 3) != "Max") return false;
  i += 3;
  // "Max" must be a whole word: a name such as "Maximum" is another line.
  if (i < line.size() && !IsBlank(line[i]) && line[i] != '\r' && line[i] != '\n') return false;
  if (i < line.size()) ++i;  // the one character after "Max"
  while (i < line.size() && IsBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
  long long number = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    if (number < 100000000000LL) number = number * 10 + (line[i] - '0');
  if (negative) number = -number;
  if (number > INT_MAX) number = INT_MAX;
  if (number < INT_MIN) number = INT_MIN;
  value = static_cast<int>(number);
  return true;
}

void ShowError(const char* text, const char* caption) {
  GetSystemCalls().ShowMessageBox(nullptr, text, caption, MB_OK);
}

}  // namespace

int CalibratedMaxValue(std::string_view fileText, int pos) {
  if (pos < 1) return -1;
  int seen = 0;
  int value = 0;
  for (std::string_view line : SplitFileLines(fileText, kCalibrationLineChars))
    if (MaxLineValue(line, value) && ++seen == pos) return value;
  return -1;
}

int GetByteValueFromDevice(int byteNum) {
  const DeviceRecord* device = GetCurrentDevice();
  if (!device) return -1;
  const int length =
      std::min<int>(device->inputLength, static_cast<int>(device->currentReport.size()));
  if (byteNum < 0 || byteNum >= length) {
    ShowError("Could not initiate lever position values because byte value was out of range!",
              "Error");
    return -1;
  }
  return device->currentReport[static_cast<std::size_t>(byteNum)];
}

int GetCalibratedValue(int pos) {
  const DeviceRecord* device = GetCurrentDevice();
  if (!device) return -1;
  std::string path;
  FilePtr file;
  if (ResolveDeviceFile(device->folder, kCalibrationFileName, path))
    file.reset(std::fopen(path.c_str(), "r"));
  if (!file) {
    ShowError(
        "Your calibration file could not be located.  Please ensure ModernCalibration.lcm "
        "is in the device folder and try again.",
        "File Not Found");
    return -1;
  }
  return CalibratedMaxValue(ReadAllText(file.get()), pos);
}
