// The wizard while one of its message boxes is up. A box runs a message loop of its own, which
// goes on delivering the window's timer ticks and clicks (posted by a tester, or a tick already
// queued): the fake platform plays that loop, calling the wizard from inside the box. Nothing
// may change under a box, and walks with boxes, refusals, an unplug and replug and clicks
// meanwhile still end on the finish page with its text and write their files.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>

#include "calibration/calibration_files.h"
#include "tests/calibration/walk_fixture.h"
#include "tests/calibration/wizard_snapshot.h"

using namespace cal;
using walktest::Walk;

namespace {

// Everything a box's message loop can deliver to the wizard, whatever the buttons' state: ticks
// of both timers, clicks on every button, menu choices and the about box's switches, and a
// close request. `rounds` times over.
void DeliverEverything(Wizard& wizard, int rounds) {
  for (int i = 0; i < rounds; ++i) {
    wizard.OnSamplingTick();
    wizard.OnBlinkTick();
    wizard.OnCalibrate();
    wizard.OnNext();
    wizard.OnBack();
    wizard.OnLanguage(kGermanItem);
    wizard.OnHelpContents();
    wizard.OnVersionClick();
    wizard.OnNoticeClick();
    EXPECT_FALSE(wizard.CanClose()) << "the window stays while a handler is unfinished";
  }
}

class UnderBoxes : public Walk {
 protected:
  // From now on every box gets everything delivered under it, after `meanwhile` (what the user
  // does while reading it); each must leave the wizard as the box found it.
  void DeliverUnderEveryBox(std::function<void()> meanwhile = {}) {
    system_.onMessage = [this, meanwhile] {
      EXPECT_TRUE(S().boxShown) << "the window's timers stop while a box is up";
      EXPECT_TRUE(wizard_.Handling());
      if (meanwhile) meanwhile();
      if (nested_) return;  // a box shown under a box: the fault itself, counted below
      nested_ = true;
      const Seen before = Seen::Of(wizard_, system_);
      DeliverEverything(wizard_, 20);
      EXPECT_TRUE(Seen::Of(wizard_, system_) == before) << "something ran under the box \""
                                                        << system_.messages[before.boxes - 1].text << "\"";
      nested_ = false;
      ++boxes_;
    };
  }
  // The walk's end: the finish page of a complete calibration, and Finish writes the files.
  void ExpectFinishWrites() {
    ASSERT_EQ(S().page, kFinishPage);
    EXPECT_EQ(S().pageText[kFinishPage], CompleteText());
    EXPECT_EQ(S().next.caption, "&Finish");
    const unsigned close = S().closeSerial;
    wizard_.OnNext();
    EXPECT_EQ(S().closeSerial, close + 1);
    EXPECT_EQ(testsupport::ReadFileOr(dir_ / "controller\\ModernCalibration.lcm"),
              CalibrationFileText(wizard_.GetLeverNames(), wizard_.GetRanges()));
    EXPECT_EQ(Def("00D2Calibrated"), "1");
  }

  bool nested_ = false;
  int boxes_ = 0;
};

TEST_F(UnderBoxes, ARefusedPositionStaysRefusedWhateverIsClickedUnderItsBox) {
  ToFirstSection();
  // The lever is put right and Calibrate clicked while the box is still up: not a sampling.
  DeliverUnderEveryBox([&] { cab_.Hold(CabReport(0, kGoodReadings[0])); });
  Calibrate(CabReport(0, OutOfBoundsReading(0)));
  EXPECT_EQ(boxes_, 1);
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::OutOfBounds) + "\r\n"});
  EXPECT_EQ(wizard_.CurrentPosition(), 0);
  EXPECT_FALSE(wizard_.Done(0));
  EXPECT_FALSE(S().sampling);
  EXPECT_EQ(S().status, "Done");
  EXPECT_TRUE(S().calibrate.enabled && S().calibrate.visible);
  EXPECT_FALSE(S().boxShown);
  EXPECT_FALSE(wizard_.Handling());
  WalkOn();
  EXPECT_TRUE(system_.messages.empty());
  ExpectFinishWrites();
}

