// Fuzz target: "DeviceDescription.txt" texts: the name fits the tray item, the mode is one of
// the five, and the in-place trim agrees with the string one.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/device/device_description.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const DeviceDescription d = ParseDeviceDescriptionText(text);

  Check(d.name.size() <= kDeviceNameChars);
  Check(d.name.empty() || (!IsSpace(d.name.front()) && text.find(d.name) != std::string::npos));
  Check(d.mode >= kModeQuorlSwitchable && d.mode <= kModeNone);
  // A mode switch turns the two plain modes into their switchable forms; without one they stay.
  if (d.modeSwitchAvailable)
    Check(d.mode != kModeQuorl && d.mode != kModeKeyboard);
  else
    Check(d.mode != kModeQuorlSwitchable && d.mode != kModeKeyboardSwitchable);

  const std::string fallback = DefaultDeviceName(0x0A7C, d.quorlProductId);
  Check(fallback.size() <= kDeviceNameChars && fallback.starts_with("DeviceVID0A7CPID"));

  // The text up to its first zero byte, trimmed both ways.
  std::string line(text.substr(0, text.find('\0')));
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  TrimSpaces(buffer.data());
  TrimSpaces(line);
  Check(line == buffer.data());
  Check(line.empty() || (!IsSpace(line.front()) && !IsSpace(line.back())));
  return 0;
}
