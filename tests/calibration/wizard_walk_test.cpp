// The wizard's walk through the positions without a window: device search, sampling, bounds,
// pages, questions and the files written at the end.
#include <gtest/gtest.h>

#include <optional>

#include <windows.h>

#include "calibration/calibration_files.h"
#include "calibration/wizard.h"
#include "tests/calibration/walk_fixture.h"

using namespace cal;
using testsupport::ScratchDir;
using walktest::Walk;

namespace {

struct SearchCase {
  const char* what;
  std::vector<CabEntry> entries;
  int enumerateError;
  int setUpError;
  bool ready;
  std::vector<std::string> devices;
  std::string status;
  std::vector<std::string> messages;
};

TEST_F(Walk, DeviceSearchOnLeavingTheWelcomePage) {
  const std::string notDetected = EnglishDefault(TextKey::UnitNotDetected);
  const std::string none = EnglishDefault(TextKey::NoValidDevices);
  std::vector<CabEntry> many(30, CabEntry{0x19, 1, 12, 0});
  for (int i = 0; i < 30; ++i) many[i].handle = i;
  many[27] = {0xD2, 1, 12, 27};
  const SearchCase cases[] = {
      {"one controller", {{0xD2, 1, 12, 3}}, 0, 0, true, {"PID: 210 Program ID: 3"}, "", {}},
      {"a keypad and the controller", {{0x19, 1, 12, 0}, {0xD2, 1, 12, 1}}, 0, 0, true, {"PID: 210 Program ID: 1"}, "", {}},
      {"nothing", {}, 0, 0, false, {none}, none, {notDetected}},
      {"wrong usage page", {{0xD2, 1, 1, 0}}, 0, 0, false, {none}, none, {notDetected}},
      {"two controllers", {{0xD2, 1, 12, 0}, {0xD2, 1, 12, 1}}, 0, 0, false, {}, "",
       {EnglishDefault(TextKey::DuplicateDevices), notDetected}},
      {"enumeration fails", {{0xD2, 1, 12, 0}}, 5, 0, false, {}, "Enumeration error: 5", {notDetected}},
      {"set-up fails", {{0xD2, 1, 12, 4}}, 0, 3, true, {"PID: 210 Program ID: 4"}, "Setup interface 4 failed, error: 3", {}},
      {"past the 25 entries looked at", many, 0, 0, false, {none}, none, {notDetected}},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSystem system;
    FakeCab cab;
    Wizard wizard(dir_.path(), system, cab);
    wizard.Start();
    cab.entries = c.entries;
    cab.enumerateError = c.enumerateError;
    cab.setUpError = c.setUpError;
    wizard.OnNext();
    EXPECT_EQ(cab.lastVendor, 0x0A7C);
    EXPECT_EQ(wizard.DeviceReady(), c.ready);
    EXPECT_EQ(wizard.Screen().devices, c.devices);
    EXPECT_EQ(wizard.Screen().status, c.status);
    EXPECT_EQ(system.TakeTexts(), c.messages);
    EXPECT_EQ(wizard.Screen().page, c.ready ? kOverviewPage : kWelcomePage);
    if (c.ready) {
      EXPECT_EQ(cab.setUps.size(), 1u);
      EXPECT_EQ(wizard.Screen().guidance, "Click Next to calibrate the Reverser");
      EXPECT_TRUE(wizard.Screen().guidanceVisible);
      EXPECT_TRUE(wizard.Screen().sectionOutlines[3].solid);
      EXPECT_TRUE(wizard.Screen().back.visible);
    } else {
      EXPECT_FALSE(wizard.Screen().guidanceVisible);
      EXPECT_FALSE(wizard.Screen().back.visible);
      EXPECT_EQ(wizard.CalibratedValue(), 0);
    }
  }
}

TEST_F(Walk, TheStoredCalibrationIsReadForTheFoundDeviceOnly) {
  system_.profiles[{dir_ / "Lococab.def", "", "00D2Calibrated"}] = "1";
  cab_.entries.clear();
  wizard_.OnNext();
  EXPECT_EQ(wizard_.CalibratedValue(), 0);
  cab_.AttachOne();
  wizard_.OnNext();
  EXPECT_EQ(wizard_.CalibratedValue(), 1);
}

struct SampleCase {
  const char* what;
  int position;
  std::vector<std::vector<std::uint8_t>> reports;  // one per read, the last one held
  bool boundsOff;
  bool passes;
  int min, max;
  std::string message;  // shown on failure ("" for none)
};

TEST_F(Walk, APositionPassesOrFailsByItsBounds) {
  const std::string outOfBounds = std::string(EnglishDefault(TextKey::OutOfBounds)) + "\r\n";
  const SampleCase cases[] = {
      {"steady", 0, {CabReport(0, 172)}, false, true, 172, 172, ""},
      {"spread", 0, {CabReport(0, 170), CabReport(0, 175), CabReport(0, 171)}, false, true, 170, 175, ""},
      {"one low reading", 0, {CabReport(0, 172), CabReport(0, 150), CabReport(0, 172)}, false, false, 150, 172, outOfBounds},
      {"low reading, bounds off", 0, {CabReport(0, 150)}, true, true, 150, 150, ""},
      {"marked controller's narrower bound", 4, {CabReport(4, 170, true)}, false, false, 170, 170, outOfBounds},
      {"other controller's wider bound", 4, {CabReport(4, 170, false)}, false, true, 170, 170, ""},
      {"first reading 0 leaves the maximum", 5, {CabReport(5, 0)}, false, true, 0, 0, ""},
  };
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSystem system;
    FakeCab cab;
    ScratchDir dir("walk");
    Wizard wizard(dir.path(), system, cab);
    wizard.Start();
    system.messages.clear();
    cab.AttachOne();
    wizard.OnNext();
    wizard.OnNext();
    if (c.boundsOff) wizard.OnNoticeClick();
    system.messages.clear();
    // Walk to the position with good readings.
    for (int p = 0; p < c.position; ++p) {
      cab.Hold(CabReport(p, kGoodReadings[p]));
      wizard.OnCalibrate();
      while (wizard.Screen().sampling) wizard.OnSamplingTick();
      if (wizard.Screen().page == kOverviewPage) wizard.OnNext();
    }
    ASSERT_EQ(wizard.CurrentPosition(), c.position);
    cab.reports.assign(c.reports.begin(), c.reports.end());
    wizard.OnCalibrate();
    EXPECT_TRUE(wizard.Screen().busy);
    EXPECT_EQ(wizard.Screen().status, "Wait");
    EXPECT_FALSE(wizard.Screen().calibrate.enabled);
    int ticks = 0;
    while (wizard.Screen().sampling && ticks < 100) {
      wizard.OnSamplingTick();
      ++ticks;
    }
    EXPECT_EQ(ticks, 42) << "finished on the tick after the 40th";
    EXPECT_EQ(wizard.GetRanges()[c.position].min, c.min);
    EXPECT_EQ(wizard.GetRanges()[c.position].max, c.max);
    EXPECT_EQ(wizard.Done(c.position), c.passes);
    EXPECT_EQ(wizard.CurrentPosition(), c.passes ? c.position + 1 : c.position);
    EXPECT_EQ(system.TakeTexts(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(wizard.Screen().status, "Done");
    EXPECT_FALSE(wizard.Screen().busy);
    EXPECT_TRUE(wizard.Screen().calibrate.enabled);
    EXPECT_TRUE(wizard.Screen().blinking);
    EXPECT_EQ(wizard.Screen().diagnostics.back(),
              EnglishDefault(Position(c.position).leverKey) + std::to_string(c.position) + " min " + std::to_string(c.min) + " max " + std::to_string(c.max));
  }
}

TEST_F(Walk, TheBailOffIsSampledWithTheIndependentBrakeAndCheckedEvenWithBoundsOff) {
  ToFirstSection();
  for (int page = 3; page <= 5; ++page) {
    CalibrateSection(page);
    wizard_.OnNext();
  }
  ASSERT_EQ(wizard_.CurrentPosition(), 10);
  wizard_.OnNoticeClick();
  system_.messages.clear();
  Calibrate(CabReport(10, 200, true, 170));  // the bail-off reads engaged: above 160
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{std::string(EnglishDefault(TextKey::OutOfBounds)) + "\r\n" +
                                                          EnglishDefault(TextKey::HoldBailOff)});
  EXPECT_FALSE(wizard_.Done(10));
  EXPECT_EQ(wizard_.CurrentPosition(), 10);
  const auto& d = S().diagnostics;
  ASSERT_GE(d.size(), 2u);
  EXPECT_EQ(d[d.size() - 2], "Independent Brake/Bail Off10 min 200 max 200");
  EXPECT_EQ(d.back(), "BO off DOWN min 170 max 170");
  EXPECT_EQ(S().diagnosticsSelection, static_cast<int>(d.size()) - 1);

  Calibrate(CabReport(10, 200, true, 90));
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(wizard_.GetRanges()[kBailOffReleased].min, 90);
  Calibrate(CabReport(11, 200));
  Calibrate(CabReport(12, 50, true, 100));
  EXPECT_EQ(S().diagnostics.back(), "BO off UP min 100 max 100");
  EXPECT_EQ(wizard_.GetRanges()[kBailOffFull].max, 100);
}

TEST_F(Walk, NothingReadFailsThePosition) {
  ToFirstSection();
  cab_.fail = true;
  wizard_.OnCalibrate();
  EXPECT_EQ(RunSampling(), 42);
  EXPECT_FALSE(wizard_.Done(0));
  EXPECT_EQ(wizard_.CurrentPosition(), 0);
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{EnglishDefault(TextKey::UnitNotRead)}) << "not out of bounds";
}

