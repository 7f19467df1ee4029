// The "Custom Command" menu made from a folder on disk, odd names included (menus work
// without a display).
#include "macros/custom_command_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "macros/model/macro_context.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

// The menu as "caption=id" items and "caption[...]" popups.
std::string Describe(HMENU menu) {
  std::string text;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char caption[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    if (i) text += " ";
    if (HMENU sub = GetSubMenu(menu, i))
      text += std::string(caption) + "[" + Describe(sub) + "]";
    else
      text += std::string(caption) + "=" + std::to_string(GetMenuItemID(menu, i));
  }
  return text;
}

TEST(CustomCommandFolder, OddNamesOnDisk) {
  ScratchDir dir("commands");
  const std::string cc = dir / "Custom Commands";
  for (const char* file : {"Open Mail.oxc", "b.OXC", "notes.txt", "skip.oxcx", "Tools\\Caf\xE9.oxc",
                           "Tools\\Say 'hi' & co.oxc", ".hidden\\secret.oxc", "v1.0 beta\\one.two.oxc",
                           "Deep\\Deeper\\z.oxc"})
    ASSERT_TRUE(WriteTextFile(cc + "\\" + file, "void RUN_CUSTOM_COMMAND___CMD_ID__() {}\n")) << file;
  MakeDirs(cc + "\\Empty");

  MacroContext context;
  HMENU insert = CreatePopupMenu();
  ASSERT_TRUE(AddCustomCommandMenu(context, insert, cc));
  // Wine lists a folder sorted without regard to case. The menu holds "&" doubled, so that it
  // shows as it is.
  EXPECT_EQ(Describe(insert),
            "Custom Command[b=33200 Open Mail=33201 Deep[Deeper[z=33202]] "
            "Tools[Caf\xE9=33203 Say 'hi' && co=33204] v1[one.two=33205]]");
  EXPECT_EQ(context.customCommandSteps,
            (std::vector<std::string>{"[CC: b]", "[CC: Open Mail]", "[CC: Deep\\Deeper\\z]",
                                      "[CC: Tools\\Caf\xE9]", "[CC: Tools\\Say 'hi' & co]",
                                      "[CC: v1.0 beta\\one.two]"}));
  DestroyMenu(insert);
}

TEST(CustomCommandFolder, AmpersandsInFileAndFolderNamesShowAsTheyAre) {
  ScratchDir dir("commands");
  const std::string cc = dir / "Custom Commands";
  for (const char* file : {"Cut & Paste.oxc", "R&D\\&&.oxc"})
    ASSERT_TRUE(WriteTextFile(cc + "\\" + file, "void RUN_CUSTOM_COMMAND___CMD_ID__() {}\n")) << file;

  MacroContext context;
  HMENU insert = CreatePopupMenu();
  ASSERT_TRUE(AddCustomCommandMenu(context, insert, cc));
  EXPECT_EQ(Describe(insert), "Custom Command[Cut && Paste=33200 R&&D[&&&&=33201]]");
  // The steps name the files themselves.
  EXPECT_EQ(context.customCommandSteps, (std::vector<std::string>{"[CC: Cut & Paste]", "[CC: R&D\\&&]"}));
  DestroyMenu(insert);
}

TEST(CustomCommandFolder, NoFolderNoMenu) {
  ScratchDir dir("commands");
  MacroContext context;
  HMENU insert = CreatePopupMenu();
  EXPECT_FALSE(AddCustomCommandMenu(context, insert, dir / "Missing"));
  EXPECT_FALSE(AddCustomCommandMenu(context, insert, ""));
  MakeDirs(dir / "Bare");
  EXPECT_FALSE(AddCustomCommandMenu(context, insert, dir / "Bare"));
  EXPECT_EQ(GetMenuItemCount(insert), 0);
  DestroyMenu(insert);
}

}  // namespace
