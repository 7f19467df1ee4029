// The wizard's start-up, language, help and the about box's switches, without a window.
#include <gtest/gtest.h>

#include "calibration/vcl/str.h"
#include "calibration/wizard.h"
#include "tests/calibration/fake_cab.h"
#include "tests/calibration/fake_system.h"
#include "tests/support/scratch_dir.h"

using namespace cal;
using testsupport::ScratchDir;

namespace {

class WizardStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::MakeDirs(dir_ / "controller"));
    ASSERT_TRUE(testsupport::WriteTextFile(dir_ / "controller\\ModernController.lcm",
                                           "MODERN\nINPUT\nBYTE1,RANGE,REV\nBYTE2,RANGE,THR\n"));
  }
  std::string Def(const std::string& key) { return system_.profiles[{dir_ / "Lococab.def", "", key}]; }
  void SetDef(const std::string& key, const std::string& v) { system_.profiles[{dir_ / "Lococab.def", "", key}] = v; }
  void SetText(const char* section, TextKey key, const std::string& v) {
    system_.profiles[{dir_ / "LCLanguage.ini", section, KeyName(key)}] = v;
  }

  ScratchDir dir_{"wiz"};
  FakeSystem system_;
  FakeCab cab_;
  Wizard wizard_{dir_.path(), system_, cab_};
};

TEST_F(WizardStart, ShowsTheWelcomePageInTheSystemsLanguage) {
  wizard_.Start();
  const WizardScreen& s = wizard_.Screen();
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(s.page, kWelcomePage);
  EXPECT_EQ(s.welcome, std::string(EnglishDefault(TextKey::Welcome)) + " " + EnglishDefault(TextKey::PlugInThenNext));
  EXPECT_EQ(s.back.caption, "&Back");
  EXPECT_EQ(s.next.caption, "&Next");
  EXPECT_EQ(s.calibrate.caption, "&Calibrate");
  EXPECT_FALSE(s.back.visible);
  EXPECT_FALSE(s.calibrate.visible);
  EXPECT_TRUE(s.next.visible);
  EXPECT_TRUE(s.next.enabled);
  EXPECT_FALSE(s.sampling);
  EXPECT_FALSE(s.blinking);
  EXPECT_EQ(s.language, kEnglish);
  EXPECT_EQ(Def("PrefLangID"), "9");
  EXPECT_EQ(wizard_.HelpFile(), dir_ / "LCcalibration.hlp");
  ASSERT_EQ(wizard_.ControllerRows().size(), 2u);
  EXPECT_EQ(wizard_.ControllerRows()[1].name, "THR");
  for (int p = 0; p < kPositionCount; ++p) EXPECT_FALSE(wizard_.Done(p));
  EXPECT_EQ(wizard_.GetRanges()[0].min, 500);
  EXPECT_EQ(wizard_.GetRanges()[20].min, 0);
}

TEST_F(WizardStart, AGermanStartTakesGermanTextsLeverNamesAndHelp) {
  SetDef("PrefLangID", "7");
  SetText("German", TextKey::Reverser, "Fahrtrichtungsschalter");
  SetText("German", TextKey::NextButton, "&Weiter");
  wizard_.Start();
  EXPECT_EQ(wizard_.Screen().language, kGerman);
  EXPECT_EQ(wizard_.HelpFile(), dir_ / "LCcalibration_ger.hlp");
  EXPECT_EQ(wizard_.Texts()[TextKey::Reverser], "Fahrtrichtungsschalter");
  EXPECT_EQ(wizard_.Texts()[TextKey::DynamicBrakeThrottle], "Dynamic Brake/Throttle");
  EXPECT_EQ(wizard_.Screen().next.caption, "&Weiter");
  EXPECT_EQ(wizard_.GetLeverNames()[0], "Fahrtrichtungsschalter");
  EXPECT_EQ(wizard_.GetLeverNames()[3], "Dynamic Brake/Throttle");
}

TEST_F(WizardStart, AFrenchInputLanguageOnTheFirstStart) {
  system_.inputLanguage = 0x040C;
  SetText("French", TextKey::BackButton, "&Retour");
  wizard_.Start();
  EXPECT_EQ(Def("PrefLangID"), "12");
  EXPECT_EQ(wizard_.Screen().back.caption, "&Retour");
  EXPECT_EQ(wizard_.HelpFile(), dir_ / "LCcalibration.hlp");
}

TEST_F(WizardStart, AStoredLanguageThatIsNoNumberStopsTheStart) {
  SetDef("PrefLangID", "deutsch");
  EXPECT_THROW(wizard_.Start(), vcl::ConvertError);
}

TEST_F(WizardStart, AMissingControllerDefinitionIsReportedAndTheRowsStayEmpty) {
  ASSERT_TRUE(testsupport::RemoveTree(dir_ / "controller"));
  wizard_.Start();
  ASSERT_EQ(system_.messages.size(), 1u);
  EXPECT_EQ(system_.messages[0].text, "Error: ...controllerModernController.lcm file not found.");
  EXPECT_EQ(system_.messages[0].caption, "Lococab Calibration Setup");
  EXPECT_TRUE(wizard_.ControllerRows().empty());
}

