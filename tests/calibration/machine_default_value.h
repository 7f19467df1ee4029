#pragma once
// A machine registry value set for the length of a test. Header-only. Tests that set the same
// key take a ctest resource lock of that name, as they share the registry.

#include <windows.h>

#include <optional>
#include <string>

// The default value of a machine key in the 32-bit view, as the 32-bit installer writes it; the
// earlier state comes back when the guard goes.
class MachineDefaultValue {
 public:
  MachineDefaultValue(const char* key, const std::string& value) : key_(key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_, 0, KEY_READ | KEY_WOW64_32KEY, &k) == ERROR_SUCCESS) {
      existed_ = true;
      // Read at its own size: a value cut short would be restored cut, or not at all.
      DWORD size = 0, type = 0;
      LSTATUS r = RegQueryValueExA(k, "", nullptr, &type, nullptr, &size);
      if (r == ERROR_SUCCESS) {
        std::string old(size, '\0');
        r = RegQueryValueExA(k, "", nullptr, &type, reinterpret_cast<BYTE*>(old.data()), &size);
        if (r == ERROR_SUCCESS) {
          old.resize(size);
          if (!old.empty() && old.back() == '\0') old.pop_back();
          old_ = old;
        }
      }
      // A value that is there but could not be read is never touched: it could not be restored.
      keep_ = r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND;
      RegCloseKey(k);
    }
    set_ = !keep_ && Set(value);
  }
  ~MachineDefaultValue() {
    if (keep_) return;
    if (old_) {
      Set(*old_);
    } else if (!existed_) {
      RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_32KEY, 0);
    } else {
      HKEY k = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &k) == ERROR_SUCCESS) {
        RegDeleteValueA(k, "");
        RegCloseKey(k);
      }
    }
  }
  MachineDefaultValue(const MachineDefaultValue&) = delete;
  MachineDefaultValue& operator=(const MachineDefaultValue&) = delete;
  bool ok() const { return set_; }

 private:
  bool Set(const std::string& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                        nullptr, &k, nullptr) != ERROR_SUCCESS)
      return false;
    const bool ok = RegSetValueExA(k, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
  }
  const char* key_;
  bool existed_ = false;
  bool keep_ = false;
  std::optional<std::string> old_;
  bool set_ = false;
};
