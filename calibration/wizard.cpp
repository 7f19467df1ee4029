// The calibration wizard's decisions.
#include "calibration/wizard.h"

#include "calibration/settings_file.h"
#include "calibration/vcl/str.h"

namespace cal {

namespace {
constexpr const char* kHelpFile = "\\LCcalibration.hlp";
constexpr const char* kGermanHelpFile = "\\LCcalibration_ger.hlp";
}  // namespace

Wizard::Wizard(std::string programFolder, vcl::System& system, CabDevices& devices)
    : folder_(std::move(programFolder)), system_(system), devices_(devices),
      settings_(system, folder_ + "\\" + kSettingsFileName) {}

vcl::Answer Wizard::Ask(const std::string& text, const std::string& caption, vcl::Buttons buttons) {
  if (refresh_) refresh_();
  return system_.ShowMessage(text, caption, buttons);
}

void Wizard::Start() {
  helpFile_ = folder_ + kHelpFile;
  language_ = InitLanguage(settings_, system_);
  if (language_ == kGerman) helpFile_ = folder_ + kGermanHelpFile;
  screen_.language = language_ == kGerman ? kGerman : language_ == kFrench ? kFrench : kEnglish;
  texts_.SetDefaults();
  if (!LoadLanguageFile(vcl::IniFile(system_, folder_ + "\\" + kLanguageFileName), language_, texts_))
    Tell(std::string("LococabLCLanguage.ini ") + texts_[1006], kShortTitle);
  ApplyLanguageTexts();

  screen_.page = kWelcomePage;
  section_ = kFirstSectionPage;
  ranges_ = InitialRanges();
  for (int p = 0; p < kPositionCount; ++p) leverNames_[p] = texts_[Position(p).leverKey];
  screen_.welcome = texts_[1024] + " " + texts_[1025];
  done_.fill(0);
  screen_.back.visible = false;
  screen_.calibrate.visible = false;
  if (!ReadControllerFile(folder_ + "\\controller\\" + kControllerFileName, rows_))
    Tell(texts_[1000], kApplicationTitle);
}

void Wizard::UpdateCaptions() {
  // The captions follow the state, never the other way round, so that a change of language
  // cannot change what the buttons do.
  screen_.back.caption = texts_[1013];
  screen_.next.caption = texts_[finishArmed_ ? 1022 : 1014];
  screen_.calibrate.caption = texts_[recalibrate_ ? 1023 : 1015];
}

void Wizard::ApplyLanguageTexts() {
  UpdateCaptions();
  screen_.welcome = texts_[1024] + " " + texts_[1025];
  ++screen_.textsSerial;
}

void Wizard::OnLanguage(int tag) {
  language_ = tag;
  if (tag == kGerman) helpFile_ = folder_ + kGermanHelpFile;
  else if (tag == kEnglish) helpFile_ = folder_ + kHelpFile;
  screen_.language = tag;
  if (!LoadLanguageFile(vcl::IniFile(system_, folder_ + "\\" + kLanguageFileName), language_, texts_))
    Tell(std::string("LococabLCLanguage.ini ") + texts_[1006], kShortTitle);
  ApplyLanguageTexts();
  Tell(texts_[1097], kShortTitle);
  WritePreferredLanguage(settings_, language_);
}

void Wizard::OnHelpContents() {
  const int result = system_.ShellOpen(helpFile_);
  // 32 (a library of the viewer missing) is a failure too.
  if (result > 32) return;
  int reason;
  switch (result) {
    case 0: reason = 1020; break;
    case 2: reason = 1021; break;
    case 3: reason = 1007; break;
    case 11: reason = 1008; break;
    case 31: reason = 1009; break;
    default: reason = 1010; break;
  }
  Tell(texts_[1019] + " " + texts_[reason], kShortTitle);
}

void Wizard::OnVersionClick() {
  screen_.diagnosticsShown = !screen_.diagnosticsShown;
  screen_.calibrateLeft = screen_.diagnosticsShown ? kCalibrateLeftWithDiagnostics : kCalibrateLeft;
}

void Wizard::OnNoticeClick() {
  boundsCheckOff_ = !boundsCheckOff_;
  Tell(boundsCheckOff_ ? "Bound limits disabled, click on Copyright to enabled (default)"
                       : "Bound limits enabled (default), click on Copyright to disabled",
       kApplicationTitle);
}

bool Wizard::AnyUserPositionMissing() const {
  for (int p = 0; p < kUserPositionCount; ++p)
    if (!done_[p]) return true;
  return false;
}

bool Wizard::CanClose() {
  if (deviceLost_) return true;
  int question = 0;
  if (calibratedValue_ == 0) question = 1039;
  else if (!finishing_ && calibratedValue_ == 1) {
    // Worked out now: the flag of the finish page is only set once that page was reached.
    const bool incomplete = screen_.page == kFinishPage ? incomplete_ : AnyUserPositionMissing();
    if (incomplete) question = 1042;
    else question = screen_.page == kFinishPage ? 1044 : 1046;
  }
  if (question == 0) return true;
  if (Ask(texts_[question], kApplicationTitle, vcl::Buttons::OkCancel) == vcl::Answer::Ok) return true;
  // A cancelled Finish is no longer finishing: a later close must ask again.
  finishing_ = false;
  return false;
}

}  // namespace cal
