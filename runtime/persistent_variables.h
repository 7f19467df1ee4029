#pragma once
// Script variables kept in the registry between runs, by section and name.

#include <string>

bool SetPersistentInt(const std::string& section, const std::string& name, int value);
bool SetPersistentDouble(const std::string& section, const std::string& name, double value);
bool SetPersistentString(const std::string& section, const std::string& name,
                         const std::string& value);
// False, with 0, 0.0 or "", when the value cannot be read.
bool GetPersistentInt(const std::string& section, const std::string& name, int& value);
bool GetPersistentDouble(const std::string& section, const std::string& name, double& value);
bool GetPersistentString(const std::string& section, const std::string& name, std::string& value);
