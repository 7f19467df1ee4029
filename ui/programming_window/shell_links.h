#pragma once
// Shortcut files resolved to what they point at, through the shell's link object (COM must be
// set up on the calling thread).

#include <optional>
#include <string>

// The target of a ".lnk" file, resolved without asking the user; nothing when it cannot be.
std::optional<std::wstring> ResolveShortcut(const std::wstring& path);
