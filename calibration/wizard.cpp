// The calibration wizard's decisions.
#include "calibration/wizard.h"

#include <algorithm>
#include <optional>

#include "calibration/calibration_files.h"
#include "calibration/settings_file.h"
#include "calibration/vcl/str.h"

namespace cal {

namespace {
constexpr const char* kHelpFile = "\\LCcalibration.hlp";
constexpr const char* kGermanHelpFile = "\\LCcalibration_ger.hlp";
constexpr const char* kLineBreak = "\r\n";
constexpr int kTicksPerPosition = 40;  // a position finishes on the tick after the 40th
constexpr int kFailuresBeforeSearch = 20;
constexpr int kMaxDevices = 128;
constexpr int kNoReading = 500;
}  // namespace

Wizard::Wizard(std::string programFolder, vcl::System& system, CabDevices& devices)
    : folder_(std::move(programFolder)), system_(system), devices_(devices),
      settings_(system, folder_ + "\\" + kSettingsFileName) {}

vcl::Answer Wizard::Ask(const std::string& text, const std::string& caption, vcl::Buttons buttons) {
  screen_.boxShown = true;
  struct Shown {
    bool& flag;
    ~Shown() { flag = false; }
  } shown{screen_.boxShown};
  if (refresh_) refresh_();
  return system_.ShowMessage(text, caption, buttons);
}

void Wizard::Start() {
  Handle([this] {
    helpFile_ = folder_ + kHelpFile;
    language_ = InitLanguage(settings_, system_);
    if (language_ == kGerman) helpFile_ = folder_ + kGermanHelpFile;
    screen_.language = language_ == kGerman ? kGerman : language_ == kFrench ? kFrench : kEnglish;
    texts_.SetDefaults();
    if (!LoadLanguageFile(vcl::IniFile(system_, folder_ + "\\" + kLanguageFileName), language_, texts_))
      Tell(std::string("LococabLCLanguage.ini ") + texts_[TextKey::FileNotFound], kShortTitle);
    ApplyLanguageTexts();

    screen_.page = kWelcomePage;
    section_ = kFirstSectionPage;
    ranges_ = InitialRanges();
    for (int p = 0; p < kPositionCount; ++p) leverNames_[p] = texts_[Position(p).leverKey];
    screen_.welcome = texts_[TextKey::Welcome] + " " + texts_[TextKey::PlugInThenNext];
    done_.fill(0);
    screen_.back.visible = false;
    screen_.calibrate.visible = false;
    if (!ReadControllerFile(folder_ + "\\controller\\" + kControllerFileName, rows_))
      Tell(texts_[TextKey::ControllerFileNotFound], kApplicationTitle);
  });
}

void Wizard::UpdateCaptions() {
  // The captions follow the state, never the other way round, so that a change of language
  // cannot change what the buttons do.
  screen_.back.caption = texts_[TextKey::BackButton];
  screen_.next.caption = texts_[finishArmed_ ? TextKey::FinishButton : TextKey::NextButton];
  screen_.calibrate.caption = texts_[recalibrate_ ? TextKey::RecalibrateButton : TextKey::CalibrateButton];
}

void Wizard::ApplyLanguageTexts() {
  UpdateCaptions();
  screen_.welcome = texts_[TextKey::Welcome] + " " + texts_[TextKey::PlugInThenNext];
  ++screen_.textsSerial;
}

void Wizard::OnLanguage(int tag) {
  Handle([&] { ChangeLanguage(tag); });
}

void Wizard::ChangeLanguage(int tag) {
  if (screen_.sampling) return;
  language_ = tag;
  if (tag == kGerman) helpFile_ = folder_ + kGermanHelpFile;
  else if (tag == kEnglish) helpFile_ = folder_ + kHelpFile;
  screen_.language = tag;
  if (!LoadLanguageFile(vcl::IniFile(system_, folder_ + "\\" + kLanguageFileName), language_, texts_))
    Tell(std::string("LococabLCLanguage.ini ") + texts_[TextKey::FileNotFound], kShortTitle);
  ApplyLanguageTexts();
  Tell(texts_[TextKey::LanguageNote], kShortTitle);
  WritePreferredLanguage(settings_, language_);
}

void Wizard::OnHelpContents() {
  Handle([this] { OpenHelp(); });
}

void Wizard::OpenHelp() {
  const int result = system_.ShellOpen(helpFile_);
  // 32 (a library of the viewer missing) is a failure too.
  if (result > 32) return;
  TextKey reason;
  switch (result) {
    case 0: reason = TextKey::OutOfMemory; break;
    case 2: reason = TextKey::HelpFileNotFound; break;
    case 3: reason = TextKey::DirectoryNotFound; break;
    case 11: reason = TextKey::FileOrAppCorrupted; break;
    case 31: reason = TextKey::ExtensionNotRecognized; break;
    default: reason = TextKey::UnknownError; break;
  }
  Tell(texts_[TextKey::HelpNotOpened] + " " + texts_[reason], kShortTitle);
}

void Wizard::OnVersionClick() {
  Handle([this] {
    screen_.diagnosticsShown = !screen_.diagnosticsShown;
    screen_.calibrateLeft = screen_.diagnosticsShown ? kCalibrateLeftWithDiagnostics : kCalibrateLeft;
  });
}

void Wizard::OnNoticeClick() {
  Handle([this] {
    boundsCheckOff_ = !boundsCheckOff_;
    Tell(boundsCheckOff_ ? "Bound limits disabled, click on Copyright to enabled (default)"
                         : "Bound limits enabled (default), click on Copyright to disabled",
         kApplicationTitle);
  });
}

bool Wizard::AnyUserPositionMissing() const {
  for (int p = 0; p < kUserPositionCount; ++p)
    if (!done_[p]) return true;
  return false;
}

bool Wizard::CanClose() {
  // Not while a handler is unfinished: the window stays with the state it is changing.
  bool can = false;
  Handle([&] { can = CloseQuery(); });
  return can;
}

bool Wizard::CloseQuery() {
  if (deviceLost_) return true;
  std::optional<TextKey> question;
  if (calibratedValue_ == 0) question = TextKey::CloseUncalibrated;
  else if (!finishing_ && calibratedValue_ == 1) {
    // Worked out now: the flag of the finish page is only set once that page was reached.
    const bool incomplete = screen_.page == kFinishPage ? incomplete_ : AnyUserPositionMissing();
    if (incomplete) question = TextKey::CloseKeepingPrevious;
    else question = screen_.page == kFinishPage ? TextKey::CloseOnFinishPage : TextKey::CloseBeforeFinishPage;
  }
  if (!question) return true;
  if (Ask(texts_[*question], kApplicationTitle, vcl::Buttons::OkCancel) == vcl::Answer::Ok) return true;
  // A cancelled Finish is no longer finishing: a later close must ask again.
  finishing_ = false;
  return false;
}

}  // namespace cal

