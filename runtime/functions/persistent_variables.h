#pragma once
// Script variables kept across runs in the registry of the machine: one value per variable,
// in the key "Macro Variables" under the program's key, or in a section subkey of it.

#include <string>

class SystemCalls;

inline constexpr char kMacroVariablesKey[] = "SOFTWARE\\Kestrion\\Orvane II\\Macro Variables";
// Longest string value GetPersistentString takes, terminating zero included.
constexpr unsigned kPersistentStringBytes = 260;

// The key of a section: the root key for "", else root + "\" + section.
std::string PersistentSectionKey(const std::string& section);

// Script functions. The setters always report true (a key that cannot be written, say
// without rights, is not reported). The getters give false and 0, 0.0 or "" when the key or
// the value is missing or the value is larger than its buffer (4, 8 or 260 bytes); the stored
// type is not checked.
// "bool SetPersistentInt(string &in,string &in,int value)"
bool SetPersistentInt(SystemCalls& calls, const std::string& section, const std::string& name, int value);
// "bool SetPersistentDouble(string &in,string &in,double value)"
bool SetPersistentDouble(SystemCalls& calls, const std::string& section, const std::string& name, double value);
// "bool SetPersistentString(string &in,string &in,string &in)"
bool SetPersistentString(SystemCalls& calls, const std::string& section, const std::string& name,
                         const std::string& value);
// "bool GetPersistentInt(string &in,string &in,int &out)"
bool GetPersistentInt(SystemCalls& calls, const std::string& section, const std::string& name, int& value);
// "bool GetPersistentDouble(string &in,string &in,double &out)"
bool GetPersistentDouble(SystemCalls& calls, const std::string& section, const std::string& name, double& value);
// "bool GetPersistentString(string &in,string &in,string &out)"
bool GetPersistentString(SystemCalls& calls, const std::string& section, const std::string& name, std::string& value);
