// File names as plain text, for the file helpers and their callers.
#pragma once
#include <string>

namespace vcl {

// The text up to (not including) the last backslash, or "" when there is none.
std::string FolderOf(const std::string& path);

}  // namespace vcl
