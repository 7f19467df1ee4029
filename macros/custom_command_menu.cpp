#include "macros/custom_command_menu.h"

#include "macros/model/macro_context.h"
#include "platform/base/unique_handle.h"
#include "platform/wingui/menu.h"
#include "runtime/device/device_folders.h"

std::vector<FolderEntry> Win32FolderLister::List(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA fd;
  const UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &fd));
  if (!search) return entries;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search.get(), &fd));
  return entries;
}

HMENU MakeCommandMenu(const CommandMenuNode& node) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const CommandMenuNode& child : node.children) {
    // File and folder names may hold "&", which must show as it is.
    const std::string caption = wingui::MenuItemText(child.caption);
    if (child.id) {
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(child.id), caption.c_str());
    } else if (HMENU sub = MakeCommandMenu(child)) {
      AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
    }
  }
  return menu;
}

bool AddCustomCommandMenu(MacroContext& context, HMENU insertMenu, const std::string& folder) {
  if (folder.empty()) return false;
  Win32FolderLister lister;
  std::vector<std::string> steps;
  const std::optional<CommandMenuNode> root = BuildCustomCommandMenu(lister, folder, steps);
  if (!root) return false;
  HMENU popup = MakeCommandMenu(*root);
  if (!popup) return false;
  if (!AppendMenuA(insertMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                   root->caption.c_str())) {
    DestroyMenu(popup);
    return false;
  }
  context.customCommandSteps = std::move(steps);
  return true;
}

bool AddCustomCommandMenu(MacroContext& context, HMENU insertMenu) {
  return AddCustomCommandMenu(context, insertMenu, GetCustomCommandsFolder());
}
