#pragma once
// The editor's "Custom Command" submenu made from the "Custom Commands" folder: the folder is
// listed by the file system and the menu built from the model's pure item tree.

#include <windows.h>

#include <string>
#include <vector>

#include "macros/model/custom_commands.h"

struct MacroContext;

// The file system's listing (".", ".." and nothing else left out).
class Win32FolderLister : public FolderLister {
 public:
  std::vector<FolderEntry> List(const std::string& folder) override;
};

// A popup menu holding the node's items, or null.
HMENU MakeCommandMenu(const CommandMenuNode& node);

// Appends the "Custom Command" popup of `folder` to `insertMenu` and keeps the step texts of its
// items in the context; false (and nothing appended) when the folder is missing or gives no
// popup.
bool AddCustomCommandMenu(MacroContext& context, HMENU insertMenu, const std::string& folder);
// The same for the program's "Custom Commands" folder.
bool AddCustomCommandMenu(MacroContext& context, HMENU insertMenu);
