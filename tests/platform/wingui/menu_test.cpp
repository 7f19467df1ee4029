// The text a name takes as a menu item.
#include "platform/wingui/menu.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuItemText, EveryAmpersandIsDoubledAndNothingElseChanges) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {
      {"", ""},
      {"Word", "Word"},
      {"Tom & Jerry", "Tom && Jerry"},
      {"&", "&&"},
      {"&&", "&&&&"},
      {"R&D &", "R&&D &&"},
      {"Caf\xE9 & co", "Caf\xE9 && co"},
  };
  for (const auto& c : cases) EXPECT_EQ(wingui::MenuItemText(c.name), c.text) << c.name;
}

}  // namespace
