#pragma once
// The program's values under its key of the machine.

#include <cstdint>
#include <optional>
#include <string>

inline constexpr char kOrvaneRegistryKey[] = "SOFTWARE\\Kestrion\\Orvane II";

// A 4-byte value; nothing when the key or the value is missing or of another size.
std::optional<std::uint32_t> ReadMachineDword(const std::string& subkey, const std::string& name);
// Writes a REG_DWORD, creating the key with full access if missing; false on failure.
bool WriteMachineDword(const std::string& subkey, const std::string& name, std::uint32_t value);
