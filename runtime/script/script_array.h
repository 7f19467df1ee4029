#pragma once
// Script arrays. The library's array add-on is the default array type, so any `T[]` works in
// scripts; "uint8[]", "int8[]" and "int[]" are value types over std::vector of the element,
// so the host, its registered functions and module libraries share their layout.

#include <cstdint>
#include <vector>

class ScriptRegistrar;

// Registers typeName (e.g. "uint8[]") over std::vector<T> with the element script type
// elementName (e.g. "uint8"). Needs the default array type registered first.
template <class T>
void RegisterVectorType(const char* typeName, const char* elementName, ScriptRegistrar& reg);

extern template void RegisterVectorType<std::uint8_t>(const char*, const char*, ScriptRegistrar&);
extern template void RegisterVectorType<std::int8_t>(const char*, const char*, ScriptRegistrar&);
extern template void RegisterVectorType<std::int32_t>(const char*, const char*, ScriptRegistrar&);

// The default array type, then "uint8[]", "int8[]" and "int[]" in that order.
void RegisterScriptArrays(ScriptRegistrar& reg);

// The exception text of an index outside the array.
inline constexpr const char* kArrayIndexOutOfBounds = "Array Index Out of Bounds.";