TEST_F(Walk, TwentyFailedReadsSearchAgainAndGoBackToTheStartWhenTheDeviceIsGone) {
  ToFirstSection();
  Calibrate(CabReport(0, kGoodReadings[0]));
  cab_.fail = true;
  cab_.entries.clear();
  wizard_.OnCalibrate();
  for (int i = 0; i < 19; ++i) wizard_.OnSamplingTick();
  EXPECT_EQ(cab_.enumerations, 1);
  wizard_.OnSamplingTick();
  EXPECT_EQ(cab_.enumerations, 2);
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{EnglishDefault(TextKey::UnitNotDetected)});
  EXPECT_FALSE(S().sampling);
  EXPECT_EQ(S().page, kWelcomePage);
  EXPECT_FALSE(S().back.visible);
  EXPECT_FALSE(S().calibrate.visible);
  EXPECT_TRUE(S().next.visible && S().next.enabled);
  EXPECT_FALSE(S().busy);
  EXPECT_EQ(S().status, "");
  EXPECT_FALSE(wizard_.Done(0));
  EXPECT_TRUE(wizard_.DeviceLost());
  EXPECT_TRUE(wizard_.CanClose()) << "a lost device closes without a question";
  EXPECT_TRUE(system_.messages.empty());
}

TEST_F(Walk, TwentyFailedReadsWithTheDeviceBackGoOnSampling) {
  ToFirstSection();
  cab_.fail = true;
  wizard_.OnCalibrate();
  for (int i = 0; i < 20; ++i) wizard_.OnSamplingTick();
  EXPECT_EQ(cab_.enumerations, 2);
  EXPECT_TRUE(S().sampling);
  EXPECT_EQ(cab_.samplingStarts.size(), 2u) << "sampling starts again on the device found";
  cab_.fail = false;
  cab_.Hold(CabReport(0, 180));
  RunSampling();
  EXPECT_TRUE(wizard_.Done(0));
  EXPECT_TRUE(system_.messages.empty());
}

