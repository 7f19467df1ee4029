// The wizard's main window in this process: texts, language menu, help and about box.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "calibration/main_form.h"
#include "platform/wingui/window_map.h"
#include "tests/calibration/fake_cab.h"
#include "tests/calibration/fake_system.h"
#include "tests/calibration/gui_helpers.h"

using namespace cal;
using namespace testsupport;

namespace {

RECT RectIn(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDirs(dir_ / "controller"));
    ASSERT_TRUE(WriteTextFile(dir_ / "controller\\ModernController.lcm", "BYTE1,RANGE,REV\n"));
  }
  void Open() {
    wizard_.Start();
    form_ = std::make_unique<MainForm>(system_, wizard_);
    form_->Refresh();
    form_->Show();
    PumpMessages(50);
  }
  void TearDown() override {
    if (form_) {
      system_.answers = {vcl::Answer::Ok};
      form_.reset();
    }
  }
  void SetText(const char* section, TextKey key, const std::string& v) {
    system_.profiles[{dir_ / "LCLanguage.ini", section, KeyName(key)}] = v;
  }
  void Command(int id) { SendMessageA(form_->Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0); }

  ScratchDir dir_{"mfg"};
  FakeSystem system_;
  FakeCab cab_;
  Wizard wizard_{dir_.path(), system_, cab_};
  std::unique_ptr<MainForm> form_;
};

TEST_F(MainWindow, ShowsTheWelcomePageWithItsTexts) {
  Open();
  HWND main = form_->Handle();
  EXPECT_EQ(ClassName(main), "TForm1");
  EXPECT_EQ(WindowText(main), "Lococab Calibration Setup");
  EXPECT_EQ(WindowText(form_->Welcome().Handle()), wizard_.Screen().welcome);
  EXPECT_TRUE(IsWindowVisible(form_->GetPage(kWelcomePage).Handle()));
  EXPECT_FALSE(IsWindowVisible(form_->GetPage(kOverviewPage).Handle()));
  EXPECT_EQ(WindowText(form_->NextButton().Handle()), "&Next");
  EXPECT_TRUE(IsWindowVisible(form_->NextButton().Handle()));
  EXPECT_FALSE(IsWindowVisible(form_->BackButton().Handle()));
  EXPECT_FALSE(IsWindowVisible(form_->CalibrateButton().Handle()));
  EXPECT_FALSE(IsWindowVisible(form_->Diagnostics().Handle()));
  char caption[64];
  GetMenuStringA(GetMenu(main), 0, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&Language");
  GetMenuStringA(GetMenu(main), 1, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&Help");
  EXPECT_EQ(GetMenuState(GetMenu(main), form_->LanguageItem(kEnglish).Id(), MF_BYCOMMAND) & MF_CHECKED,
            static_cast<UINT>(MF_CHECKED));
  // The hidden French item is not in the menu at all.
  EXPECT_EQ(GetMenuState(GetMenu(main), form_->LanguageItem(kFrench).Id(), MF_BYCOMMAND), static_cast<UINT>(-1));
  SavePicture(main, "calibration_welcome");
}

TEST_F(MainWindow, ALanguageFromTheMenuRelabelsAndTheOutlinesFollowTheLabels) {
  SetText("German", TextKey::FullReversed, "Ganz zurueck (Rueckwaertsfahrt)");
  SetText("German", TextKey::BailOffEngaged, "Loesen gedrueckt");
  SetText("German", TextKey::LanguageMenu, "&Sprache");
  SetText("German", TextKey::LanguageNote, "Hinweis");
  SetText("German", TextKey::Welcome, "Willkommen bei der Einrichtung.");
  SetText("German", TextKey::PlugInThenNext, "Lococab anschliessen, dann Weiter.");
  Open();
  const int widthBefore = form_->PositionLabel(0).GetBounds().width;
  Command(form_->LanguageItem(kGerman).Id());
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{"Hinweis"});
  HWND main = form_->Handle();
  char caption[64];
  GetMenuStringA(GetMenu(main), 0, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&Sprache");
  EXPECT_EQ(GetMenuState(GetMenu(main), form_->LanguageItem(kGerman).Id(), MF_BYCOMMAND) & MF_CHECKED,
            static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(GetMenu(main), form_->LanguageItem(kEnglish).Id(), MF_BYCOMMAND) & MF_CHECKED, 0u);

  vcl::Label& label = form_->PositionLabel(0);
  EXPECT_EQ(WindowText(label.Handle()), "Ganz zurueck (Rueckwaertsfahrt)");
  const RECT r = RectIn(label.Handle(), form_->GetPage(3).Handle());
  EXPECT_GT(r.right - r.left, widthBefore);
  const vcl::Bounds& outline = form_->Outline(0).GetBounds();
  EXPECT_EQ(outline.left, r.left - 8);
  EXPECT_EQ(outline.width, (r.right - r.left) + 17);
  // A bail-off outline spans its label and the arrow beside it.
  vcl::Label& bail = form_->PositionLabel(11);
  const RECT b = RectIn(bail.Handle(), form_->GetPage(6).Handle());
  HWND arrow = FindChildByText(form_->GetPage(6).Handle(), "Static", "==>");
  ASSERT_NE(arrow, nullptr);
  const RECT a = RectIn(arrow, form_->GetPage(6).Handle());
  EXPECT_EQ(a.left, b.left + (b.right - b.left) + 8);
  EXPECT_EQ(form_->Outline(11).GetBounds().width, (b.right - b.left) + (a.right - a.left) + 25);
  // The welcome page as it now reads, for a look by eye.
  EXPECT_EQ(WindowText(form_->Welcome().Handle()),
            "Willkommen bei der Einrichtung. Lococab anschliessen, dann Weiter.");
  PumpMessages(50);
  EXPECT_FALSE(SavePicture(main, "calibration_german").empty());
}

// The form, its pages and the about box are windows of the window layer: found from their
// handles through its one map (their user-data slots stay free), and out of it once they go.
TEST_F(MainWindow, ItsWindowsAreFoundFromTheirHandlesUntilTheyGo) {
  const std::size_t mapped = wingui::window_map::Size();
  Open();
  HWND main = form_->Handle();
  EXPECT_EQ(wingui::Window::FromHandleAs<MainForm>(main), form_.get());
  EXPECT_EQ(GetWindowLongPtrA(main, GWLP_USERDATA), 0);
  for (int page = kWelcomePage; page <= kFinishPage; ++page) {
    HWND h = form_->GetPage(page).Handle();
    EXPECT_EQ(wingui::Window::FromHandleAs<vcl::Page>(h), &form_->GetPage(page)) << page;
    EXPECT_EQ(GetWindowLongPtrA(h, GWLP_USERDATA), 0) << page;
    EXPECT_EQ(GetParent(h), main) << page;
  }
  HWND about = form_->About().Handle();
  EXPECT_EQ(wingui::Window::FromHandleAs<AboutBox>(about), &form_->About());

  // Closed by the user, the windows leave the map at once; the objects go later.
  system_.answers = {vcl::Answer::Ok};
  SendMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{EnglishDefault(TextKey::CloseUncalibrated)});
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(about));
  EXPECT_EQ(form_->Handle(), nullptr);
  EXPECT_EQ(wingui::Window::FromHandle(main), nullptr);
  EXPECT_EQ(wingui::window_map::Size(), mapped);
  form_.reset();
  EXPECT_EQ(wingui::window_map::Size(), mapped);
}

