// The wizard's window against a simulated cab controller: every position walked with real
// button clicks and timers to the files written at the end, the device errors as the window
// shows them, and pictures of the section pages in their states.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "calibration/calibration_files.h"
#include "calibration/main_form.h"
#include "calibration/vcl/application.h"
#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "tests/calibration/fake_system.h"
#include "tests/calibration/gui_helpers.h"

using namespace cal;
using namespace testsupport;

namespace {

constexpr int kGood[kPositionCount] = {200, 120, 40, 200, 120, 40, 100, 200, 90, 50, 200,
                                       200, 50,  200, 60, 140, 200, 80, 130, 200, 80, 80};

class SimulatedCab : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(EnvOr("VHXHID_SIM").empty()) << "the test runs on a simulation";
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    ASSERT_EQ(VhxSimReset(sim_), VHXSIM_OK);
    ASSERT_TRUE(MakeDirs(dir_ / "controller"));
    ASSERT_TRUE(WriteTextFile(dir_ / "controller\\ModernController.lcm", "BYTE1,RANGE,REVERSER_REVERSE\n"));
    ASSERT_TRUE(MakeDirs(dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2"));
    system_.registry[{vcl::RegistryRoot::LocalMachine, kMainProgramKey, ""}] = dir_ / "orvx";
  }
  void TearDown() override {
    form_.reset();
    if (sim_) VhxSimClose(sim_);
  }
  void AddCab() {
    VhxSimDeviceSpec spec;
    VhxSimCabSpec(&spec);
    cab_ = VhxSimAddDevice(sim_, &spec);
    ASSERT_GT(cab_, 0);
  }
  void Open() {
    wizard_.Start();
    form_ = std::make_unique<MainForm>(system_, wizard_, 10, 100);
    form_->Refresh();
    form_->Show();
    PumpMessages(50);
  }
  // The lever held at position p: its report byte reads v.
  void Hold(int p, int v) {
    std::uint8_t report[16] = {};
    report[Position(p).reportByte] = static_cast<std::uint8_t>(v);
    if (p == 10 || p == 12) report[5] = 80;  // bail-off not pushed
    report[kVariantByte] = kVariantMark;
    ASSERT_EQ(VhxSimQueueInput(sim_, cab_, report, sizeof report), VHXSIM_OK);
  }
  void Click(vcl::Button& button) {
    ASSERT_TRUE(IsWindowVisible(button.Handle())) << WindowText(button.Handle());
    ASSERT_TRUE(IsWindowEnabled(button.Handle())) << WindowText(button.Handle());
    SendMessageA(button.Handle(), BM_CLICK, 0, 0);
    PumpMessages(10);
  }
  // Calibrate at the current position and wait for the sampling to end.
  void CalibrateHere(int p, int v) {
    Hold(p, v);
    Click(form_->CalibrateButton());
    ASSERT_TRUE(wizard_.Screen().sampling);
    EXPECT_FALSE(IsWindowEnabled(form_->NextButton().Handle())) << "no page change while sampling";
    ASSERT_TRUE(WaitUntil([&] { return !wizard_.Screen().sampling; }, 10000, 5));
  }

  // The lever of position p moved to v, as the controller reports it.
  void Move(int p, int v) { ASSERT_EQ(VhxSimSetReportByte(sim_, cab_, Position(p).reportByte, v), VHXSIM_OK); }
  // Clicks Calibrate and waits for the position to finish.
  void CalibrateAt(int v) {
    Move(wizard_.CurrentPosition(), v);
    Click(form_->CalibrateButton());
    ASSERT_TRUE(WaitUntil([&] { return !wizard_.Screen().sampling; }, 10000, 5));
  }
  // Waits until the blinking outline is on, so that the picture shows it.
  void SaveWithOutline(const std::string& name) {
    vcl::Shape& outline = form_->Outline(wizard_.CurrentPosition());
    WaitUntil([&] { return outline.Visible(); }, 2000, 5);
    PumpMessages(10);
    EXPECT_FALSE(SavePicture(form_->Handle(), name).empty()) << name;
  }

  ScratchDir dir_{"simgui"};
  FakeSystem system_;
  VhxSim* sim_ = nullptr;
  int cab_ = 0;
  Wizard wizard_{dir_.path(), system_, HidCabDevices()};
  std::unique_ptr<MainForm> form_;
};

TEST_F(SimulatedCab, EveryPositionWalkedToTheWrittenFiles) {
  AddCab();
  Open();
  Click(form_->NextButton());
  ASSERT_EQ(wizard_.Screen().page, kOverviewPage);
  EXPECT_EQ(WindowText(form_->Guidance().Handle()), "Click Next to calibrate the Reverser");
  EXPECT_TRUE(IsWindowVisible(form_->GetPage(kOverviewPage).Handle()));
  EXPECT_EQ(form_->DeviceList().Items(), std::vector<std::string>{"PID: 210 Program ID: 0"});
  SavePicture(form_->Handle(), "calibration_overview");
  Click(form_->NextButton());
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page) {
    ASSERT_EQ(wizard_.Screen().page, page);
    EXPECT_TRUE(IsWindowVisible(form_->GetPage(page).Handle()));
    for (int p = Section(page).first; p <= Section(page).last; ++p) {
      ASSERT_EQ(wizard_.CurrentPosition(), p);
      EXPECT_EQ(WindowText(form_->PageText(page).Handle()), wizard_.Texts()[Position(p).instructionKey]) << p;
      EXPECT_TRUE(form_->Outline(p).Solid());
      if (p == 11) SavePicture(form_->Handle(), "calibration_bail_off");
      if (p == 16) SavePicture(form_->Handle(), "calibration_rotary");
      CalibrateHere(p, kGood[p]);
      EXPECT_TRUE(wizard_.Done(p)) << p;
      // The last one goes on to the overview, whose Next clears the status.
      EXPECT_EQ(form_->Status().Caption(), p == Section(page).last ? "" : "Done");
    }
    if (page < kRotarySectionPage) {
      ASSERT_EQ(wizard_.Screen().page, kOverviewPage) << "a completed section goes on to the overview";
      Click(form_->NextButton());
    }
  }
  ASSERT_EQ(wizard_.Screen().page, kFinishPage);
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(WindowText(form_->NextButton().Handle()), "&Finish");
  EXPECT_FALSE(IsWindowVisible(form_->CalibrateButton().Handle()));
  EXPECT_EQ(form_->Diagnostics().Items().size(), 22u);
  SavePicture(form_->Handle(), "calibration_finish");

