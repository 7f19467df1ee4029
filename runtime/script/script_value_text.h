#pragma once
// Texts of script values for the debugger's variable view, and the reverse for primitive
// values, over the library's type information. Strings and arrays are recognised by their
// registered names at run time ("string", "uint8[]", "int8[]", "int[]" over the host's
// std::string and std::vector, and the library's default array), so this file does not depend
// on how they are registered.

#include <angelscript.h>

#include <cstddef>
#include <string>

// Globals show other object types (strings included) as "?????"; locals show strings quoted.
enum class ValueTextUse { Global, Local };

// The text of the value of script type typeId at address (a handle type's address holds the
// handle), short enough to fit with its terminator in a buffer of bufferSize bytes.
std::string ScriptValueText(asIScriptEngine* engine, int typeId, const void* address,
                            ValueTextUse use, std::size_t bufferSize);

// True for a string value the value text shows (not "?????" and not an address).
bool IsScriptStringType(asIScriptEngine* engine, int typeId);

// Sets a primitive value from text: bool is true unless the text is "false" in any case;
// integers take the decimal value cut to their width; float and double the decimal fraction.
// False (nothing written) for any other type or a null address.
bool SetPrimitiveFromText(asIScriptEngine* engine, int typeId, void* address, const char* text);

// Copies text into buffer (size bytes), cut so that the terminator fits. Nothing when size is 0.
void CopyText(const std::string& text, char* buffer, std::size_t size);