TEST_F(UnderBoxes, ALeftSectionIsNotSampledByAClickUnderItsQuestion) {
  ToFirstSection();
  CalibrateSection(3);
  wizard_.OnNext();
  ASSERT_EQ(S().page, 4);
  Calibrate(CabReport(3, kGoodReadings[3]));
  // Back from the unfinished section asks; under the question Calibrate is clicked, and No
  // leaves the page: nothing may go on sampling on the overview.
  DeliverUnderEveryBox([&] { cab_.Hold(CabReport(4, kGoodReadings[4])); });
  system_.answers = {vcl::Answer::No};
  wizard_.OnBack();
  EXPECT_EQ(boxes_, 1);
  ASSERT_EQ(S().page, kOverviewPage);
  EXPECT_FALSE(S().sampling);
  EXPECT_EQ(RunSampling(), 0);
  EXPECT_FALSE(wizard_.Done(4));
  system_.messages.clear();
  wizard_.OnNext();
  ASSERT_EQ(S().page, 4);
  WalkOn();
  ExpectFinishWrites();
}

TEST_F(UnderBoxes, AnUnplugAndReplugMidPositionThenAFullWalk) {
  ToFirstSection();
  Calibrate(CabReport(0, kGoodReadings[0]));
  cab_.Hold(CabReport(1, kGoodReadings[1]));
  wizard_.OnCalibrate();
  for (int i = 0; i < 5; ++i) wizard_.OnSamplingTick();
  cab_.fail = true;
  cab_.entries.clear();
  // Plugged in again while "not detected" is up, with clicks meanwhile.
  DeliverUnderEveryBox([&] {
    cab_.fail = false;
    cab_.AttachOne(4);
  });
  RunSampling();
  EXPECT_EQ(boxes_, 1);
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::UnitNotDetected)});
  EXPECT_EQ(S().page, kWelcomePage);
  EXPECT_FALSE(S().sampling);
  EXPECT_FALSE(S().busy);
  EXPECT_TRUE(S().next.visible && S().next.enabled) << "the walk can start again";
  EXPECT_FALSE(S().back.visible);
  EXPECT_FALSE(S().calibrate.visible);
  WalkAll();
  EXPECT_TRUE(system_.messages.empty());
  ExpectFinishWrites();
}

TEST_F(UnderBoxes, TheCloseQuestionHoldsTheSamplingUntilItIsAnswered) {
  ToFirstSection();
  cab_.Hold(CabReport(0, kGoodReadings[0]));
  wizard_.OnCalibrate();
  for (int i = 0; i < 10; ++i) wizard_.OnSamplingTick();
  DeliverUnderEveryBox();
  system_.answers = {vcl::Answer::Cancel};
  EXPECT_FALSE(wizard_.CanClose());
  EXPECT_EQ(system_.TakeTexts(), std::vector<std::string>{T(TextKey::CloseUncalibrated)});
  EXPECT_TRUE(S().sampling);
  EXPECT_EQ(RunSampling(), 32) << "the ticks under the question were not counted";
  EXPECT_TRUE(wizard_.Done(0));
}

