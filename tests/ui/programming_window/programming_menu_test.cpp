// The programming window's menu bar (resource 143) changed at creation, by layer and when its
// popups open, on a real menu without a window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/wingui/menu.h"
#include "tests/ui/programming_window/menu_text.h"
#include "ui/programming_window/layer_choice.h"
#include "ui/programming_window/programming_menu.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

using namespace testsupport;
using wingui::Menu;
using wingui::OwnedMenu;

class ProgrammingMenu : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bar_) << "menu 143 is not in the test's resources"; }
  Menu bar() const { return bar_.get(); }
  OwnedMenu bar_ = OwnedMenu::Load(IDR_PROGRAMMING_MENU);
};

TEST_F(ProgrammingMenu, TheResourceHasTheLayoutThePositionsRelyOn) {
  EXPECT_EQ(Popups(bar()), "File,Layer,View,Key Caps,Help");
  EXPECT_EQ(Items(bar().SubMenu(kFilePopup)),
            "New=34320 | Save=32834 | Save As...=32835 | Open...=32893 | "
            "Advanced[Write to Device=32895 | QUORL Mode=32896] | Exit=105");
  EXPECT_EQ(bar().SubMenu(kLayerPopup).IdAt(kGreenLayerPosition), unsigned(IDM_PW_GREEN_LAYER));
  EXPECT_EQ(bar().SubMenu(kLayerPopup).IdAt(kRedLayerPosition), unsigned(IDM_PW_RED_LAYER));
  EXPECT_EQ(bar().SubMenu(kViewPopup).IdAt(kHiddenModePosition), unsigned(IDM_PW_HIDDEN_MODE));
  EXPECT_EQ(Items(bar().SubMenu(kKeyCapsPopup)), "Add=34326 | Remove=34327");
  const Menu help = bar().SubMenu(bar().Count() - 1);
  EXPECT_EQ(help.IdAt(0), unsigned(IDM_PW_HELP));
  EXPECT_EQ(help.TextAt(0), "LCORVX Help");
  EXPECT_EQ(help.IdAt(2), unsigned(IDM_PW_ABOUT));
}

TEST_F(ProgrammingMenu, CreationFollowsTheDevice) {
  const struct {
    ProgrammingMenuFacts facts;
    const char* popups;
    const char* view;
    const char* layer;
  } cases[] = {
      {{true, true, true, true, true, true, false}, "File,Layer,View,Key Caps,Help",
       "Legend Maker...=32902 | Hidden Mode=34321* | Backlights=34348* | Keyswitch Mode=34350*",
       "Green Layer=32897 | Red Layer=32898* | Add Program Layer...=34217"},
      {{false, false, false, false, false, false, true}, "File,Layer,View,Help",
       "Legend Maker...=32902 | Hidden Mode=34321", "Green Layer=32897* | Red Layer=32898 | Add Program Layer...=34217"},
      // Keyswitch without backlights: the deletion of one never touches the other.
      {{false, false, true, false, false, false, false}, "File,Layer,View,Key Caps,Help",
       "Legend Maker...=32902 | Hidden Mode=34321 | Keyswitch Mode=34350", nullptr},
      {{true, false, false, false, false, false, false}, nullptr,
       "Legend Maker...=32902 | Hidden Mode=34321 | Backlights=34348", nullptr},
  };
  for (const auto& t : cases) {
    OwnedMenu menu = OwnedMenu::Load(IDR_PROGRAMMING_MENU);
    AdjustProgrammingMenu(menu.get().handle(), t.facts);
    if (t.popups) {
      EXPECT_EQ(Popups(menu.get()), t.popups);
    }
    EXPECT_EQ(Items(menu.get().SubMenu(kViewPopup)), t.view);
    if (t.layer) {
      EXPECT_EQ(Items(menu.get().SubMenu(kLayerPopup)), t.layer);
    }
  }
}