TEST_F(Walk, TwoControllersFoundWhileSamplingStopIt) {
  ToFirstSection();
  cab_.fail = true;
  cab_.entries.push_back(cab_.entries[0]);
  wizard_.OnCalibrate();
  system_.onMessage = [&] { EXPECT_FALSE(S().sampling) << "no tick while the box is open"; };
  for (int i = 0; i < 20; ++i) wizard_.OnSamplingTick();
  EXPECT_EQ(system_.TakeTexts(), (std::vector<std::string>{EnglishDefault(TextKey::DuplicateDevices), EnglishDefault(TextKey::UnitNotDetected)}));
  EXPECT_FALSE(S().sampling);
  EXPECT_EQ(S().page, kWelcomePage);
}

TEST_F(Walk, TheWholeWalkWritesEveryFileAndCloses) {
  system_.registry[{vcl::RegistryRoot::LocalMachine, kMainProgramKey, ""}] = dir_ / "orvx";
  ASSERT_TRUE(testsupport::MakeDirs(dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2"));
  ToFirstSection();
  EXPECT_EQ(S().pageText[3], EnglishDefault(TextKey::MoveReverserToReversed));
  EXPECT_TRUE(S().outlines[0].solid);
  EXPECT_TRUE(S().blinking);
  EXPECT_FALSE(S().next.enabled);
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page) {
    CalibrateSection(page);
    if (page < kRotarySectionPage) {
      ASSERT_EQ(S().page, kOverviewPage);
      EXPECT_EQ(S().guidance, T(TextKey::NextToCalibrate) + " " + T(Section(page + 1).leverKey) + "  OR " + T(TextKey::BackToCalibrate) + " " +
                                  T(Section(page).leverKey));
      EXPECT_TRUE(S().sectionOutlines[page + 1].solid);
      EXPECT_FALSE(S().sectionOutlines[page].solid);
      EXPECT_FALSE(S().calibrate.visible);
      EXPECT_EQ(S().focus, Focus::Next);
      wizard_.OnNext();
      ASSERT_EQ(S().page, page + 1);
    }
  }
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(S().next.caption, "&Finish");
  EXPECT_FALSE(S().calibrate.visible);
  EXPECT_EQ(S().pageText[8],
            T(TextKey::CalibrationSucceeded) + "\r\n\r\n\r\n" + T(TextKey::ParkTheControls) + "\r\n\r\n" + "Reverser  -  Neutral\r\n" +
                "Dynamic Brake/Throttle  -  Throttle Idle\r\n" +
                "Auto Brake/Emergency Brake  -  Full Auto Brake (CS)\r\n" +
                "Independent Brake/Bail Off  -  Independent Brake Released\r\n" +
                "3 Position Rotary Switches  -  Position 1 (OFF)\r\n");
  EXPECT_EQ(wizard_.CalibratedValue(), 1);
  const unsigned close = S().closeSerial;
  wizard_.OnNext();  // Finish
  EXPECT_EQ(S().closeSerial, close + 1);
  EXPECT_TRUE(wizard_.CanClose());
  EXPECT_TRUE(system_.messages.empty());
  std::string calibration;
  ASSERT_TRUE(testsupport::ReadTextFile(dir_ / "controller\\ModernCalibration.lcm", calibration));
  EXPECT_EQ(calibration, CalibrationFileText(wizard_.GetLeverNames(), wizard_.GetRanges()));
  EXPECT_NE(calibration.find("\"Full Reversed\"\n  {\n   Min   200\n   Max   200\n"), std::string::npos);
  EXPECT_EQ(testsupport::ReadFileOr(dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm"), calibration);
  std::string controller;
  ASSERT_TRUE(testsupport::ReadTextFile(dir_ / "controller\\ModernController.lcm", controller));
  EXPECT_EQ(controller.substr(0, 52), "MODERN\nPID=00D2\nName=\"MODERN DESKTOP\"\nINPUT\nBYTE1,RA");
  EXPECT_NE(controller.find("ERR=2\n"), std::string::npos);
  EXPECT_EQ(Def("00D2Calibrated"), "1");
  EXPECT_EQ(Def("00D2Calibration Date"), "3/5/2024");
}

TEST_F(Walk, AMissingPositionIsListedAndFinishWritesNothing) {
  ToFirstSection();
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page) {
    if (page == 4 || page == 7) {
      Calibrate(CabReport(Section(page).first, kGoodReadings[Section(page).first]));
      system_.answers = {vcl::Answer::No};  // go on without the rest
      wizard_.OnNext();
      EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::CalibrationOf) + " " + T(Section(page).leverKey) + " " + T(TextKey::ContinueIncomplete)});
      if (page == 7) break;
    } else {
      CalibrateSection(page);
    }
    wizard_.OnNext();
  }
  ASSERT_EQ(S().page, kFinishPage);
  EXPECT_EQ(S().pageText[8], T(TextKey::CalibrationIncomplete) + " " + T(TextKey::LeversNotCalibrated) + "\r\n\r\n" + "Dynamic Brake/Throttle\r\n" +
                                 "3 Position Rotary Switches\r\n" + "\r\n" + T(TextKey::BackToTheLever));
  system_.answers = {vcl::Answer::Cancel, vcl::Answer::Ok};
  wizard_.OnNext();  // Finish
  EXPECT_FALSE(testsupport::FileExists(dir_ / "controller\\ModernCalibration.lcm"));
  EXPECT_FALSE(wizard_.CanClose());
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::CloseUncalibrated)});
  EXPECT_TRUE(wizard_.CanClose());
}

