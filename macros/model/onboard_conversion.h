#pragma once
// Macro steps as the key-code strings a keypad plays from its own memory, and back. A string
// is a run of bytes ended by 0 (0xEA ends it too):
//   k, 0xE8, k   tap key k (a USB HID keyboard usage)
//   k            press k, it stays down
//   0xE8, k      release k
//   0xEC, m      set the modifier byte (Ctrl 0x01, Shift 0x02, Alt 0x04, WinKey 0x08; the
//                right-hand keys four bits higher)
//   0xE9 n times wait n quarter seconds
//   0xEA         toggle the LED layer (a string of that byte alone)
// Step texts here carry "_" (press only) or "-" (release only) in front; DeviceStepTexts gives
// them for an entry whose held and released steps are marked by symbols.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"
#include "macros/model/onboard_image.h"

inline constexpr std::uint8_t kReleaseCode = 0xE8;
inline constexpr std::uint8_t kDelayCode = 0xE9;
inline constexpr std::uint8_t kToggleLayerCode = 0xEA;
inline constexpr std::uint8_t kModifierCode = 0xEC;

enum class DeviceStepKind {
  kTap,       // 3 bytes
  kPress,     // 1
  kRelease,   // 2
  kModifier,  // 0xEC and the byte: 2
  kDelay,     // the code's count of 0xE9
};

// Appends one step. A key of code 0 (a name without a usage) gives nothing: a 0 would end the
// string there.
void EmitMacroStep(DeviceCodes& out, std::uint8_t code, DeviceStepKind kind);

// The entry's steps with their held and released symbols turned into "_" and "-" in front.
std::vector<std::wstring> DeviceStepTexts(const MacroEntry& entry);

// The string the steps make, its closing 0 included; empty when they give no bytes. Names the
// key tables do not know, and keys without a usage, are left out.
DeviceCodes MacroTextToDeviceCodes(const std::vector<std::wstring>& steps);

// The steps a string means (up to its end, 0 or 0xEA, or the last byte): typed text for
// character keys, key names, combinations in braces, "[Delay n]" for the waits.
std::vector<std::wstring> DeviceCodesToMacroText(const DeviceCodes& codes);

// "[Delay n]" of a count of quarter seconds, and the count a delay step gives (0 for any
// other step).
std::wstring DelayStepText(int quarters);
int DelayStepQuarters(std::wstring_view step);

// The key code of a typed character, a key name or a combination's part; 0 when none.
std::uint8_t DeviceKeyCodeOf(std::wstring_view name);
// The modifier bits that a name stands for: "Ctrl", "Shift", "Alt", "WinKey", and the key names
// of modifiers that have no usage ("<Right Shift>"); 0 for other names.
std::uint8_t ModifierBitsOf(std::wstring_view name);
// The bits of a combination of modifiers alone ("{Ctrl+Shift}"); 0 for any other step.
std::uint8_t ModifierOnlyCombination(std::wstring_view step);
// The characters typed with Shift held.
bool IsShiftedCharacter(wchar_t c);
