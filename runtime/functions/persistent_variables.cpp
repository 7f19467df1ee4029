#include "runtime/functions/persistent_variables.h"

#include <windows.h>

#include <cstring>

namespace {

void WriteValue(const std::string& section, const std::string& name, DWORD type,
                const void* bytes, DWORD size) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, PersistentSectionKey(section).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(bytes), size);
  RegCloseKey(key);
}

// Reads the value into a zeroed buffer of `room` bytes; its size, or -1 when it is missing or
// does not fit.
long ReadValue(const std::string& section, const std::string& name, void* buffer, DWORD room) {
  std::memset(buffer, 0, room);
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PersistentSectionKey(section).c_str(), 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return -1;
  DWORD size = room;
  const LONG rc =
      RegQueryValueExA(key, name.c_str(), nullptr, nullptr, static_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || size > room) {
    std::memset(buffer, 0, room);
    return -1;
  }
  return static_cast<long>(size);
}

}  // namespace

std::string PersistentSectionKey(const std::string& section) {
  return section.empty() ? std::string(kMacroVariablesKey)
                         : std::string(kMacroVariablesKey) + "\\" + section;
}

bool SetPersistentInt(const std::string& section, const std::string& name, int value) {
  WriteValue(section, name, REG_DWORD, &value, sizeof value);
  return true;
}

bool SetPersistentDouble(const std::string& section, const std::string& name, double value) {
  WriteValue(section, name, REG_BINARY, &value, sizeof value);
  return true;
}

bool SetPersistentString(const std::string& section, const std::string& name,
                         const std::string& value) {
  WriteValue(section, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
  return true;
}

bool GetPersistentInt(const std::string& section, const std::string& name, int& value) {
  // A shorter value reads into the low bytes; the rest stay zero.
  value = 0;
  return ReadValue(section, name, &value, sizeof value) >= 0;
}

bool GetPersistentDouble(const std::string& section, const std::string& name, double& value) {
  value = 0.0;
  return ReadValue(section, name, &value, sizeof value) >= 0;
}

bool GetPersistentString(const std::string& section, const std::string& name, std::string& value) {
  char buffer[kPersistentStringBytes];
  const long size = ReadValue(section, name, buffer, sizeof buffer);
  value.clear();
  if (size < 0) return false;
  // The text is what the value holds, without its terminating zeros (a value stored without
  // one, or of another type, still ends inside the buffer).
  std::size_t length = static_cast<std::size_t>(size);
  while (length > 0 && buffer[length - 1] == '\0') --length;
  value.assign(buffer, length);
  return true;
}
