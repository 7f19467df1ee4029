#pragma once
// The display names of virtual-key codes: the text a recorded key becomes in a macro. One table
// for a key without Shift (and inside combinations), one for a key with Shift alone; both name
// the same 167 codes. Built once, on the device thread.

#include <cstdint>
#include <optional>
#include <string>

void BuildKeyDisplayNames();
void ClearKeyDisplayNames();
bool KeyDisplayNamesBuilt();

// The name of a code, or none (codes 16 to 18, the generic modifiers, have none). Builds the
// tables when they are not.
std::optional<std::wstring> KeyDisplayName(std::uint8_t virtualKey, bool shifted);
// The virtual-key code of a USB HID keyboard usage (the inverse of the usage table), or 0.
std::uint8_t VirtualKeyOfUsage(std::uint8_t usage);
// The display name of a usage, through its virtual-key code.
std::optional<std::wstring> UsageDisplayName(std::uint8_t usage, bool shifted);