  HWND main = form_->Handle();
  Click(form_->NextButton());  // Finish
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main); }, 5000));
  EXPECT_TRUE(system_.messages.empty()) << "a finished calibration closes without a question";
  std::string calibration;
  ASSERT_TRUE(ReadTextFile(dir_ / "controller\\ModernCalibration.lcm", calibration));
  EXPECT_NE(calibration.find("\"Full Reversed\"\n  {\n   Min   200\n   Max   200\n"), std::string::npos);
  EXPECT_NE(calibration.find("\"Bail Off Disengaged (in Full position)\"\n  {\n   Min   80\n   Max   80\n"),
            std::string::npos);
  EXPECT_EQ(ReadFileOr(dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm"), calibration);
  std::string controller;
  ASSERT_TRUE(ReadTextFile(dir_ / "controller\\ModernController.lcm", controller));
  EXPECT_EQ(controller.rfind("MODERN\nPID=00D2\n", 0), 0u);
  EXPECT_NE(controller.find("\nBYTE1,RANGE,REVERSER_REVERSE,MIN=190,MAX="), std::string::npos);
  EXPECT_EQ((system_.profiles[{dir_ / "Lococab.def", "", "00D2Calibrated"}]), "1");
}

TEST_F(SimulatedCab, ARemovedControllerSendsTheWizardBackToTheStart) {
  AddCab();
  Open();
  Click(form_->NextButton());
  Click(form_->NextButton());
  ASSERT_EQ(wizard_.Screen().page, kFirstSectionPage);
  CalibrateHere(0, kGood[0]);
  Hold(1, kGood[1]);
  Click(form_->CalibrateButton());
  ASSERT_EQ(VhxSimRemoveDevice(sim_, cab_), VHXSIM_OK);
  ASSERT_TRUE(WaitUntil([&] { return !wizard_.Screen().sampling; }, 10000, 5));
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{wizard_.Texts()[TextKey::UnitNotDetected]});
  EXPECT_TRUE(IsWindowVisible(form_->GetPage(kWelcomePage).Handle()));
  EXPECT_FALSE(IsWindowVisible(form_->BackButton().Handle()));
  EXPECT_FALSE(wizard_.Done(0));
  EXPECT_FALSE(vcl::Application::Busy());
}