// Many walks in which the user sometimes holds a lever out of its bounds, sometimes clicks Back
// in the middle of a section (and is asked), and now and then unplugs the controller in the
// middle of a position and plugs it in again while "not detected" is up; under every box a
// random burst of ticks and clicks arrives. Each walk ends on the finish page with its text,
// and Finish writes the files; a lever inside its bounds is never refused.
TEST(Walks, WithBoxesClicksAndUnplugsAlwaysEndOnTheFinishPageAndWriteTheFiles) {
  testsupport::ScratchDir dir("walks");
  ASSERT_TRUE(testsupport::MakeDirs(dir / "controller"));
  ASSERT_TRUE(testsupport::WriteTextFile(dir / "controller\\ModernController.lcm", "BYTE1,RANGE,REV\n"));
  const std::string outOfBounds = std::string(EnglishDefault(TextKey::OutOfBounds)) + "\r\n";
  int refusals = 0, questions = 0, notDetected = 0;
  for (unsigned seed = 1; seed <= 120; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto chance = [&](unsigned percent) { return random() % 100 < percent; };
    FakeSystem system;
    FakeCab cab;
    cab.AttachOne(4);
    Wizard wizard(dir.path(), system, cab);
    wizard.Start();
    const WizardScreen& s = wizard.Screen();

    bool heldInBounds = true;  // every reading of the present sampling
    bool unplugged = false;
    int unplugs = 0;
    bool nested = false;
    system.onMessage = [&] {
      const std::string text = system.messages.back().text;
      EXPECT_FALSE(heldInBounds && text == outOfBounds) << "a lever inside its bounds was refused";
      refusals += text == outOfBounds;
      questions += system.messages.back().buttons == vcl::Buttons::YesNo;
      notDetected += text == EnglishDefault(TextKey::UnitNotDetected);
      EXPECT_FALSE(nested) << "a box under a box: " << text;
      nested = true;
      const Seen before = Seen::Of(wizard, system);
      for (int n = static_cast<int>(random() % 30); n > 0; --n) {
        switch (random() % 5) {
          case 0: wizard.OnSamplingTick(); break;
          case 1: wizard.OnBlinkTick(); break;
          case 2: wizard.OnCalibrate(); break;
          case 3: wizard.OnNext(); break;
          default: wizard.OnBack(); break;
        }
      }
      EXPECT_TRUE(Seen::Of(wizard, system) == before) << "something ran under the box " << text;
      nested = false;
      if (unplugged) {
        cab.fail = false;
        cab.AttachOne(4);
        unplugged = false;
      }
      // Yes to "incomplete": the user goes on calibrating the section.
      system.answers = {system.messages.back().buttons == vcl::Buttons::YesNo ? vcl::Answer::Yes : vcl::Answer::Ok};
    };

    for (int step = 0; step < 20000 && s.page != kFinishPage; ++step) {
      if (s.sampling) {
        if (unplugs < 2 && chance(1)) {
          ++unplugs;
          unplugged = true;
          cab.fail = true;
          cab.entries.clear();
        }
        wizard.OnSamplingTick();
      } else if (s.page == kWelcomePage || s.page == kOverviewPage) {
        wizard.OnNext();
      } else if (s.next.visible && s.next.enabled) {
        wizard.OnNext();
      } else if (chance(5)) {
        wizard.OnBack();
      } else {
        const int p = wizard.CurrentPosition();
        const bool good = !chance(10);
        heldInBounds = good;
        cab.Hold(CabReport(p, good ? kGoodReadings[p] : OutOfBoundsReading(p)));
        wizard.OnCalibrate();
      }
    }
    ASSERT_EQ(s.page, kFinishPage);
    EXPECT_EQ(s.pageText[kFinishPage], walktest::CompleteFinishText(wizard.Texts()));
    for (int p = 0; p < kPositionCount; ++p) {
      EXPECT_GE(wizard.GetRanges()[p].min, Position(p).lowerBound) << p;
      EXPECT_LE(wizard.GetRanges()[p].max, UpperBound(p, true)) << p;
    }
    DeleteFileA((dir / "controller\\ModernCalibration.lcm").c_str());
    wizard.OnNext();  // Finish
    EXPECT_EQ(testsupport::ReadFileOr(dir / "controller\\ModernCalibration.lcm"),
              CalibrationFileText(wizard.GetLeverNames(), wizard.GetRanges()));
    EXPECT_EQ((system.profiles[{dir / "Lococab.def", "", "00D2Calibrated"}]), "1");
    if (HasFailure()) break;
  }
  // The walks went through what they are for.
  EXPECT_GT(refusals, 100);
  EXPECT_GT(questions, 50);
  EXPECT_GT(notDetected, 50);
}

}  // namespace
