// The numbers and names other programs rely on, pinned by their values: everything else
// (tests included) uses them by name.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/resource.h"
#include "app/tray_menu.h"

namespace {

TEST(NumbersOtherProgramsRelyOn, KeepTheirValues) {
  // A second start finds the first by its class and mutex and posts it this message.
  EXPECT_EQ(kSecondInstanceMessage, 1027u);
  EXPECT_EQ(std::string(kMainWindowClass), "OrvaneII_Class");
  EXPECT_EQ(std::string(kRunOnceMutexName), "Orvane II Only Run Once Mutex");
  // Other programs close the running one with this command (the tray's Exit is the same).
  EXPECT_EQ(IDM_EXIT, 32851);
  EXPECT_EQ(kTrayExitId, 32851u);
  // The exports' names are pinned by the orvane_exports test, from Orvane.exe itself.
}

}  // namespace
