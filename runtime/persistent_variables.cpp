#include "runtime/persistent_variables.h"

// Not kept yet: nothing is stored and nothing can be read.
bool SetPersistentInt(const std::string&, const std::string&, int) { return false; }
bool SetPersistentDouble(const std::string&, const std::string&, double) { return false; }
bool SetPersistentString(const std::string&, const std::string&, const std::string&) {
  return false;
}

bool GetPersistentInt(const std::string&, const std::string&, int& value) {
  value = 0;
  return false;
}
bool GetPersistentDouble(const std::string&, const std::string&, double& value) {
  value = 0.0;
  return false;
}
bool GetPersistentString(const std::string&, const std::string&, std::string& value) {
  value.clear();
  return false;
}
