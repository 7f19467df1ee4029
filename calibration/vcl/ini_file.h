// An ini file read and written through the platform's private-profile functions (the seam).
#pragma once
#include <string>

#include "calibration/vcl/system.h"

namespace vcl {

class IniFile {
 public:
  IniFile(System& system, std::string path) : system_(system), path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const {
    return system_.ReadIniString(path_, section, key, fallback);
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) {
    return system_.WriteIniString(path_, section, key, value);
  }

 private:
  System& system_;
  std::string path_;
};

// Registry values, read only, through the seam.
class Registry {
 public:
  Registry(System& system, RegistryRoot root) : system_(system), root_(root) {}
  // false when the key or the value is missing; name "" is the default value.
  bool ReadString(const std::string& key, const std::string& name, std::string& value) const {
    return system_.ReadRegistryString(root_, key, name, value);
  }

 private:
  System& system_;
  RegistryRoot root_;
};

}  // namespace vcl
