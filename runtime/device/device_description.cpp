#include "runtime/device/device_description.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/base/text_lines.h"

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool TakePrefix(std::string_view line, std::string_view prefix, std::string_view& value) {
  if (line.substr(0, prefix.size()) != prefix) return false;
  value = Trimmed(line.substr(prefix.size()));
  return true;
}

}  // namespace

void TrimSpaces(std::string& text) { text = std::string(Trimmed(text)); }

void TrimSpaces(char* text) {
  if (!text) return;
  const std::string_view t = Trimmed(text);
  std::memmove(text, t.data(), t.size());
  text[t.size()] = '\0';
}

std::string DefaultDeviceName(int vendorId, int productId) {
  char name[64];
  std::snprintf(name, sizeof name, "DeviceVID%04XPID%04X", static_cast<unsigned>(vendorId),
                static_cast<unsigned>(productId));
  return name;
}

DeviceDescription ParseDeviceDescriptionText(std::string_view text) {
  DeviceDescription d;
  for (const std::string_view line : SplitFileLines(text, kDescriptionLineChars)) {
    std::string_view v;
    if (TakePrefix(line, "Device Name:", v)) {
      d.name = std::string(v.substr(0, kDeviceNameChars));
    } else if (TakePrefix(line, "Device Mode:", v)) {
      if (v == "Keyboard") d.mode = kModeKeyboard;
      if (v == "QUORL") d.mode = kModeQuorl;
    } else if (TakePrefix(line, "QUORL Mode Available:", v) ||
               TakePrefix(line, "Keyboard Mode Available:", v)) {
      if (v == "Yes") d.modeSwitchAvailable = true;
    } else if (TakePrefix(line, "QUORL PID:", v)) {
      d.quorlProductId = static_cast<int>(std::strtol(std::string(v).c_str(), nullptr, 0));
    }
  }
  if (d.modeSwitchAvailable) {
    if (d.mode == kModeKeyboard) d.mode = kModeKeyboardSwitchable;
    if (d.mode == kModeQuorl) d.mode = kModeQuorlSwitchable;
  }
  return d;
}
