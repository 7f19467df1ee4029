// The real LCcalibration.exe over a simulated cab controller, driven from outside as a user (or a
// tester posting clicks) would: message boxes up while the sampling timer runs and clicks
// arrive, an unplug and replug in the middle of a position, and full walks to the files.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "calibration/calibration_files.h"
#include "calibration/language_texts.h"
#include "calibration/positions.h"
#include "tests/calibration/cab_simulation.h"
#include "tests/calibration/gui_helpers.h"
#include "tests/calibration/machine_default_value.h"

using namespace cal;
using namespace testsupport;

namespace {

constexpr int kGood[kPositionCount] = {200, 120, 40, 200, 120, 40, 100, 200, 90, 50, 200,
                                       200, 50,  200, 60, 140, 200, 80, 130, 200, 80, 80};
constexpr unsigned kWait = 20000;

// A visible label of the window whose text begins so, or null.
HWND LabelStartingWith(HWND window, const std::string& start) {
  struct Search {
    const std::string& start;
    HWND found;
    static BOOL CALLBACK Visit(HWND h, LPARAM lp) {
      auto* s = reinterpret_cast<Search*>(lp);
      if (ClassName(h) != "Static" || !IsWindowVisible(h) || WindowText(h).rfind(s->start, 0) != 0) return TRUE;
      s->found = h;
      return FALSE;
    }
  } search{start, nullptr};
  EnumChildWindows(window, &Search::Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class ProgramOverSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(EnvOr("VHXHID_SIM").empty()) << "the test runs on a simulation";
    ASSERT_NE(sim_.get(), nullptr);
    const std::string bin = EnvOr("ORVANE_BIN");
    ASSERT_TRUE(CopyFileA((bin + "\\LCcalibration.exe").c_str(), (dir_ / "LCcalibration.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "\\VHXHID.dll").c_str(), (dir_ / "VHXHID.dll").c_str(), FALSE));
    ASSERT_TRUE(MakeDirs(dir_ / "controller"));
    ASSERT_TRUE(CopyFileA((bin + "\\controller\\ModernController.lcm").c_str(),
                          (dir_ / "controller\\ModernController.lcm").c_str(), FALSE));
    ASSERT_TRUE(WritePrivateProfileStringA("", "PrefLangID", "9", (dir_ / "Lococab.def").c_str()));
    AddCab();
  }
  void TearDown() override {
    if (program_.Handle() && !program_.Wait(0)) program_.Kill();
  }
  void AddCab() {
    cab_ = sim_.AddCab();
    ASSERT_GT(cab_, 0);
  }
  void Start() {
    ASSERT_TRUE(program_.Start("\"" + (dir_ / "LCcalibration.exe") + "\"", dir_.path()));
    main_ = WaitForProcessWindowOfClass(program_.Id(), "TForm1", kWait);
    ASSERT_NE(main_, nullptr);
  }
  HWND Box() const { return FindProcessWindow(program_.Id(), "#32770"); }
  HWND Button(const char* caption) const { return FindChildByText(main_, "Button", caption); }
  bool Shown(HWND hwnd) const { return hwnd && IsWindowVisible(hwnd); }
  bool Usable(HWND hwnd) const { return Shown(hwnd) && IsWindowEnabled(hwnd); }
  // A visible label of the window with exactly this text.
  bool Says(const std::string& text) const { return Shown(FindChildByText(main_, "Static", text.c_str())); }
  std::string Status() const { return WindowText(FindChildByText(main_, "msctls_statusbar32", nullptr)); }
  // The wizard waits for the user: no box, and Calibrate or Next can be clicked.
  bool Idle() const {
    if (Box()) return false;
    HWND calibrate = Button("&Calibrate");
    return Usable(calibrate) || (!Shown(calibrate) && (Usable(Button("&Next")) || Usable(Button("&Finish"))));
  }
  void Click(const char* caption) {
    HWND button = Button(caption);
    ASSERT_TRUE(Usable(button)) << caption;
    PostMessageA(button, BM_CLICK, 0, 0);
  }
  // The lever of position p moved to v; on the independent brake's two positions the bail-off
  // is let go.
  void Move(int p, int v) {
    if (p == 10 || p == 12) {
      ASSERT_EQ(sim_.Move(cab_, kBailOffReleased, 80), VHXSIM_OK);
    }
    ASSERT_EQ(sim_.Move(cab_, p, v), VHXSIM_OK);
  }
  // What the window shows, for a failure's message.
  std::string Describe() const {
    std::string d = "box: \"" + MessageBoxText(Box()) + "\"; status: \"" + Status() + "\"";
    for (const char* caption : {"&Calibrate", "&Re-Calibrate", "&Next", "&Back", "&Finish"}) {
      HWND b = Button(caption);
      d += std::string("; ") + caption + (b ? (Shown(b) ? (IsWindowEnabled(b) ? " on" : " off") : " hidden") : " none");
    }
    struct Labels {
      std::string text;
      static BOOL CALLBACK Visit(HWND h, LPARAM lp) {
        if (ClassName(h) == "Static" && IsWindowVisible(h) && !WindowText(h).empty())
          reinterpret_cast<Labels*>(lp)->text += "; \"" + WindowText(h).substr(0, 50) + "\"";
        return TRUE;
      }
    } labels;
    EnumChildWindows(main_, &Labels::Visit, reinterpret_cast<LPARAM>(&labels));
    return d + labels.text;
  }
  // The box now up, with its text; empty when none comes.
  std::string WaitForBox(HWND& box) {
    box = nullptr;
    WaitUntil([&] { return (box = Box()) != nullptr; }, kWait);
    return box ? MessageBoxText(box) : std::string();
  }
  // While the box is up: clicks on every button of the window and ticks of the timers, then OK.
  void ClickAroundAndDismiss(HWND box) {
    for (const char* caption : {"&Calibrate", "&Next", "&Back", "&Finish", "&Re-Calibrate"})
      if (HWND b = Button(caption)) PostMessageA(b, BM_CLICK, 0, 0);
    PumpMessages(400);
    for (const char* caption : {"&Calibrate", "&Next"})
      if (HWND b = Button(caption)) PostMessageA(b, BM_CLICK, 0, 0);
    PumpMessages(400);
    ASSERT_TRUE(IsWindow(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kWait));
  }
  // From the welcome page to the first position.
  void ToFirstSection() {
    ASSERT_TRUE(WaitUntil([&] { return Idle(); }, kWait));
    Click("&Next");
    ASSERT_TRUE(WaitUntil([&] { return Idle() && Says("Click Next to calibrate the Reverser"); }, kWait));
    Click("&Next");
    ASSERT_TRUE(WaitUntil([&] { return Idle() && Says(EnglishDefault(TextKey::MoveReverserToReversed)); }, kWait));
  }
  // Calibrates position p at v and waits for the wizard to take the next step.
  void CalibrateAt(int p, int v) {
    Move(p, v);
    Click("&Calibrate");
    ASSERT_TRUE(WaitUntil([&] { return !Idle() || Box(); }, kWait));
    ASSERT_TRUE(WaitUntil([&] { return Idle(); }, kWait)) << "position " << p << ": " << Describe();
  }
  // Every position from the first, at good readings; ends on the finish page.
  void WalkFromFirstPosition() {
    for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page) {
      for (int p = Section(page).first; p <= Section(page).last; ++p) {
        ASSERT_TRUE(Says(EnglishDefault(Position(p).instructionKey))) << "position " << p;
        CalibrateAt(p, kGood[p]);
      }
      if (page < kRotarySectionPage) {
        ASSERT_TRUE(Says(std::string("Click Next to calibrate the ") + EnglishDefault(Section(page + 1).leverKey) +
                         "  OR Click Back to calibrate the " + EnglishDefault(Section(page).leverKey)))
            << page;
        Click("&Next");
        ASSERT_TRUE(WaitUntil([&] { return Idle() && Says(EnglishDefault(Position(Section(page + 1).first).instructionKey)); },
                              kWait));
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return Usable(Button("&Finish")); }, kWait));
  }
  // The calibrated flag as the program stored it.
  std::string CalibratedFlag() const {
    char flag[16] = {};
    GetPrivateProfileStringA("", "00D2Calibrated", "", flag, sizeof flag, (dir_ / "Lococab.def").c_str());
    return flag;
  }
  // The finish page of a complete calibration; Finish writes and the program ends.
  void FinishAndExpectTheFiles() {
    ASSERT_TRUE(WaitUntil([&] { return Shown(LabelStartingWith(main_, EnglishDefault(TextKey::CalibrationSucceeded))); }, kWait));
    Click("&Finish");
    ASSERT_TRUE(program_.Wait(kWait)) << MessageBoxText(Box());
    EXPECT_EQ(program_.ExitCode(), 0u);
    std::string calibration;
    ASSERT_TRUE(ReadTextFile(dir_ / "controller\\ModernCalibration.lcm", calibration));
    EXPECT_NE(calibration.find("\"Full Reversed\"\n  {\n   Min   200\n   Max   200\n"), std::string::npos);
    EXPECT_EQ(CalibratedFlag(), "1");
  }

  ScratchDir dir_{"lcsim"};
  CabSimulation sim_;
  int cab_ = 0;
  ChildProcess program_;
  HWND main_ = nullptr;
};

TEST_F(ProgramOverSim, ClicksAndTicksWhileABoxIsUpChangeNothing) {
  Start();
  ToFirstSection();
  // Out of bounds; while the box is up the lever is set right and every button clicked.
  Move(0, 150);
  Click("&Calibrate");
  HWND box;
  ASSERT_EQ(WaitForBox(box), std::string(EnglishDefault(TextKey::OutOfBounds)) + "\r\n");
  EXPECT_FALSE(SaveScreenPicture(main_, "calibration_program_refused_under_box").empty());
  Move(0, 200);
  ClickAroundAndDismiss(box);
  ASSERT_TRUE(WaitUntil([&] { return Idle(); }, kWait)) << Describe();
  // Longer than a sampling: none was started by the clicks under the box.
  PumpMessages(1500);
  EXPECT_TRUE(Idle()) << Describe();
  EXPECT_TRUE(Says(EnglishDefault(TextKey::MoveReverserToReversed))) << "the refused position is done again";
  EXPECT_EQ(Status(), "Done");
  WalkFromFirstPosition();
  FinishAndExpectTheFiles();
}

TEST_F(ProgramOverSim, AnUnplugAndReplugMidPositionThenAFullWalk) {
  Start();
  ToFirstSection();
  CalibrateAt(0, 200);
  Move(1, 120);
  Click("&Calibrate");
  ASSERT_EQ(VhxSimRemoveDevice(sim_.get(), cab_), VHXSIM_OK);
  HWND box;
  ASSERT_EQ(WaitForBox(box), EnglishDefault(TextKey::UnitNotDetected));
  AddCab();
  ClickAroundAndDismiss(box);
  ASSERT_TRUE(WaitUntil([&] { return Idle(); }, kWait)) << Describe();
  ASSERT_TRUE(Shown(Button("&Next")));
  EXPECT_FALSE(Shown(Button("&Back"))) << "back on the welcome page";
  ToFirstSection();
  WalkFromFirstPosition();
  FinishAndExpectTheFiles();
}

TEST_F(ProgramOverSim, ACalibrationThatCannotBeWrittenIsNotRecordedAsDone) {
  // The main program registered, and a folder where each calibration file goes.
  MachineDefaultValue installed(kMainProgramKey, dir_ / "orvx");
  ASSERT_TRUE(installed.ok());
  const std::string calibration = dir_ / "controller\\ModernCalibration.lcm";
  const std::string device = dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm";
  ASSERT_TRUE(MakeDirs(calibration));
  ASSERT_TRUE(MakeDirs(device));
  Start();
  ToFirstSection();
  WalkFromFirstPosition();
  ASSERT_TRUE(WaitUntil([&] { return Shown(LabelStartingWith(main_, EnglishDefault(TextKey::CalibrationSucceeded))); }, kWait));
  Click("&Finish");
  HWND box;
  EXPECT_EQ(WaitForBox(box), std::string(EnglishDefault(TextKey::NotSaved)) + "\r\n\r\n" + calibration + "\r\n" + device +
                                 "\r\n\r\n" + EnglishDefault(TextKey::MakeWritable));
  ASSERT_NE(box, nullptr);
  PumpMessages(100);
  EXPECT_FALSE(SaveScreenPicture(box, "calibration_program_not_saved").empty());
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return Idle(); }, kWait)) << Describe();
  EXPECT_FALSE(program_.Wait(0)) << "the wizard stays on its finish page";
  EXPECT_EQ(CalibratedFlag(), "") << "not recorded as done";

  // The program's own place free again: Finish records it, and says which one is still not.
  ASSERT_TRUE(RemoveDirectoryA(calibration.c_str()));
  Click("&Finish");
  EXPECT_EQ(WaitForBox(box), std::string(EnglishDefault(TextKey::SavedInPart)) + "\r\n\r\n" + device + "\r\n");
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(program_.Wait(kWait)) << Describe();
  EXPECT_EQ(program_.ExitCode(), 0u);
  EXPECT_TRUE(FileExists(calibration));
  EXPECT_EQ(CalibratedFlag(), "1");
}

}  // namespace