TEST_F(ProgrammingMenu, ChoosingTheRedLayerTwiceKeepsItChecked) {
  AdjustProgrammingMenu(bar().handle(), {false, false, false, false, false, true, false});
  SetLayerMenuTexts(bar().handle(), true, {});
  CheckColourLayer(bar().handle(), true);
  SetLayerMenuTexts(bar().handle(), true, {});
  CheckColourLayer(bar().handle(), true);
  EXPECT_EQ(Items(bar().SubMenu(kLayerPopup)), "Green Layer=32897 | Red Layer=32898* | Add Program Layer...=34217");
}

TEST_F(ProgrammingMenu, ProgramLayersWithColourLayers) {
  AddProgramLayers(bar(), {"Word", "My App"}, true);
  CheckProgramLayer(bar().handle(), 1, true, true);
  EXPECT_EQ(Items(bar().SubMenu(kLayerPopup)),
            "Green Layer=32897 | Red Layer=32898 | Word[Green Layer=33000 | Red Layer=33001] | "
            "My App[Green Layer=33002 | Red Layer=33003*] | Add Program Layer...=34217 | "
            "Remove Layer[Word=34220 | My App=34221]");
  // The texts put back: every check goes, the ids stay those of the layers' places.
  SetLayerMenuTexts(bar().handle(), true, {"Word", "My App"});
  CheckColourLayer(bar().handle(), false);
  EXPECT_EQ(Items(bar().SubMenu(kLayerPopup)),
            "Green Layer=32897* | Red Layer=32898 | Word[Green Layer=33000 | Red Layer=33001] | "
            "My App[Green Layer=33002 | Red Layer=33003] | Add Program Layer...=34217 | "
            "Remove Layer[Word=34220 | My App=34221]");
}

TEST_F(ProgrammingMenu, ProgramLayersWithoutColourLayers) {
  AddProgramLayers(bar(), {"Word", "Excel"}, false);
  CheckProgramLayer(bar().handle(), 1, false, false);
  EXPECT_EQ(Items(bar().SubMenu(kLayerPopup)),
            "Green Layer=32897 | Red Layer=32898 | Word=33000 | Excel=33001* | Add Program Layer...=34217 | "
            "Remove Layer[Word=34220 | Excel=34221]");
  SetLayerMenuTexts(bar().handle(), false, {"Word", "Excel"});
  EXPECT_EQ(Items(bar().SubMenu(kLayerPopup)),
            "Green Layer=32897 | Red Layer=32898 | Word=33000 | Excel=33001 | Add Program Layer...=34217 | "
            "Remove Layer[Word=34220 | Excel=34221]");
  // A name with "&" keeps it, not an underlined letter.
  SetLayerMenuTexts(bar().handle(), false, {"Tom & Jerry", "Excel"});
  EXPECT_EQ(wingui::Menu(bar().SubMenu(kLayerPopup)).TextAt(2), "Tom && Jerry");
}

TEST_F(ProgrammingMenu, PopupStatesFollowTheOnboardFlags) {
  const struct {
    ProgrammingPopupFacts facts;
    const char* file;
    const char* redLayer;
  } cases[] = {
      {{false, false, true}, "Advanced[Write to Device=32895- | QUORL Mode=32896-]-", "Red Layer=32898 |"},
      {{true, false, true}, "Advanced[Write to Device=32895 | QUORL Mode=32896-]", "Red Layer=32898 |"},
      {{true, true, false}, "Advanced[Write to Device=32895- | QUORL Mode=32896]", "Red Layer=32898-"},
  };
  for (const auto& t : cases) {
    UpdateProgrammingPopups(bar().handle(), t.facts);
    const std::string file = Items(bar().SubMenu(kFilePopup));
    EXPECT_NE(file.find(t.file), std::string::npos) << file;
    const std::string layer = Items(bar().SubMenu(kLayerPopup));
    EXPECT_NE(layer.find(t.redLayer), std::string::npos) << layer;
  }
}

}  // namespace