TEST_F(SimulatedCab, WithoutAControllerTheWizardStaysOnItsWelcomePage) {
  Open();
  Click(form_->NextButton());
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{wizard_.Texts()[TextKey::UnitNotDetected]});
  EXPECT_TRUE(IsWindowVisible(form_->GetPage(kWelcomePage).Handle()));
  EXPECT_EQ(form_->Status().Caption(), "No valid devices detected");
  EXPECT_EQ(form_->DeviceList().Items(), std::vector<std::string>{"No valid devices detected"});
}

// The status bar's text as the window has it.
std::string StatusText(HWND bar) {
  const LRESULT length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

struct SearchInWindowCase {
  const char* what;
  std::function<void(VhxSim*, int cab)> arrange;
  const char* status;
  int page;
  std::vector<std::string> boxes;
};

TEST_F(SimulatedCab, TheSearchsErrorsShowInTheStatusBar) {
  const SearchInWindowCase cases[] = {
      {"enumeration fails", [](VhxSim* s, int) { VhxSimSetEnumerateError(s, VHX_ERR_ENUMERATE); },
       "Enumeration error: 5", kWelcomePage, {EnglishDefault(TextKey::UnitNotDetected)}},
      {"set-up fails", [](VhxSim* s, int cab) { VhxSimSetSetUpError(s, cab, VHX_ERR_OPEN); },
       "Setup interface 0 failed, error: 3", kOverviewPage, {}},
      {"two controllers",
       [](VhxSim* s, int) {
         VhxSimDeviceSpec spec;
         VhxSimCabSpec(&spec);
         VhxSimAddDevice(s, &spec);
       },
       "", kWelcomePage, {EnglishDefault(TextKey::DuplicateDevices), EnglishDefault(TextKey::UnitNotDetected)}},
      {"no controller", [](VhxSim* s, int cab) { VhxSimRemoveDevice(s, cab); }, "No valid devices detected",
       kWelcomePage, {EnglishDefault(TextKey::UnitNotDetected)}},
  };
  for (const SearchInWindowCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(VhxSimReset(sim_), VHXSIM_OK);
    ASSERT_EQ(VhxSimSetEnumerateError(sim_, 0), VHXSIM_OK);
    AddCab();
    c.arrange(sim_, cab_);
    FakeSystem system;
    system.registry = system_.registry;
    Wizard wizard(dir_.path(), system, HidCabDevices());
    wizard.Start();
    MainForm form(system, wizard, 10, 100);
    form.Refresh();
    form.Show();
    PumpMessages(20);
    SendMessageA(form.NextButton().Handle(), BM_CLICK, 0, 0);
    PumpMessages(20);
    EXPECT_EQ(StatusText(form.Status().Handle()), c.status);
    EXPECT_EQ(system.TakeTexts(), c.boxes);
    EXPECT_TRUE(IsWindowVisible(form.GetPage(c.page).Handle()));
    EXPECT_TRUE(IsWindowEnabled(form.NextButton().Handle()));
  }
}

TEST_F(SimulatedCab, ReadsThatFailWhileSamplingFailThePositionInTheWindow) {
  AddCab();
  Open();
  Click(form_->NextButton());
  Click(form_->NextButton());
  ASSERT_EQ(wizard_.Screen().page, kFirstSectionPage);
  Move(0, 200);
  ASSERT_EQ(VhxSimSetFailReads(sim_, cab_, 1), VHXSIM_OK);
  Click(form_->CalibrateButton());
  EXPECT_EQ(StatusText(form_->Status().Handle()), "Wait");
  ASSERT_TRUE(WaitUntil([&] { return !wizard_.Screen().sampling; }, 10000, 5));
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{EnglishDefault(TextKey::UnitNotRead)});
  EXPECT_EQ(StatusText(form_->Status().Handle()), "Done");
  EXPECT_EQ(wizard_.CurrentPosition(), 0) << "the position is done again";
  EXPECT_FALSE(wizard_.Done(0));
  EXPECT_TRUE(IsWindowEnabled(form_->CalibrateButton().Handle()));
  EXPECT_FALSE(IsWindowEnabled(form_->NextButton().Handle()));
  EXPECT_FALSE(vcl::Application::Busy());

  // The interface mended, the same position passes.
  ASSERT_EQ(VhxSimSetFailReads(sim_, cab_, 0), VHXSIM_OK);
  CalibrateAt(200);
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_TRUE(wizard_.Done(0));
  EXPECT_EQ(wizard_.CurrentPosition(), 1);
}

