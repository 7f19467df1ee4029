#pragma once
// The target of a shell shortcut (".lnk"), resolved without any user interface.

#include <optional>
#include <string>

// The target's full path, or none when the shortcut cannot be loaded or resolved.
std::optional<std::wstring> ResolveShortcutTarget(const std::wstring& path);
