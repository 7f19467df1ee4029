// The desktop setup wizard without windows: walks through its pages, what each end writes and
// asks of the device thread, the user's texts, and pages that cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ui/setup_wizard/desktop_wizard.h"
#include "ui/setup_wizard/starter_script.h"

namespace {

const char* Name(WizardPage page) {
  switch (page) {
    case WizardPage::Start:
      return "start";
    case WizardPage::UserData:
      return "user";
    case WizardPage::Finish:
      return "finish";
  }
  return "?";
}

// The windows and the device in one, each call noted in order.
class Fakes : public WizardWindows, public WizardDevice {
 public:
  std::vector<std::string> events;
  std::set<WizardPage> failing;
  UserDetails kept{L"Kept Name", L"Kept\r\nAddress", L"kept@example.com"};
  std::string script;
  bool scriptWritten = false;

  bool ShowPage(WizardPage page) override {
    events.push_back(std::string(failing.count(page) ? "cannot show " : "show ") + Name(page));
    return !failing.count(page);
  }
  void ClosePage() override { events.push_back("close"); }
  void ShowFailure() override { events.push_back("failure"); }
  UserDetails ReadUserDetails() override {
    events.push_back("read details");
    return kept;
  }
  void WriteUserDetails(const UserDetails&) override { events.push_back("write details"); }
  void WriteScript(const std::string& bytes) override {
    events.push_back(bytes.empty() ? "write empty script" : "write starter script");
    script = bytes;
    scriptWritten = true;
  }
  void RegenerateScript() override { events.push_back("regenerate"); }
  void RebuildAllDevices() override { events.push_back("rebuild all"); }
  void RebuildDevice() override { events.push_back("rebuild device"); }
  void PlayDemo() override { events.push_back("demo"); }
};

const UserDetails kTyped{L"Jo", L"1 Main St\r\nTown", L"jo@example.com"};

// Runs a walk of actions ("start", "default", "blank", "cancel", "typed", "back",
// "finish", "finish+demo") and gives the events, joined by " / ".
std::string Walk(Fakes& f, DesktopWizard& w, const std::string& actions) {
  std::istringstream in(actions);
  for (std::string a; in >> a;) {
    if (a == "start") w.Start();
    else if (a == "default") w.Next(WizardLayout::Default);
    else if (a == "blank") w.Next(WizardLayout::Blank);
    else if (a == "cancel") w.Cancel();
    else if (a == "typed") w.Next(kTyped);
    else if (a == "back") w.Back();
    else if (a == "finish") w.Finish(false);
    else if (a == "finish+demo") w.Finish(true);
    else ADD_FAILURE() << "no action " << a;
  }
  std::string out;
  for (const std::string& e : f.events) out += (out.empty() ? "" : " / ") + e;
  return out;
}

TEST(DesktopWizard, Walks) {
  struct Case {
    const char* actions;
    const char* events;
    bool open;
  };
  const Case cases[] = {
      {"start", "show start", true},
      // A second start while the wizard is open does nothing.
      {"start start", "show start", true},
      {"start default typed finish+demo",
       "show start / show user / write details / show finish / close / write starter script / "
       "regenerate / rebuild all / demo",
       false},
      {"start default typed finish",
       "show start / show user / write details / show finish / close / write starter script / "
       "regenerate / rebuild all",
       false},
      // The blank layout skips the user's texts; Back from its last page goes to the start.
      {"start blank back blank finish+demo",
       "show start / show finish / show start / show finish / close / write empty script / "
       "regenerate / rebuild device / demo",
       false},
      {"start default back default back back",
       "show start / show user / show start / show user / show start", true},
      {"start default typed back back", "show start / show user / write details / show finish / show user / show start", true},
      {"start cancel", "show start / write empty script / regenerate / rebuild device / close", false},
      // Buttons of other pages do nothing.
      {"start finish typed back", "show start", true},
      {"start default cancel finish", "show start / show user", true},
      // Nothing happens once the wizard is over.
      {"start cancel default back finish",
       "show start / write empty script / regenerate / rebuild device / close", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.actions);
    Fakes f;
    DesktopWizard w(f, f);
    EXPECT_EQ(Walk(f, w, c.actions), c.events);
    EXPECT_EQ(w.IsOpen(), c.open);
  }
}

TEST(DesktopWizard, PagesThatCannotBeMadeEndItWithTheFailureShown) {
  struct Case {
    WizardPage failing;
    const char* actions;
    const char* events;
  };
  const Case cases[] = {
      {WizardPage::Start, "start", "cannot show start / failure"},
      {WizardPage::UserData, "start default", "show start / cannot show user / failure"},
      {WizardPage::Finish, "start blank", "show start / cannot show finish / failure"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.actions);
    Fakes f;
    f.failing.insert(c.failing);
    DesktopWizard w(f, f);
    EXPECT_EQ(Walk(f, w, c.actions), c.events);
    EXPECT_FALSE(w.IsOpen());
    // Over: nothing is written.
    Walk(f, w, "default typed finish cancel");
    EXPECT_FALSE(f.scriptWritten);
  }
  // A wizard that could not start can start again.
  Fakes f;
  f.failing.insert(WizardPage::Start);
  DesktopWizard w(f, f);
  EXPECT_FALSE(w.Start());
  f.failing.clear();
  EXPECT_TRUE(w.Start());
}

TEST(DesktopWizard, WhatThePagesShow) {
  Fakes f;
  DesktopWizard w(f, f);
  w.Start();
  EXPECT_EQ(w.Layout(), WizardLayout::Default);
  EXPECT_TRUE(w.DemoTickedAtFirst());
  w.Next(WizardLayout::Blank);
  EXPECT_EQ(w.Page(), WizardPage::Finish);
  EXPECT_FALSE(w.DemoTickedAtFirst());
  w.Back();
  // The start page shows the layout chosen last.
  EXPECT_EQ(w.Page(), WizardPage::Start);
  EXPECT_EQ(w.Layout(), WizardLayout::Blank);
}

TEST(DesktopWizard, TheUserPageShowsTheKeptTextsUntilTheUserTypesOthers) {
  Fakes f;
  DesktopWizard w(f, f);
  w.Start();
  w.Next(WizardLayout::Default);
  EXPECT_EQ(w.DetailsToShow(), f.kept);
  w.Next(kTyped);
  w.Back();
  EXPECT_EQ(w.DetailsToShow(), kTyped);
  // The machine was asked once.
  EXPECT_EQ(std::count(f.events.begin(), f.events.end(), "read details"), 1);
}

TEST(DesktopWizard, TheStarterScriptHoldsTheTypedTextsEvenWhenTheMachineKeptNone) {
  Fakes f;
  f.kept = {};  // as when the values could not be written or read
  DesktopWizard w(f, f);
  Walk(f, w, "start default typed finish");
  EXPECT_EQ(f.script, StarterScriptFile(kTyped));
}

TEST(DesktopWizard, StartingAgainAfterTheEndBeginsAfresh) {
  Fakes f;
  DesktopWizard w(f, f);
  Walk(f, w, "start default typed finish");
  f.events.clear();
  EXPECT_TRUE(w.Start());
  EXPECT_EQ(w.Layout(), WizardLayout::Default);
  w.Next(WizardLayout::Default);
  EXPECT_EQ(w.DetailsToShow(), f.kept);  // read anew
}

}  // namespace
