#pragma once
// Key tokens as the device's own keyboard reports: a six-byte keyboard state kept per device
// (byte 0 the modifier byte, bytes 1 to 5 packed USB HID usages, 0 for a free slot).

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/keys/macro_tokens.h"

using KeyboardState = std::array<std::uint8_t, 6>;

constexpr std::uint8_t kModifierCtrl = 0x01;
constexpr std::uint8_t kModifierShift = 0x02;
constexpr std::uint8_t kModifierAlt = 0x04;
constexpr std::uint8_t kModifierWinKey = 0x08;

// Applies each token to state and gives a copy of the state after each one. A press with all
// five slots used or of a key already in a slot, a release of a usage in no slot, or a
// character token changes nothing and gives no copy. Needs the key-name tables.
std::vector<KeyboardState> SendTokensAsDeviceReports(const std::vector<MacroToken>& tokens,
                                                     KeyboardState& state);
