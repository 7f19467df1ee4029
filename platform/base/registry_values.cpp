#include "platform/base/registry_values.h"

#include <windows.h>

std::optional<std::uint32_t> ReadMachineDword(const std::string& subkey, const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::uint32_t value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  const LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || size != sizeof value) return std::nullopt;
  return value;
}

bool WriteMachineDword(const std::string& subkey, const std::string& name, std::uint32_t value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}