TEST_F(Walk, FinishWithAStoredValueOtherThanZeroOrOneWritesAnyway) {
  system_.profiles[{dir_ / "Lococab.def", "", "00D2Calibrated"}] = "2";
  // Through every page without calibrating anything.
  for (int clicks = 0; S().page != kFinishPage && clicks < 20; ++clicks) {
    system_.answers = {vcl::Answer::No};
    wizard_.OnNext();
  }
  ASSERT_EQ(S().page, kFinishPage);
  wizard_.OnNext();  // Finish
  EXPECT_TRUE(testsupport::FileExists(dir_ / "controller\\ModernCalibration.lcm"));
  EXPECT_EQ(Def("00D2Calibrated"), "2");
  std::string calibration;
  ASSERT_TRUE(testsupport::ReadTextFile(dir_ / "controller\\ModernCalibration.lcm", calibration));
  EXPECT_NE(calibration.find("\"Neutral\"\n  {\n   Min   500\n   Max   0\n"), std::string::npos);
}

TEST_F(Walk, IncompleteQuestionYesStaysOnThePage) {
  ToFirstSection();
  system_.answers = {vcl::Answer::Yes};
  wizard_.OnNext();
  EXPECT_EQ(S().page, kFirstSectionPage);
  EXPECT_FALSE(S().next.enabled);
  EXPECT_TRUE(S().blinking);
  EXPECT_EQ(system_.TakeTexts().size(), 1u);
  wizard_.OnBack();
  EXPECT_EQ(S().page, kWelcomePage) << "Back from the first section asks nothing";
  EXPECT_TRUE(system_.messages.empty());
}

