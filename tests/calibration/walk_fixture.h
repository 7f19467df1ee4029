#pragma once
// The fixture of the wizard's walks without a window: a wizard over a fake platform and a fake
// controller in a folder of its own, and the steps of a walk. Header-only.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calibration/wizard.h"
#include "tests/calibration/cab_readings.h"
#include "tests/calibration/fake_cab.h"
#include "tests/calibration/fake_system.h"
#include "tests/support/scratch_dir.h"

namespace walktest {

using namespace cal;

// The finish page's text of a complete calibration.
inline std::string CompleteFinishText(const LanguageTexts& t) {
  std::string text = t[TextKey::CalibrationSucceeded] + "\r\n\r\n\r\n" + t[TextKey::ParkTheControls] + "\r\n\r\n";
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page)
    text += t[Section(page).leverKey] + "  -  " + t[Position(Section(page).restPosition).labelKey] + "\r\n";
  return text;
}

class Walk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::MakeDirs(dir_ / "controller"));
    ASSERT_TRUE(testsupport::WriteTextFile(dir_ / "controller\\ModernController.lcm", "BYTE1,RANGE,REV\n"));
    wizard_.Start();
    cab_.AttachOne(4);
  }
  const WizardScreen& S() const { return wizard_.Screen(); }
  std::string T(TextKey key) const { return wizard_.Texts()[key]; }
  // Ticks until the sampling timer stops; how many ticks that took.
  int RunSampling(int limit = 200) {
    int ticks = 0;
    while (S().sampling && ticks < limit) {
      wizard_.OnSamplingTick();
      ++ticks;
    }
    return ticks;
  }
  // Calibrate with the device holding this report.
  int Calibrate(const std::vector<std::uint8_t>& report) {
    cab_.Hold(report);
    wizard_.OnCalibrate();
    return RunSampling();
  }
  void CalibrateSection(int page) {
    ASSERT_EQ(S().page, page);
    ASSERT_EQ(wizard_.CurrentPosition(), Section(page).first);
    CalibrateRestOfSection();
  }
  // The current position and those after it on its page, at good readings.
  void CalibrateRestOfSection() {
    const int last = Section(S().page).last;
    for (int p = wizard_.CurrentPosition(); p <= last; ++p) {
      ASSERT_EQ(wizard_.CurrentPosition(), p);
      Calibrate(CabReport(p, kGoodReadings[p]));
    }
  }
  // From the welcome page to the first section page.
  void ToFirstSection() {
    wizard_.OnNext();
    ASSERT_EQ(S().page, kOverviewPage);
    wizard_.OnNext();
    ASSERT_EQ(S().page, kFirstSectionPage);
  }
  // Every section calibrated; ends on the finish page.
  void WalkAll() {
    ToFirstSection();
    WalkOn();
  }
  // From the current position of a section page, every position to the last of the rotary
  // switches at good readings; ends on the finish page.
  void WalkOn() {
    for (int page = S().page; page <= kRotarySectionPage; ++page) {
      ASSERT_EQ(S().page, page);
      CalibrateRestOfSection();
      if (page < kRotarySectionPage) {
        ASSERT_EQ(S().page, kOverviewPage) << "a completed section goes on by itself";
        wizard_.OnNext();
      }
    }
    ASSERT_EQ(S().page, kFinishPage);
  }
  std::string CompleteText() const { return CompleteFinishText(wizard_.Texts()); }
  std::string Def(const std::string& key) { return system_.profiles[{dir_ / "Lococab.def", "", key}]; }

  testsupport::ScratchDir dir_{"walk"};
  FakeSystem system_;
  FakeCab cab_;
  Wizard wizard_{dir_.path(), system_, cab_};
};

}  // namespace walktest
