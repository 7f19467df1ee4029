#pragma once
// The program's values under its key of the machine, and the value record the registry seam
// (system_calls.h) reads and writes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr char kOrvaneRegistryKey[] = "SOFTWARE\\Kestrion\\Orvane II";

// Value types (the platform's REG_* numbers).
constexpr std::uint32_t kRegistryText = 1;
constexpr std::uint32_t kRegistryBinary = 3;
constexpr std::uint32_t kRegistryDword = 4;

class SystemCalls;

struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
  bool operator==(const RegistryValue&) const = default;
};

// A 4-byte value; nothing when the key or the value is missing or of another size.
std::optional<std::uint32_t> ReadMachineDword(SystemCalls& calls, const std::string& subkey,
                                              const std::string& name);
// Writes a REG_DWORD, creating the key with full access if missing; false on failure.
bool WriteMachineDword(SystemCalls& calls, const std::string& subkey, const std::string& name,
                       std::uint32_t value);
// The same through the calls in force.
std::optional<std::uint32_t> ReadMachineDword(const std::string& subkey, const std::string& name);
bool WriteMachineDword(const std::string& subkey, const std::string& name, std::uint32_t value);
