#include "platform/base/registry_values.h"

#include <cstring>

#include "platform/base/system_calls.h"

std::optional<std::uint32_t> ReadMachineDword(const std::string& subkey, const std::string& name) {
  return ReadMachineDword(GetSystemCalls(), subkey, name);
}

bool WriteMachineDword(const std::string& subkey, const std::string& name, std::uint32_t value) {
  return WriteMachineDword(GetSystemCalls(), subkey, name, value);
}

std::optional<std::uint32_t> ReadMachineDword(SystemCalls& calls, const std::string& subkey,
                                              const std::string& name) {
  const std::optional<RegistryValue> stored = calls.ReadMachineValue(subkey, name);
  std::uint32_t value = 0;
  if (!stored || stored->bytes.size() != sizeof value) return std::nullopt;
  std::memcpy(&value, stored->bytes.data(), sizeof value);
  return value;
}

bool WriteMachineDword(SystemCalls& calls, const std::string& subkey, const std::string& name,
                       std::uint32_t value) {
  RegistryValue stored{kRegistryDword, std::vector<std::uint8_t>(sizeof value)};
  std::memcpy(stored.bytes.data(), &value, sizeof value);
  return calls.WriteMachineValue(subkey, name, stored);
}