TEST_F(WizardStart, ALanguageFileThatCannotBeReadIsReported) {
  system_.failProfileKey = "1050";
  wizard_.Start();
  ASSERT_EQ(system_.messages.size(), 1u);
  EXPECT_EQ(system_.messages[0].text, "LococabLCLanguage.ini File not found");
  EXPECT_EQ(system_.messages[0].caption, "Lococab Calibration");
  EXPECT_EQ(wizard_.Texts()[TextKey::FullCounterClockwise], "(full counter clockwise)");
}

TEST_F(WizardStart, TheLanguageMenuSwitchesTextsHelpAndTheStoredLanguage) {
  SetText("German", TextKey::CalibrateButton, "&Kalibrieren");
  SetText("German", TextKey::LanguageNote, "Sprache geaendert");
  wizard_.Start();
  const unsigned serial = wizard_.Screen().textsSerial;
  wizard_.OnLanguage(kGermanItem);
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{"Sprache geaendert"});
  EXPECT_EQ(wizard_.Screen().calibrate.caption, "&Kalibrieren");
  EXPECT_NE(wizard_.Screen().textsSerial, serial);
  EXPECT_EQ(wizard_.Screen().language, kGerman);
  EXPECT_EQ(Def("PrefLangID"), "7");
  EXPECT_EQ(wizard_.HelpFile(), dir_ / "LCcalibration_ger.hlp");
  wizard_.OnLanguage(kFrenchItem);
  EXPECT_EQ(wizard_.HelpFile(), dir_ / "LCcalibration_ger.hlp") << "French keeps the help file";
  EXPECT_EQ(wizard_.Screen().calibrate.caption, "&Calibrate");
  wizard_.OnLanguage(kEnglishItem);
  EXPECT_EQ(wizard_.HelpFile(), dir_ / "LCcalibration.hlp");
  EXPECT_EQ(Def("PrefLangID"), "9");
  const auto shown = system_.TakeTexts();
  EXPECT_EQ(shown.back(), EnglishDefault(TextKey::LanguageNote));
  // Lever names of the calibration file keep the language of the start.
  EXPECT_EQ(wizard_.GetLeverNames()[0], "Reverser");
}

TEST_F(WizardStart, HelpThatCannotBeOpenedSaysWhy) {
  wizard_.Start();
  const std::pair<int, const char*> cases[] = {
      {0, "Out of memory or resources"}, {2, "File not found"}, {3, "Directory not found"},
      {11, "File or associated app corrupted"}, {31, "Windows does not recognize the file extension"},
      {32, "Unknown error"}, {5, "Unknown error"},
  };
  for (auto [result, reason] : cases) {
    system_.shellResult = result;
    wizard_.OnHelpContents();
    ASSERT_EQ(system_.messages.size(), 1u) << result;
    EXPECT_EQ(system_.messages[0].text, std::string("Opening help file failed - ") + reason);
    EXPECT_EQ(system_.messages[0].caption, "Lococab Calibration");
    system_.messages.clear();
  }
  system_.shellResult = 33;
  wizard_.OnHelpContents();
  EXPECT_TRUE(system_.messages.empty());
  EXPECT_EQ(system_.opened.back(), dir_ / "LCcalibration.hlp");
}

TEST_F(WizardStart, TheAboutBoxSwitchesDiagnosticsAndBounds) {
  wizard_.Start();
  wizard_.OnVersionClick();
  EXPECT_TRUE(wizard_.Screen().diagnosticsShown);
  EXPECT_EQ(wizard_.Screen().calibrateLeft, 288);
  wizard_.OnVersionClick();
  EXPECT_FALSE(wizard_.Screen().diagnosticsShown);
  EXPECT_EQ(wizard_.Screen().calibrateLeft, 144);

  EXPECT_FALSE(wizard_.BoundsCheckOff());
  wizard_.OnNoticeClick();
  EXPECT_TRUE(wizard_.BoundsCheckOff());
  wizard_.OnNoticeClick();
  EXPECT_FALSE(wizard_.BoundsCheckOff());
  ASSERT_EQ(system_.messages.size(), 2u);
  EXPECT_EQ(system_.messages[0].text, "Bound limits disabled, click on Copyright to enabled (default)");
  EXPECT_EQ(system_.messages[1].text, "Bound limits enabled (default), click on Copyright to disabled");
  EXPECT_EQ(system_.messages[1].caption, "Lococab Calibration Setup");
}

TEST_F(WizardStart, ClosingBeforeAnyCalibrationAsks) {
  wizard_.Start();
  system_.answers = {vcl::Answer::Cancel, vcl::Answer::Ok};
  EXPECT_FALSE(wizard_.CanClose());
  EXPECT_TRUE(wizard_.CanClose());
  ASSERT_EQ(system_.messages.size(), 2u);
  EXPECT_EQ(system_.messages[0].text, EnglishDefault(TextKey::CloseUncalibrated));
  EXPECT_EQ(system_.messages[0].caption, "Lococab Calibration Setup");
  EXPECT_EQ(system_.messages[0].buttons, vcl::Buttons::OkCancel);
}

}  // namespace