TEST_F(MainWindow, AFormThatGoesTakesItsWindowsWithItWithoutAsking) {
  const std::size_t mapped = wingui::window_map::Size();
  Open();
  HWND main = form_->Handle();
  form_.reset();
  EXPECT_TRUE(system_.messages.empty()) << "no close query";
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(wingui::window_map::Size(), mapped);
}

TEST_F(MainWindow, HelpContentsOpensTheHelpFileOrSaysWhyNot) {
  Open();
  system_.shellResult = 2;
  Command(form_->ContentsItem().Id());
  ASSERT_EQ(system_.opened.size(), 1u);
  EXPECT_EQ(system_.opened[0], dir_ / "LCcalibration.hlp");
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{"Opening help file failed - File not found"});
}

TEST_F(MainWindow, TheAboutBoxShowsDiagnosticsAndSwitchesTheBounds) {
  Open();
  HWND main = form_->Handle();
  std::atomic<bool> diagnosticsSeen{false};
  std::string version;
  std::thread user([&] {
    HWND about = WaitForProcessWindowOfClass(GetCurrentProcessId(), "TAboutBox", 10000);
    if (!about) return;
    AboutBox& box = form_->About();
    version = WindowText(box.VersionLabel().Handle());
    SavePicture(about, "calibration_about");
    SendMessageA(about, WM_COMMAND, MAKEWPARAM(box.VersionLabel().Id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(box.VersionLabel().Handle()));
    diagnosticsSeen = IsWindowVisible(form_->Diagnostics().Handle()) && IsWindowVisible(form_->DeviceList().Handle());
    SendMessageA(about, WM_COMMAND, MAKEWPARAM(box.NoticeLabel().Id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(box.NoticeLabel().Handle()));
    SendMessageA(about, WM_COMMAND, MAKEWPARAM(box.LinkLabel().Id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(box.LinkLabel().Handle()));
    PostMessageA(box.OkButton().Handle(), BM_CLICK, 0, 0);
  });
  Command(form_->AboutItem().Id());  // returns when the box is closed
  user.join();
  EXPECT_EQ(version, "Rel 1.0.2.4");
  EXPECT_TRUE(diagnosticsSeen);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindowVisible(form_->About().Handle()));
  EXPECT_EQ(RectIn(form_->CalibrateButton().Handle(), main).left, 288);
  EXPECT_TRUE(wizard_.BoundsCheckOff());
  EXPECT_EQ(system_.TakeTexts(),
            std::vector<std::string>{"Bound limits disabled, click on Copyright to enabled (default)"});
  ASSERT_EQ(system_.opened.size(), 1u);
  EXPECT_EQ(system_.opened[0].rfind("https://", 0), 0u);
  SavePicture(main, "calibration_diagnostics");
}

}  // namespace
