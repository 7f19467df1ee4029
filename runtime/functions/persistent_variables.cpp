#include "runtime/functions/persistent_variables.h"

#include <cstring>

#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"

namespace {

void WriteValue(SystemCalls& calls, const std::string& section, const std::string& name,
                std::uint32_t type, const void* bytes, std::size_t size) {
  const auto* first = static_cast<const std::uint8_t*>(bytes);
  // A key that cannot be written (no rights) is not reported.
  calls.WriteMachineValue(PersistentSectionKey(section), name,
                          {type, std::vector<std::uint8_t>(first, first + size)});
}

// Reads the value into a zeroed buffer of `room` bytes; its size, or -1 when it is missing or
// does not fit.
long ReadValue(SystemCalls& calls, const std::string& section, const std::string& name,
               void* buffer, std::size_t room) {
  std::memset(buffer, 0, room);
  const std::optional<RegistryValue> value = calls.ReadMachineValue(PersistentSectionKey(section), name);
  if (!value || value->bytes.size() > room) return -1;
  if (!value->bytes.empty()) std::memcpy(buffer, value->bytes.data(), value->bytes.size());
  return static_cast<long>(value->bytes.size());
}

}  // namespace

std::string PersistentSectionKey(const std::string& section) {
  return section.empty() ? std::string(kMacroVariablesKey)
                         : std::string(kMacroVariablesKey) + "\\" + section;
}

bool SetPersistentInt(SystemCalls& calls, const std::string& section, const std::string& name, int value) {
  WriteValue(calls, section, name, kRegistryDword, &value, sizeof value);
  return true;
}

bool SetPersistentDouble(SystemCalls& calls, const std::string& section, const std::string& name,
                         double value) {
  WriteValue(calls, section, name, kRegistryBinary, &value, sizeof value);
  return true;
}

bool SetPersistentString(SystemCalls& calls, const std::string& section, const std::string& name,
                         const std::string& value) {
  WriteValue(calls, section, name, kRegistryText, value.c_str(), value.size() + 1);
  return true;
}

bool GetPersistentInt(SystemCalls& calls, const std::string& section, const std::string& name, int& value) {
  // A shorter value reads into the low bytes; the rest stay zero.
  value = 0;
  return ReadValue(calls, section, name, &value, sizeof value) >= 0;
}

bool GetPersistentDouble(SystemCalls& calls, const std::string& section, const std::string& name,
                         double& value) {
  value = 0.0;
  return ReadValue(calls, section, name, &value, sizeof value) >= 0;
}

bool GetPersistentString(SystemCalls& calls, const std::string& section, const std::string& name,
                         std::string& value) {
  char buffer[kPersistentStringBytes];
  const long size = ReadValue(calls, section, name, buffer, sizeof buffer);
  value.clear();
  if (size < 0) return false;
  // The text is what the value holds, without its terminating zeros (a value stored without
  // one, or of another type, still ends inside the buffer).
  std::size_t length = static_cast<std::size_t>(size);
  while (length > 0 && buffer[length - 1] == '\0') --length;
  value.assign(buffer, length);
  return true;
}