TEST_F(Walk, BackThroughTheSectionsAndFromTheFinishPage) {
  ToFirstSection();
  CalibrateSection(3);
  wizard_.OnNext();  // page 4
  system_.answers = {vcl::Answer::No};
  wizard_.OnBack();  // page 4 incomplete: No goes back anyway
  ASSERT_EQ(S().page, kOverviewPage);
  EXPECT_EQ(wizard_.CurrentSection(), 3);
  EXPECT_EQ(S().guidance, T(TextKey::BackToCalibrate) + " Reverser  OR " + T(TextKey::NextToCalibrate) + " Dynamic Brake/Throttle");
  EXPECT_EQ(S().focus, Focus::Back);
  wizard_.OnBack();  // into the completed reverser section
  ASSERT_EQ(S().page, kFirstSectionPage);
  EXPECT_EQ(S().calibrate.caption, "&Re-Calibrate");
  EXPECT_TRUE(S().next.enabled);
  EXPECT_TRUE(S().back.visible);
  EXPECT_FALSE(S().outlines[0].solid);
  wizard_.OnNext();  // complete: on to page 2
  wizard_.OnNext();  // section 4 again
  EXPECT_EQ(S().page, 4);
  system_.answers = {vcl::Answer::Yes};
  wizard_.OnBack();
  EXPECT_EQ(S().page, 4) << "Yes: the section is calibrated first";
  EXPECT_TRUE(S().blinking);
  system_.answers = {vcl::Answer::No};
  wizard_.OnBack();
  wizard_.OnBack();
  EXPECT_EQ(S().page, 3);
  wizard_.OnBack();
  EXPECT_EQ(S().page, kWelcomePage);
  EXPECT_FALSE(S().back.visible);
  EXPECT_EQ(wizard_.CurrentSection(), 3);
}

