#pragma once
// The names the File menu works with: whether Save can write to the file the window knows, and
// which name the Save As dialog suggests for any other file.

#include <string>
#include <string_view>

// True when the path's file name ends in ".oxs" (any case).
bool IsScriptFilePath(std::string_view path);
// The path with ".oxs" in place of its file name's extension, or appended when the file name
// has none ("C:\t\a.js" gives "C:\t\a.oxs", "C:\t.d\name" gives "C:\t.d\name.oxs").
std::string ScriptFileSuggestion(std::string_view path);
// The folder of a path, without its last backslash; "" when it has none.
std::string FolderOfPath(std::string_view path);
