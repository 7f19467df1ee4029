#pragma once
// The script type `string`: the host's std::string, shared as it is by scripts, registered
// functions (string &in, string &out, string) and module libraries (std::string*). Text is
// bytes; no character set is assumed.

#include <cstdint>
#include <string>

class ScriptRegistrar;

// Module libraries take scripts' strings as std::string*: both sides must share one layout,
// the one of this compiler and its C++ library (on i686; x86_64 for the 64-bit test build).
static_assert(sizeof(std::string) == (sizeof(void*) == 4 ? 24 : 32),
              "script strings are shared with module libraries");

// Registers `string`, its constant factory, operators and methods. Registered before the array
// types and every function that names `string`.
void RegisterScriptString(ScriptRegistrar& reg);

// The texts a number gets when a script adds it to or assigns it to a string.
std::string ScriptValueText(double value);
std::string ScriptValueText(std::int32_t value);
std::string ScriptValueText(std::uint32_t value);

// -1, 0 or 1: the texts compared as unsigned bytes; where one is a prefix of the other the
// shorter is smaller.
int CompareScriptStrings(const std::string& a, const std::string& b);