namespace cal {

bool Wizard::SectionComplete(int page) const {
  const SectionInfo& section = Section(page);
  for (int p = section.first; p <= section.last; ++p)
    if (!done_[p]) return false;
  return true;
}

void Wizard::ShowSectionOutline(int page) {
  for (int s = kFirstSectionPage; s <= kRotarySectionPage; ++s) screen_.sectionOutlines[s].solid = s == page;
}

void Wizard::DeviceSearch() {
  std::vector<CabEntry> entries;
  const int result = devices_.Enumerate(kCabVendorId, entries);
  if (result != 0) {
    screen_.status = "Enumeration error: " + vcl::IntToStr(result);
    return;
  }
  failures_ = 0;
  screen_.devices.clear();
  screen_.deviceSelection = -1;
  productIds_.clear();
  handles_.clear();
  selected_ = -1;
  // The enumeration has room for 25 entries and never more are looked at.
  if (entries.size() > 25) entries.resize(25);
  for (const CabEntry& e : entries) {
    if (vcl::IntToHex(static_cast<unsigned>(e.usagePage), 4) != "000C" || e.productId != kCabProductId) continue;
    if (std::find(productIds_.begin(), productIds_.end(), e.productId) != productIds_.end()) {
      // Two controllers: neither is used, and sampling cannot go on with a stale one.
      StopSampling();
      deviceReady_ = false;
      screen_.busy = false;
      Tell(texts_[TextKey::DuplicateDevices], texts_[TextKey::ErrorCaption]);
      ClearDoneFlags();
      screen_.back.visible = false;
      screen_.calibrate.visible = false;
      recalibrate_ = false;
      screen_.page = kWelcomePage;
      section_ = kFirstSectionPage;
      return;
    }
    if (static_cast<int>(productIds_.size()) >= kMaxDevices) break;
    productIds_.push_back(e.productId);
    handles_.push_back(e.handle);
  }
  for (size_t i = 0; i < productIds_.size(); ++i)
    screen_.devices.push_back("PID: " + vcl::IntToStr(productIds_[i]) + " Program ID: " + vcl::IntToStr(handles_[i]));
  deviceReady_ = !productIds_.empty();
  if (deviceReady_) {
    selected_ = static_cast<int>(productIds_.size()) - 1;
    screen_.deviceSelection = selected_;
  }
  deviceLost_ = false;
  if (!deviceReady_) {
    deviceLost_ = true;
    screen_.devices.push_back(texts_[TextKey::NoValidDevices]);
    screen_.status = texts_[TextKey::NoValidDevices];
    screen_.guidance = texts_[TextKey::NoValidDevices];
    return;
  }
  const int setUp = devices_.SetUp(handles_[selected_]);
  if (setUp != 0)
    screen_.status = "Setup interface " + vcl::IntToStr(handles_[selected_]) + " failed, error: " + vcl::IntToStr(setUp);
}

void Wizard::ReturnToWelcome() {
  Tell(texts_[TextKey::UnitNotDetected], kApplicationTitle);
  screen_.page = kWelcomePage;
  ShowSectionOutline(0);
  section_ = kFirstSectionPage;
  screen_.guidanceVisible = false;
  screen_.back.visible = false;
  screen_.next.enabled = true;
  FocusOn(Focus::Next);
}

void Wizard::EnterSection(int page) {
  screen_.page = page;
  first_ = Section(page).first;
  last_ = Section(page).last;
  position_ = first_;
  for (int p = first_; p <= last_; ++p) screen_.outlines[p].solid = false;
  screen_.outlines[position_] = {true, true};
  screen_.pageText[page] = Instruction(position_);
  screen_.calibrate.visible = true;
  if (!SectionComplete(page)) {
    recalibrate_ = false;
    screen_.calibrate.enabled = true;
    FocusOn(Focus::Calibrate);
    screen_.next.enabled = false;
    screen_.blinking = true;
  } else {
    recalibrate_ = true;
    screen_.outlines[position_].solid = false;
    screen_.next.enabled = true;
    FocusOn(Focus::Next);
  }
}

void Wizard::OnCalibrate() {
  Handle([this] { Calibrate(); });
}

void Wizard::Calibrate() {
  // A click can be posted to the button while it is disabled (sampling) or hidden.
  if (!screen_.calibrate.enabled || !screen_.calibrate.visible) return;
  if (recalibrate_) {
    runMin_ = companionMin_ = kNoReading;
    runMax_ = companionMax_ = 0;
    recalibrate_ = false;
    screen_.calibrate.enabled = true;
    position_ = first_;
    screen_.outlines[position_] = {true, true};
    screen_.pageText[screen_.page] = Instruction(position_);
    screen_.blinking = true;
    StopSampling();
  } else {
    screen_.blinking = false;
    screen_.outlines[position_].visible = true;
    runMin_ = companionMin_ = kNoReading;
    runMax_ = companionMax_ = 0;
    readThisTime_ = false;
    screen_.busy = true;
    screen_.status = texts_[TextKey::Wait];
    screen_.calibrate.enabled = false;
    if (selected_ >= 0) devices_.StartSampling(handles_[selected_]);
    screen_.sampling = true;
    ticks_ = 0;
  }
  UpdateCaptions();
}

void Wizard::OnSamplingTick() {
  Handle([this] { SamplingTick(); });
}

void Wizard::SamplingTick() {
  if (!screen_.sampling) return;
  if (deviceReady_) {
    std::vector<std::uint8_t> report;
    if (!devices_.ReadLatest(handles_[selected_], report)) {
      if (++failures_ == kFailuresBeforeSearch) {
        // No tick may arrive while a box of the search is open.
        StopSampling();
        DeviceSearch();
        if (!deviceReady_) {
          Tell(texts_[TextKey::UnitNotDetected], kApplicationTitle);
          ClearDoneFlags();
          screen_.back.visible = false;
          screen_.calibrate.visible = false;
          recalibrate_ = false;
          screen_.next.visible = true;
          screen_.next.enabled = true;
          screen_.page = kWelcomePage;
          section_ = kFirstSectionPage;
          screen_.guidanceVisible = false;
          screen_.busy = false;
          screen_.status.clear();
          screen_.blinking = false;
          deviceLost_ = true;
          UpdateCaptions();
          return;
        }
        // Found again: sampling goes on from the device's newest report.
        devices_.StartSampling(handles_[selected_]);
        screen_.sampling = true;
      }
    } else {
      auto byte = [&](int index) { return index < static_cast<int>(report.size()) ? report[index] : 0; };
      marked_ = byte(kVariantByte) == kVariantMark;
      failures_ = 0;
      const int v = byte(Position(position_).reportByte);
      if (v > runMax_) runMax_ = ranges_[position_].max = v;
      if (v < runMin_) runMin_ = ranges_[position_].min = v;
      if (const std::optional<int> companion = CompanionOf(position_)) {
        const int c = byte(Position(*companion).reportByte);
        if (c > companionMax_) companionMax_ = ranges_[*companion].max = c;
        if (c < companionMin_) companionMin_ = ranges_[*companion].min = c;
      }
      done_[position_] = 1;
      readThisTime_ = true;
    }
  }
  if (ticks_ > kTicksPerPosition && !deviceLost_) FinishPosition();
  ++ticks_;
  if (autoAdvance_) {
    // Once, and only as a click on the button as it stands.
    autoAdvance_ = false;
    if (screen_.next.enabled && screen_.next.visible) Next();
  }
  UpdateCaptions();
}

void Wizard::FinishPosition() {
  StopSampling();
  const int p = position_;
  auto line = [&](const std::string& head, int q) {
    return head + " min " + vcl::IntToStr(ranges_[q].min) + " max " + vcl::IntToStr(ranges_[q].max);
  };
  const std::optional<int> companion = CompanionOf(p);
  screen_.diagnostics.push_back(line(leverNames_[p] + vcl::IntToStr(p), p));
  if (companion)
    screen_.diagnostics.push_back(line(*companion == kBailOffReleased ? "BO off DOWN" : "BO off UP", *companion));
  screen_.diagnosticsSelection = static_cast<int>(screen_.diagnostics.size()) - 1;

  auto outside = [&](int q) {
    return ranges_[q].min < Position(q).lowerBound || ranges_[q].max > UpperBound(q, marked_);
  };
  // A position that was never read has no range to pass with, and the box says so: its
  // ranges are those of an earlier sampling.
  bool failed = !readThisTime_ || (!boundsCheckOff_ && outside(p));
  std::string message =
      readThisTime_ ? texts_[TextKey::OutOfBounds] + kLineBreak : texts_[TextKey::UnitNotRead];
  if (readThisTime_ && companion && outside(*companion)) {
    failed = true;
    message += texts_[TextKey::HoldBailOff];
  }
  if (failed && deviceReady_) Tell(message, kApplicationTitle);

  if (failed) {
    screen_.blinking = true;
    done_[p] = 0;
    autoAdvance_ = false;
  } else {
    screen_.outlines[p].visible = false;
    if (p != last_) {
      position_ = p + 1;
      screen_.outlines[position_] = {true, true};
      screen_.pageText[screen_.page] = Instruction(position_);
      screen_.blinking = true;
      autoAdvance_ = false;
      if (screen_.page == kRotarySectionPage) MoveMarkers(position_);
    } else {
      screen_.pageText[screen_.page] =
          texts_[TextKey::CalibrationOf] + " " + Lever(screen_.page) + texts_[TextKey::CalibrationCompleted];
      recalibrate_ = true;
      screen_.blinking = false;
      screen_.next.enabled = true;
      screen_.next.visible = true;
      FocusOn(Focus::Next);
      autoAdvance_ = true;
    }
  }
  screen_.calibrate.enabled = true;
  screen_.calibrate.visible = true;
  FocusOn(Focus::Calibrate);
  screen_.busy = false;
  screen_.status = texts_[TextKey::Done];
}

void Wizard::MoveMarkers(int position) {
  auto& m = screen_.markers;
  switch (position) {
    case 15:
      m[0].visible = m[1].visible = false;
      break;
    case 16:
      m[1].visible = false;
      m[0] = {true, 499, 85};
      break;
    case 17:
      m[0].visible = false;
      m[1].visible = true;
      m[2] = {true, 500, 151};
      break;
    case 18:
      m[2].visible = m[0].visible = false;
      break;
    case 19:
      m[0] = {true, 499, 151};
      break;
  }
}

void Wizard::ResetMarkers() {
  auto& m = screen_.markers;
  m[0].visible = false;
  m[1].left = 500;
  m[1].top = 85;
  m[2] = {true, 500, 151};
}

void Wizard::OnBlinkTick() {
  Handle([this] {
    if (!screen_.blinking) return;
    OutlineView& outline = screen_.outlines[position_];
    outline.visible = !outline.visible;
  });
}

bool Wizard::AskIncomplete(int page) {
  const std::string text =
      texts_[TextKey::CalibrationOf] + " " + Lever(page) + " " + texts_[TextKey::ContinueIncomplete];
  return Ask(text, kApplicationTitle, vcl::Buttons::YesNo) == vcl::Answer::Yes;
}

void Wizard::OnNext() {
  Handle([this] {
    if (screen_.sampling) return;
    Next();
    UpdateCaptions();
  });
}

void Wizard::OnBack() {
  Handle([this] {
    if (screen_.sampling) return;
    Back();
    UpdateCaptions();
  });
}

void Wizard::Next() {
  screen_.blinking = false;
  screen_.status.clear();
  const int page = screen_.page;
  if (page == kWelcomePage) {
    screen_.page = kOverviewPage;
    DeviceSearch();
    // Without a device there is no entry to read the flag for.
    calibratedValue_ = deviceReady_ ? ReadCalibratedFlag(settings_, productIds_[selected_]) : 0;
    ShowSectionOutline(section_);
    screen_.guidanceVisible = true;
    screen_.guidance = texts_[TextKey::NextToCalibrate] + " " + Lever(section_);
    screen_.calibrate.visible = false;
    screen_.next.enabled = screen_.next.visible = true;
    FocusOn(Focus::Next);
    if (!deviceReady_) ReturnToWelcome();
  } else if (page == kOverviewPage && section_ < kRotarySectionPage) {
    if (!lastClickWasNext_) ++section_;
    EnterSection(section_);
    screen_.guidanceVisible = false;
  } else if (page == kOverviewPage) {
    if (lastClickWasNext_) {
      EnterSection(kRotarySectionPage);
    } else {
      screen_.page = kFinishPage;
      ShowSectionOutline(0);
      screen_.calibrate.visible = false;
    }
    screen_.guidanceVisible = false;
  } else if (page >= kFirstSectionPage && page < kRotarySectionPage) {
    if (!SectionComplete(page) && AskIncomplete(page)) {
      screen_.next.enabled = false;
      screen_.blinking = true;
    } else {
      screen_.page = kOverviewPage;
      if (!deviceReady_) {
        ReturnToWelcome();
      } else {
        const int previous = section_;
        section_ = page + 1;
        ShowSectionOutline(section_);
        screen_.guidance = texts_[TextKey::NextToCalibrate] + " " + Lever(section_) + " " + texts_[TextKey::Or] +
                           " " + texts_[TextKey::BackToCalibrate] + " " + Lever(previous);
        screen_.guidanceVisible = true;
        screen_.calibrate.visible = false;
        screen_.next.enabled = screen_.next.visible = true;
        FocusOn(Focus::Next);
      }
    }
  } else if (page == kRotarySectionPage) {
    if (!SectionComplete(page) && AskIncomplete(page)) {
      screen_.next.enabled = false;
      screen_.blinking = true;
    } else {
      screen_.page = kFinishPage;
      screen_.outlines[position_].solid = false;
      screen_.calibrate.visible = false;
      screen_.guidanceVisible = false;
    }
  }
  lastClickWasNext_ = true;
  AfterButton();
}

void Wizard::Back() {
  screen_.blinking = false;
  screen_.status.clear();
  const int page = screen_.page;
  if (page == kOverviewPage && (section_ > kFirstSectionPage || !lastClickWasNext_)) {
    // After a Back the current section is already the one to go back to.
    if (lastClickWasNext_) --section_;
    EnterSection(section_);
    if (SectionComplete(section_)) {
      screen_.back.visible = true;
      FocusOn(Focus::Back);
    }
    screen_.guidanceVisible = false;
  } else if (page == kFirstSectionPage || page == kOverviewPage) {
    screen_.page = kWelcomePage;
    section_ = kFirstSectionPage;
    screen_.calibrate.visible = false;
    screen_.back.visible = false;
    screen_.guidanceVisible = false;
    ShowSectionOutline(0);
    screen_.next.enabled = screen_.next.visible = true;
    FocusOn(Focus::Next);
  } else if (page == kFinishPage) {
    screen_.page = kOverviewPage;
    if (!deviceReady_) {
      ReturnToWelcome();
    } else {
      section_ = kRotarySectionPage;
      ShowSectionOutline(section_);
      screen_.guidance = texts_[TextKey::BackToCalibrate] + " " + Lever(section_);
      screen_.guidanceVisible = true;
      finishArmed_ = false;
      screen_.next.enabled = screen_.next.visible = true;
      screen_.calibrate.visible = false;
    }
  } else if (page > kFirstSectionPage && page <= kRotarySectionPage) {
    if (!SectionComplete(page) && AskIncomplete(page)) {
      screen_.blinking = true;
    } else {
      screen_.page = kOverviewPage;
      if (!deviceReady_) {
        ReturnToWelcome();
      } else {
        section_ = page - 1;
        ShowSectionOutline(section_);
        screen_.guidance = texts_[TextKey::BackToCalibrate] + " " + Lever(section_) + " " + texts_[TextKey::Or] +
                           " " + texts_[TextKey::NextToCalibrate] + " " + Lever(section_ + 1);
        screen_.guidanceVisible = true;
        screen_.calibrate.visible = false;
        screen_.next.enabled = true;
        screen_.back.enabled = screen_.back.visible = true;
        FocusOn(Focus::Back);
      }
    }
  }
  lastClickWasNext_ = false;
  AfterButton();
}

void Wizard::AfterButton() {
  if (screen_.page == kFinishPage) {
    if (!finishArmed_) ArriveAtFinish();
    else Finish();
  } else if (section_ == kRotarySectionPage) {
    ResetMarkers();
  } else {
    screen_.next.visible = true;
    finishArmed_ = false;
  }
  screen_.back.visible = screen_.page != kWelcomePage;
}

void Wizard::ArriveAtFinish() {
  finishArmed_ = true;
  screen_.calibrate.visible = false;
  incomplete_ = AnyUserPositionMissing();
  std::string text;
  if (incomplete_) {
    text = texts_[TextKey::CalibrationIncomplete] + " " + texts_[TextKey::LeversNotCalibrated] + kLineBreak +
           kLineBreak;
    const std::string* listed = nullptr;
    for (int p = 0; p < kUserPositionCount; ++p) {
      if (done_[p]) continue;
      const std::string& lever = texts_[Position(p).leverKey];
      if (listed && *listed == lever) continue;
      text += lever + kLineBreak;
      listed = &lever;
    }
    text += kLineBreak + texts_[TextKey::BackToTheLever];
  } else {
    text = texts_[TextKey::CalibrationSucceeded] + kLineBreak + kLineBreak + kLineBreak +
           texts_[TextKey::ParkTheControls] + kLineBreak + kLineBreak;
    for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page)
      text += Lever(page) + "  -  " + texts_[Position(Section(page).restPosition).labelKey] + kLineBreak;
    calibratedValue_ = 1;
    FocusOn(Focus::Next);
  }
  screen_.pageText[kFinishPage] = text;
}

void Wizard::Finish() {
  finishing_ = true;
  if (!AnyUserPositionMissing() || (calibratedValue_ != 0 && calibratedValue_ != 1)) {
    CalibrationResult result;
    result.ranges = ranges_;
    result.leverNames = leverNames_;
    result.marked = marked_;
    result.rows = rows_;
    const WriteOutcome outcome = WriteCalibrationFiles(folder_, result, system_);
    auto listed = [&](TextKey key) {
      std::string text = texts_[key] + kLineBreak + kLineBreak;
      for (const std::string& path : outcome.unwritten) text += path + kLineBreak;
      return text;
    };
    if (!outcome.calibrationWritten) {
      // Nothing holds the calibration, so it is not recorded as done; the wizard stays on its
      // finish page, where Finish can be tried again.
      finishing_ = false;
      Tell(listed(TextKey::NotSaved) + kLineBreak + texts_[TextKey::MakeWritable], kApplicationTitle);
      return;
    }
    WriteCalibratedFlag(settings_, kCabProductId, calibratedValue_, system_.ShortDate());
    if (!outcome.unwritten.empty()) Tell(listed(TextKey::SavedInPart), kApplicationTitle);
  }
  ++screen_.closeSerial;
}

}  // namespace cal