TEST_F(Walk, BackFromTheFinishPageReturnsToTheRotarySwitches) {
  WalkAll();
  wizard_.OnBack();
  EXPECT_EQ(S().page, kOverviewPage);
  EXPECT_EQ(wizard_.CurrentSection(), 7);
  EXPECT_EQ(S().guidance, T(TextKey::BackToCalibrate) + " 3 Position Rotary Switches");
  EXPECT_TRUE(S().sectionOutlines[7].solid);
  EXPECT_EQ(S().next.caption, "&Next");
  EXPECT_FALSE(S().calibrate.visible);
  wizard_.OnNext();  // after a Back: straight to the finish page
  EXPECT_EQ(S().page, kFinishPage);
  EXPECT_EQ(S().next.caption, "&Finish");
}

TEST_F(Walk, ReCalibrateRestartsTheSectionKeepingItsDoneFlags) {
  ToFirstSection();
  CalibrateSection(3);
  wizard_.OnBack();  // from page 2 back into the completed section
  ASSERT_EQ(S().page, 3);
  wizard_.OnCalibrate();  // Re-Calibrate
  EXPECT_EQ(S().calibrate.caption, "&Calibrate");
  EXPECT_EQ(wizard_.CurrentPosition(), 0);
  EXPECT_TRUE(S().outlines[0].solid && S().outlines[0].visible);
  EXPECT_TRUE(S().blinking);
  EXPECT_FALSE(S().sampling);
  EXPECT_TRUE(wizard_.Done(0) && wizard_.Done(1) && wizard_.Done(2));
  EXPECT_EQ(S().pageText[3], EnglishDefault(TextKey::MoveReverserToReversed));
}

TEST_F(Walk, TheRotaryMarkersFollowThePosition) {
  ToFirstSection();
  for (int page = 3; page <= 6; ++page) {
    CalibrateSection(page);
    wizard_.OnNext();
  }
  ASSERT_EQ(S().page, 7);
  struct M {
    bool visible;
    int left, top;
  };
  auto expectMarkers = [&](int position, std::array<M, 3> m) {
    SCOPED_TRACE(position);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(S().markers[i].visible, m[i].visible) << i;
      if (m[i].visible) {
        EXPECT_EQ(S().markers[i].left, m[i].left) << i;
        EXPECT_EQ(S().markers[i].top, m[i].top) << i;
      }
    }
  };
  expectMarkers(14, {{{false, 0, 0}, {false, 500, 85}, {true, 500, 151}}});
  const std::array<M, 3> after[] = {
      {{{false, 0, 0}, {false, 0, 0}, {true, 500, 151}}},    // 15
      {{{true, 499, 85}, {false, 0, 0}, {true, 500, 151}}},  // 16
      {{{false, 0, 0}, {true, 500, 85}, {true, 500, 151}}},  // 17
      {{{false, 0, 0}, {true, 500, 85}, {false, 0, 0}}},     // 18
      {{{true, 499, 151}, {true, 500, 85}, {false, 0, 0}}},  // 19
  };
  for (int p = 14; p < 19; ++p) {
    Calibrate(CabReport(p, kGoodReadings[p]));
    expectMarkers(p + 1, after[p - 14]);
  }
}

