#include "macros/model/custom_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "macros/model/key_display_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "runtime/keys/key_name_tables.h"

namespace {

class FakeLister : public FolderLister {
 public:
  std::map<std::string, std::vector<FolderEntry>> folders;
  std::vector<FolderEntry> List(const std::string& folder) override {
    auto it = folders.find(folder);
    return it == folders.end() ? std::vector<FolderEntry>{} : it->second;
  }
};

// "caption" for a popup with its children in brackets, "caption=id" for a file item.
std::string Describe(const CommandMenuNode& node) {
  if (node.id) return node.caption + "=" + std::to_string(node.id);
  std::string text = node.caption + "[";
  for (std::size_t i = 0; i < node.children.size(); ++i)
    text += (i ? " " : "") + Describe(node.children[i]);
  return text + "]";
}

TEST(CustomCommandMenu, FilesFirstThenSubfoldersDepthFirst) {
  FakeLister lister;
  lister.folders["C:\\CC"] = {{"Tools", true}, {"b.oxc", false}, {".svn", true}, {"readme.txt", false},
                              {"A.OXC", false}, {"x.oxcx", false}, {"My.Folder", true}, {"Empty", true},
                              {"Deep", true}, {".oxc", false}, {"dir.oxc", true}};
  lister.folders["C:\\CC\\Tools"] = {{"Open Mail.oxc", false}, {"Caf\xE9 au lait.oxc", false}};
  lister.folders["C:\\CC\\.svn"] = {{"hidden.oxc", false}};
  lister.folders["C:\\CC\\My.Folder"] = {{"v1.2.oxc", false}};
  lister.folders["C:\\CC\\Deep"] = {{"Inner", true}};
  lister.folders["C:\\CC\\Deep\\Inner"] = {{"z.oxc", false}};
  std::vector<std::string> steps;
  const auto menu = BuildCustomCommandMenu(lister, "C:\\CC", steps);
  ASSERT_TRUE(menu);
  EXPECT_EQ(Describe(*menu),
            "Custom Command[b=33200 A=33201 Tools[Open Mail=33202 Caf\xE9 au lait=33203] "
            "My[v1.2=33204] Deep[Inner[z=33205]]]");
  EXPECT_EQ(steps, (std::vector<std::string>{"[CC: b]", "[CC: A]", "[CC: Tools\\Open Mail]",
                                             "[CC: Tools\\Caf\xE9 au lait]", "[CC: My.Folder\\v1.2]",
                                             "[CC: Deep\\Inner\\z]"}));
}

TEST(CustomCommandMenu, NoPopupWithoutCommandsOrFolders) {
  FakeLister lister;
  std::vector<std::string> steps{"old"};
  EXPECT_FALSE(BuildCustomCommandMenu(lister, "C:\\None", steps));
  EXPECT_TRUE(steps.empty());
  lister.folders["C:\\CC"] = {{"notes.txt", false}, {".git", true}};
  EXPECT_FALSE(BuildCustomCommandMenu(lister, "C:\\CC", steps));
}

TEST(CustomCommandMenu, IdsNeverReachTheEditorsOwnCommands) {
  FakeLister lister;
  for (int i = 0; i < 1100; ++i) lister.folders["C:\\CC"].push_back({"c" + std::to_string(i) + ".oxc", false});
  lister.folders["C:\\CC"].push_back({"Sub", true});
  lister.folders["C:\\CC\\Sub"] = {{"late.oxc", false}};
  std::vector<std::string> steps;
  const auto menu = BuildCustomCommandMenu(lister, "C:\\CC", steps);
  ASSERT_TRUE(menu);
  EXPECT_EQ(steps.size(), 1000u);
  EXPECT_EQ(menu->children[999].id, kLastCustomCommandMenuId);
  EXPECT_EQ(Describe(menu->children.back()), "Sub[]");
}

TEST(CustomCommands, TextsAndIds) {
  EXPECT_EQ(CustomCommandStepText("", "Open Mail"), "[CC: Open Mail]");
  EXPECT_EQ(CustomCommandStepText("Tools\\Mail", "Open"), "[CC: Tools\\Mail\\Open]");
  EXPECT_EQ(CustomCommandIncludeFile("[CC: Tools\\Open Mail]"), "Tools\\Open Mail.oxc");
  EXPECT_EQ(CustomCommandCode(12), "#define __CMD_ID__ 12\nRUN_COMMAND();\n");
  const struct {
    const char* code;
    int id;
  } ids[] = {{"#define __CMD_ID__ 7\nRUN_COMMAND();", 7}, {"x\n#define __CMD_ID__ 123", 123},
             {"#define __CMD_ID__ \n", -1}, {"#define __CMD_ID__", -1}, {"SendString(\"x\");", -1},
             {"#define __CMD_ID__ 99999999999", 999999999}};
  for (const auto& c : ids) EXPECT_EQ(CustomCommandIdOf(c.code), c.id) << c.code;
}

class CommandIds : public ::testing::Test {
 protected:
  CommandIds() {
    for (int id : {1, 2}) {
      KeyRecord key;
      key.keyId = static_cast<std::uint8_t>(id);
      c_.keys.push_back(key);
    }
    c_.currentEvent = KeyEvent::Down;
    c_.currentColour = LayerColour::Green;
    c_.currentProgram = "Pnr";
    c_.customCommandSteps = {"[CC: Open Mail]", "[CC: Tools\\Beep]"};
  }
  // Inserts the menu item into key `key` and stores the key's function, as the editor's OK does.
  void Use(int key, int menuId) {
    c_.currentKey = key;
    ASSERT_TRUE(InsertCustomCommand(c_, menuId, nullptr));
    KeyFunction f;
    MacroTextToScript(*FindMacroEntry(c_), f);
    const int index = FindKeyFunction(c_.functions, static_cast<std::uint8_t>(key), KeyEvent::Down, LayerColour::Green, "Pnr");
    if (index >= 0)
      c_.functions.items[index].body = f.body;
    else
      AddKeyFunction(c_.functions, static_cast<std::uint8_t>(key), KeyEvent::Down, LayerColour::Green, "Pnr", f.body);
  }
  MacroContext c_;
};

TEST_F(CommandIds, EachUseGetsAnIdAndAnInclude) {
  Use(1, 33200);
  Use(2, 33200);
  Use(2, 33201);
  EXPECT_EQ(c_.customCommandCount, 3);
  EXPECT_EQ(c_.includes, (std::map<int, std::string>{{1, "Open Mail.oxc"}, {2, "Open Mail.oxc"}, {3, "Tools\\Beep.oxc"}}));
  EXPECT_FALSE(InsertCustomCommand(c_, 33202, nullptr));  // no such item
  EXPECT_FALSE(InsertCustomCommand(c_, 33199, nullptr));
  c_.toggleKeys.insert(2);
  EXPECT_FALSE(InsertCustomCommand(c_, 33200, nullptr));  // a toggle key takes none: no id used
  EXPECT_EQ(c_.customCommandCount, 3);
}

TEST_F(CommandIds, RemovingOneOfThreeRenumbersTheMapBodiesAndEntries) {
  Use(1, 33200);
  Use(2, 33200);
  Use(2, 33201);
  c_.removedCommandIds = {1};
  RenumberCustomCommands(c_);
  EXPECT_TRUE(c_.removedCommandIds.empty());
  EXPECT_EQ(c_.customCommandCount, 2);
  EXPECT_EQ(c_.includes, (std::map<int, std::string>{{1, "Open Mail.oxc"}, {2, "Tools\\Beep.oxc"}}));
  const std::string& body = c_.functions.items[1].body;
  EXPECT_NE(body.find("#define __CMD_ID__ 1\nRUN_COMMAND();"), std::string::npos) << body;
  EXPECT_NE(body.find("#define __CMD_ID__ 2\nRUN_COMMAND();"), std::string::npos) << body;
  EXPECT_EQ(body.find("__CMD_ID__ 3"), std::string::npos) << body;
  EXPECT_EQ(c_.keys[1].entries[0].codes[1].text, L"#define __CMD_ID__ 2\nRUN_COMMAND();\n");
  // Several at once, largest first, with repeats and strays ignored.
  Use(1, 33201);  // id 3
  c_.removedCommandIds = {2, 1, 2, 0, 40};
  RenumberCustomCommands(c_);
  EXPECT_EQ(c_.customCommandCount, 1);
  EXPECT_EQ(c_.includes, (std::map<int, std::string>{{1, "Tools\\Beep.oxc"}}));
}

TEST(KeyDisplayNames, Tables) {
  ClearKeyDisplayNames();
  EXPECT_FALSE(KeyDisplayNamesBuilt());
  const struct {
    int code;
    const wchar_t* unshifted;
    const wchar_t* shifted;
  } cases[] = {
      {65, L"a", L"A"}, {90, L"z", L"Z"}, {49, L"1", L"!"}, {162, L"<Left Ctrl>", L"<Left Control>"},
      {27, L"Esc", L"<Esc>"}, {32, L" ", L" "}, {108, L"<Seperator>", L"<Seperator>"},
      {255, L"<# Return>", L"<# Return>"}, {222, L"'", L"\""}, {220, L"\\", L"|"},
      {5, L"<X1 Mouse>", L"<XButton 1>"}, {13, L"<Return>", L"<Return>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyDisplayName(static_cast<std::uint8_t>(c.code), false), c.unshifted) << c.code;
    EXPECT_EQ(KeyDisplayName(static_cast<std::uint8_t>(c.code), true), c.shifted) << c.code;
  }
  int named = 0, differing = 0;
  for (int code = 0; code < 256; ++code) {
    const auto plain = KeyDisplayName(static_cast<std::uint8_t>(code), false);
    const auto shifted = KeyDisplayName(static_cast<std::uint8_t>(code), true);
    EXPECT_EQ(plain.has_value(), shifted.has_value()) << code;
    named += plain.has_value();
    differing += plain && *plain != *shifted;
  }
  EXPECT_EQ(named, 167);
  EXPECT_EQ(differing, 54);
  for (int code : {0, 7, 16, 17, 18}) EXPECT_FALSE(KeyDisplayName(static_cast<std::uint8_t>(code), false)) << code;
  EXPECT_TRUE(KeyDisplayNamesBuilt());
}

TEST(KeyDisplayNames, UsagesThroughTheInverseOfTheUsageTable) {
  EXPECT_EQ(VirtualKeyOfUsage(0x04), 65);
  EXPECT_EQ(UsageDisplayName(0x04, false), L"a");
  EXPECT_EQ(UsageDisplayName(0x04, true), L"A");
  EXPECT_EQ(UsageDisplayName(0x29, false), L"Esc");
  EXPECT_EQ(UsageDisplayName(0x28, false), L"<Return>");
  EXPECT_EQ(UsageDisplayName(0x1E, true), L"!");
  EXPECT_EQ(VirtualKeyOfUsage(0), 0);
  EXPECT_FALSE(UsageDisplayName(0, false));
  // One to one: each usage of a key goes back to a key of that usage.
  for (int vk = 1; vk < 256; ++vk) {
    if (const std::uint8_t u = UsageOfVirtualKey(static_cast<std::uint8_t>(vk))) {
      EXPECT_EQ(UsageOfVirtualKey(VirtualKeyOfUsage(u)), u) << vk;
    }
  }
}

}  // namespace
