#pragma once
// The key names of macro text and their codes: a scan-code table and a virtual-key table keyed
// by name, four name sets that choose how a key is sent, and the virtual-key to USB HID usage
// table. Filled and read on the device thread only. A name in no table reads as 0.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

using KeyCodeTable = std::map<std::string, std::uint8_t, std::less<>>;
using KeyNameSet = std::set<std::string, std::less<>>;

// Fills the tables (again: a second fill leaves them as they are).
void InitKeyNameTables();
// Empties them (the device thread's end).
void ClearKeyNameTables();

// Make code in PC scan-code set 1, plus 0x80 for keys sent with the 0xE0 prefix; for the mouse
// names a button number.
const KeyCodeTable& ScanCodeTable();
// Every name of the scan-code table and "Esc".
const KeyCodeTable& VirtualKeyTable();
const KeyNameSet& VkOnlyKeyNames();      // sent by virtual-key code, not by scan code
const KeyNameSet& ExtendedKeyNames();    // sent as extended keys
const KeyNameSet& NumPadKeyNames();      // need Num Lock on
const KeyNameSet& NavigationKeyNames();  // need Num Lock off

bool HasScanCode(std::string_view name);
std::uint8_t ScanCodeOf(std::string_view name);
std::uint8_t VirtualKeyOf(std::string_view name);
bool IsVkOnlyKey(std::string_view name);
bool IsExtendedKey(std::string_view name);
bool IsNumPadKey(std::string_view name);
bool IsNavigationKey(std::string_view name);

// USB HID keyboard usage (page 7) of a virtual-key code; 0 where there is none (the modifier
// keys among them: the sender turns those into modifier bits).
std::uint8_t UsageOfVirtualKey(std::uint8_t virtualKey);