TEST_F(Walk, CompletingASectionGoesOnOnceAndNeverClicksNextAgain) {
  ToFirstSection();
  CalibrateSection(3);
  EXPECT_EQ(S().page, kOverviewPage);
  wizard_.OnNext();
  ASSERT_EQ(S().page, 4);
  // The first position of the next section samples without anything pressing Next.
  Calibrate(CabReport(3, kGoodReadings[3]));
  EXPECT_EQ(S().page, 4);
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(wizard_.CurrentPosition(), 4);
}

TEST_F(Walk, NavigationAndLanguageWaitWhileAPositionIsSampled) {
  ToFirstSection();
  CalibrateSection(3);
  wizard_.OnBack();
  wizard_.OnCalibrate();  // Re-Calibrate: Next stays enabled
  ASSERT_TRUE(S().next.enabled);
  cab_.Hold(CabReport(0, kGoodReadings[0]));
  wizard_.OnCalibrate();
  ASSERT_TRUE(S().sampling);
  wizard_.OnNext();
  wizard_.OnBack();
  wizard_.OnLanguage(kGermanItem);
  EXPECT_EQ(S().page, 3);
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(wizard_.Language(), kEnglish);
  RunSampling();
  EXPECT_EQ(wizard_.CurrentPosition(), 1);
}

TEST_F(Walk, ALanguageChangeKeepsWhatTheButtonsDo) {
  ToFirstSection();
  CalibrateSection(3);
  wizard_.OnBack();
  ASSERT_EQ(S().calibrate.caption, "&Re-Calibrate");
  wizard_.OnLanguage(kEnglishItem);
  EXPECT_EQ(S().calibrate.caption, "&Re-Calibrate");
  wizard_.OnCalibrate();
  EXPECT_FALSE(S().sampling) << "still a restart of the section";
}

TEST_F(Walk, ALanguageChangeOnTheFinishPageKeepsFinish) {
  WalkAll();
  wizard_.OnLanguage(kEnglishItem);
  EXPECT_EQ(S().next.caption, "&Finish");
  wizard_.OnNext();
  EXPECT_TRUE(testsupport::FileExists(dir_ / "controller\\ModernCalibration.lcm"));
}

struct CloseCase {
  const char* what;
  int stored;      // 00D2Calibrated
  bool walkAll;    // every position done, standing on the finish page
  std::optional<TextKey> question;  // none: closes without asking
};

TEST_F(Walk, TheCloseQuestions) {
  const CloseCase cases[] = {
      {"nothing calibrated ever", 0, false, TextKey::CloseUncalibrated},
      {"calibrated before, this run incomplete", 1, false, TextKey::CloseKeepingPrevious},
      {"calibrated before, this run complete, on the finish page", 1, true, TextKey::CloseOnFinishPage},
      {"stored value 2, incomplete", 2, false, std::nullopt},
  };
  for (const CloseCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeSystem system;
    FakeCab cab;
    ScratchDir dir("close");
    Wizard wizard(dir.path(), system, cab);
    system.profiles[{dir / "Lococab.def", "", "00D2Calibrated"}] = std::to_string(c.stored);
    wizard.Start();
    cab.AttachOne();
    wizard.OnNext();
    wizard.OnNext();
    if (c.walkAll) {
      for (int page = 3; page <= 7; ++page) {
        for (int p = Section(page).first; p <= Section(page).last; ++p) {
          cab.Hold(CabReport(p, kGoodReadings[p]));
          wizard.OnCalibrate();
          while (wizard.Screen().sampling) wizard.OnSamplingTick();
        }
        if (page < 7) wizard.OnNext();
      }
      ASSERT_EQ(wizard.Screen().page, kFinishPage);
    }
    system.messages.clear();
    system.answers = {vcl::Answer::Cancel};
    const bool closes = wizard.CanClose();
    EXPECT_EQ(closes, !c.question);
    if (c.question) {
      ASSERT_EQ(system.messages.size(), 1u);
      EXPECT_EQ(system.messages[0].text, EnglishDefault(*c.question));
      EXPECT_EQ(system.messages[0].buttons, vcl::Buttons::OkCancel);
    }
  }
}

