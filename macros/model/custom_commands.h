#pragma once
// Custom commands: ".oxc" script files under the "Custom Commands" folder, offered in the
// editor's menu and put into macros as steps "[CC: <path without extension>]". Every use gets a
// command id of its own (1 to the highest in use, without gaps); the key function defines
// __CMD_ID__ as that id before RUN_COMMAND(), and the script includes the file once per id.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MacroContext;
struct MacroSelection;

inline constexpr int kFirstCustomCommandMenuId = 33200;
inline constexpr int kLastCustomCommandMenuId = 34199;  // the editor's own commands follow
inline constexpr std::string_view kCommandIdDefine = "#define __CMD_ID__ ";
inline constexpr std::string_view kCustomCommandStepStart = "[CC: ";

struct FolderEntry {
  std::string name;
  bool isFolder = false;
};

// A folder's entries in the order the file system gives them, without "." and "..".
class FolderLister {
 public:
  virtual ~FolderLister() = default;
  virtual std::vector<FolderEntry> List(const std::string& folder) = 0;
};

// One item of the "Custom Command" menu: a command file (its menu id) or a popup.
struct CommandMenuNode {
  std::string caption;
  int id = 0;  // 0 for a popup
  std::vector<CommandMenuNode> children;
};

// The "Custom Command" popup of the folder: at every level the command files first, then the
// subfolders whose names do not begin with "."; a level without either gives no popup. Menu ids
// from 33200 up, depth first, never past 34199. stepTexts gets each file item's step text in
// menu-id order. None when the folder gives no popup.
std::optional<CommandMenuNode> BuildCustomCommandMenu(FolderLister& lister, const std::string& folder,
                                                      std::vector<std::string>& stepTexts);

// "[CC: Tools\Open Mail]" for the file "Open Mail.oxc" in the subfolder "Tools".
std::string CustomCommandStepText(std::string_view relativeFolder, std::string_view fileName);
// "Tools\Open Mail.oxc" of that step text.
std::string CustomCommandIncludeFile(std::string_view stepText);
// "#define __CMD_ID__ <id>\nRUN_COMMAND();\n"
std::string CustomCommandCode(int id);
// The id a step's code defines, or -1.
int CustomCommandIdOf(std::string_view code);

// The editor's menu item menuId: the next id, the include map entry, and the step inserted
// into the current entry. False for an id that names no item.
bool InsertCustomCommand(MacroContext& context, int menuId, MacroSelection* box);

// Closes the gaps the removed ids left, largest first: each one leaves the include map, every
// higher id goes one down, in the map, in every key function body and in the code of every
// macro entry (the key being edited too). The list is empty afterwards.
void RenumberCustomCommands(MacroContext& context);
