#pragma once
// What the script editor does with a file the user chose to open: its kind by the last four
// characters of its name, and the temporary name an old layout file would be converted into.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum class ChosenFileKind {
  OldLayout,  // ".qp" and a digit, or ".q11"
  Script,     // ".oxs"
  Other,
};
// Windows names: case does not matter.
ChosenFileKind ClassifyChosenFile(std::string_view path);

// The first of "tempScript0.oxs" to "tempScript9.oxs" in folder (a backslash added when
// missing) for which exists is false; nothing when all ten exist.
std::optional<std::string> FreeTempScriptName(std::string folder,
                                              const std::function<bool(const std::string&)>& exists);