TEST_F(Walk, ClosingMidRunWithAnEarlierCalibrationSaysItIsIncomplete) {
  system_.profiles[{dir_ / "Lococab.def", "", "00D2Calibrated"}] = "1";
  ToFirstSection();
  system_.answers = {vcl::Answer::Cancel};
  EXPECT_FALSE(wizard_.CanClose());
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{EnglishDefault(TextKey::CloseKeepingPrevious)});
}

TEST_F(Walk, AFinishThatIsCancelledAsksAgainLater) {
  system_.profiles[{dir_ / "Lococab.def", "", "00D2Calibrated"}] = "1";
  WalkAll();
  // Finish writes and closes; the close needs no question.
  wizard_.OnNext();
  EXPECT_TRUE(wizard_.CanClose());
}

// Finish where the calibration files cannot be written (a folder stands where each goes).
struct UnwritableCase {
  const char* what;
  bool controllerFolder, deviceFolder;  // blocked
  std::optional<TextKey> text;          // the box's first text; none: no box
  bool recorded;                        // 00D2Calibrated written, and the window closes
};

class UnwritableFinish : public Walk, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableFinish, ACalibrationThatCouldNotBeWrittenIsNotRecordedAsDone) {
  const UnwritableCase& c = GetParam();
  const std::string calibration = dir_ / "controller\\ModernCalibration.lcm";
  const std::string device = dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2\\ModernCalibration.lcm";
  ASSERT_TRUE(testsupport::MakeDirs(dir_ / "orvx\\QpadDevices\\Vid0a7cPid00d2"));
  system_.registry[{vcl::RegistryRoot::LocalMachine, kMainProgramKey, ""}] = dir_ / "orvx";
  for (const auto& [blocked, place] : {std::pair{c.controllerFolder, calibration}, std::pair{c.deviceFolder, device}})
    if (blocked) {
      ASSERT_TRUE(testsupport::MakeDirs(place));
    }
  WalkAll();
  const unsigned close = S().closeSerial;
  wizard_.OnNext();  // Finish

  std::vector<std::string> boxes;
  if (c.text) {
    std::string box = T(*c.text) + "\r\n\r\n";
    if (c.controllerFolder) box += calibration + "\r\n";
    if (c.deviceFolder) box += device + "\r\n";
    if (!c.recorded) box += "\r\n" + T(TextKey::MakeWritable);
    boxes.push_back(box);
  }
  EXPECT_EQ(system_.TakeTexts(), boxes);
  EXPECT_EQ(Def("00D2Calibrated"), c.recorded ? "1" : "");
  EXPECT_EQ(Def("00D2Calibration Date"), c.recorded ? "3/5/2024" : "");
  EXPECT_EQ(S().closeSerial, c.recorded ? close + 1 : close) << "closes only once recorded";
  EXPECT_EQ(testsupport::FileExists(calibration), !c.controllerFolder);
  EXPECT_EQ(testsupport::FileExists(device), !c.deviceFolder);
  if (c.recorded) return;

  // Still on the finish page: closing asks, and Finish once a place is free records it.
  EXPECT_EQ(S().page, kFinishPage);
  EXPECT_EQ(S().next.caption, "&Finish");
  system_.answers = {vcl::Answer::Cancel};
  EXPECT_FALSE(wizard_.CanClose());
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::CloseOnFinishPage)});
  ASSERT_TRUE(RemoveDirectoryA(calibration.c_str()));
  wizard_.OnNext();
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::SavedInPart) + "\r\n\r\n" + device + "\r\n"});
  EXPECT_EQ(Def("00D2Calibrated"), "1");
  EXPECT_EQ(S().closeSerial, close + 1);
  EXPECT_TRUE(wizard_.CanClose());
}

INSTANTIATE_TEST_SUITE_P(Places, UnwritableFinish,
                         ::testing::Values(UnwritableCase{"both written", false, false, std::nullopt, true},
                                           UnwritableCase{"the device folder's not", false, true, TextKey::SavedInPart, true},
                                           UnwritableCase{"the controller folder's not", true, false, TextKey::SavedInPart, true},
                                           UnwritableCase{"neither", true, true, TextKey::NotSaved, false}));

}  // namespace
