#pragma once
// Files dropped onto a key: each becomes an "[Open: ...]" step of the key's Key Down macro in
// the layer shown, whose code opens the file through the shell.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MacroContext;

struct OpenFileStep {
  std::wstring text;  // "[Open: name.ext]"
  std::wstring code;  // "\tShellExecute(0,\"Open\",\"<path>\",\"\",\"\",1);\n"
};
// The step for a file (a shortcut already resolved to its target). Nothing for a path the
// script's narrow text cannot carry (a character outside the code page would open another
// file, or none).
std::optional<OpenFileStep> OpenFileStepFor(std::wstring_view path);

// True when the path names a shortcut (".lnk", any case).
bool IsShortcutPath(std::wstring_view path);

// Appends the steps to the Key Down entry of the key (by index) in the program layer shown and
// the colour (`red`), and turns every entry of the key that has steps into its key function. False, and nothing changed, for a toggle or
// shift key (their macros are generated) or when no step could be made.
bool AddDroppedFiles(MacroContext& context, int keyIndex, bool red,
                     const std::vector<std::wstring>& paths);