// Pages 3 to 5 waiting for Calibrate, sampling, after a reading out of bounds, at a later
// position, and complete (entered again with Back), saved as pictures.
TEST_F(SimulatedCab, TheSectionPagesInTheirStates) {
  AddCab();
  Open();
  Click(form_->NextButton());
  Click(form_->NextButton());
  for (int page = kFirstSectionPage; page <= 5; ++page) {
    SCOPED_TRACE(page);
    const std::string name = "calibration_page" + std::to_string(page) + "_";
    const SectionInfo& section = Section(page);
    ASSERT_EQ(wizard_.Screen().page, page);
    ASSERT_TRUE(IsWindowVisible(form_->GetPage(page).Handle()));
    ASSERT_EQ(wizard_.CurrentPosition(), section.first);
    EXPECT_EQ(WindowText(form_->CalibrateButton().Handle()), "&Calibrate");
    SaveWithOutline(name + "waiting");

    // Out of bounds: the first position's lower bound less one (or its upper bound plus one).
    const int low = Position(section.first).lowerBound;
    const int bad = low > 0 ? low - 1 : UpperBound(section.first, true) + 1;
    Move(section.first, bad);
    Click(form_->CalibrateButton());
    ASSERT_TRUE(wizard_.Screen().sampling);
    PumpMessages(10);
    EXPECT_EQ(StatusText(form_->Status().Handle()), "Wait");
    EXPECT_FALSE(IsWindowEnabled(form_->CalibrateButton().Handle()));
    EXPECT_FALSE(SavePicture(form_->Handle(), name + "sampling").empty());
    ASSERT_TRUE(WaitUntil([&] { return !wizard_.Screen().sampling; }, 10000, 5));
    EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{std::string(EnglishDefault(TextKey::OutOfBounds)) + "\r\n"});
    ASSERT_EQ(wizard_.CurrentPosition(), section.first);
    SaveWithOutline(name + "out_of_bounds");

    CalibrateAt(kGood[section.first]);
    ASSERT_EQ(wizard_.CurrentPosition(), section.first + 1);
    EXPECT_EQ(WindowText(form_->PageText(page).Handle()),
              wizard_.Texts()[Position(section.first + 1).instructionKey]);
    SaveWithOutline(name + "next_position");
    for (int p = section.first + 1; p <= section.last; ++p) CalibrateAt(kGood[p]);
    EXPECT_TRUE(system_.messages.empty());

    // Complete, it went on to the overview; Back shows it complete.
    ASSERT_EQ(wizard_.Screen().page, kOverviewPage);
    Click(form_->BackButton());
    ASSERT_EQ(wizard_.Screen().page, page);
    EXPECT_EQ(WindowText(form_->CalibrateButton().Handle()), "&Re-Calibrate");
    EXPECT_TRUE(IsWindowEnabled(form_->NextButton().Handle()));
    PumpMessages(20);
    EXPECT_FALSE(SavePicture(form_->Handle(), name + "complete").empty());
    Click(form_->NextButton());
    ASSERT_EQ(wizard_.Screen().page, kOverviewPage);
    Click(form_->NextButton());
  }
}

}  // namespace
