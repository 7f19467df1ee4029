// The calibration wizard without its window: start-up, texts and language, help, the about
// box's switches, and the walk through the controller's positions with sampling and bounds.
// The window turns user actions and timer ticks into calls here and shows Screen().
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "calibration/cab_devices.h"
#include "calibration/calibration_file.h"
#include "calibration/controller_file.h"
#include "calibration/language_texts.h"
#include "calibration/vcl/ini_file.h"
#include "calibration/vcl/system.h"
#include "calibration/wizard_screen.h"

namespace cal {

inline constexpr const char* kApplicationTitle = "Lococab Calibration Setup";
inline constexpr const char* kShortTitle = "Lococab Calibration";
inline constexpr const char* kVersionText = "Rel 1.0.2.4";

// Language menu items by tag.
constexpr int kEnglishItem = kEnglish;
constexpr int kFrenchItem = kFrench;
constexpr int kGermanItem = kGerman;

class Wizard {
 public:
  Wizard(std::string programFolder, vcl::System& system, CabDevices& devices);

  // The start-up of the main window. Throws vcl::ConvertError when the stored language is not
  // a number.
  void Start();

  const WizardScreen& Screen() const { return screen_; }
  const LanguageTexts& Texts() const { return texts_; }
  // Called before every message box, so that the window shows the state the box talks about.
  void SetRefresh(std::function<void()> refresh) { refresh_ = std::move(refresh); }

  // The buttons and the timers. Back, Next and the language menu do nothing while a position
  // is sampled, Calibrate nothing while it is disabled or hidden. None of these, nor the close
  // query, acts while another of them is unfinished (see Handling()).
  void OnBack();
  void OnNext();
  void OnButton(int tag) { tag == 0 ? OnBack() : OnNext(); }
  void OnCalibrate();
  void OnSamplingTick();
  void OnBlinkTick();

  // Language menu, help menu and the about box's hidden switches.
  void OnLanguage(int tag);
  void OnHelpContents();
  void OnVersionClick();
  void OnNoticeClick();

  // The close query: false keeps the window open.
  bool CanClose();

  const std::string& HelpFile() const { return helpFile_; }
  int Language() const { return language_; }
  bool BoundsCheckOff() const { return boundsCheckOff_; }
  const std::vector<ControllerRow>& ControllerRows() const { return rows_; }
  const LeverNames& GetLeverNames() const { return leverNames_; }
  const Ranges& GetRanges() const { return ranges_; }
  bool Done(int position) const { return done_[position] != 0; }
  int CalibratedValue() const { return calibratedValue_; }
  int CurrentPosition() const { return position_; }
  int CurrentSection() const { return section_; }
  bool DeviceReady() const { return deviceReady_; }
  bool DeviceLost() const { return deviceLost_; }
  bool Marked() const { return marked_; }
  // A handler is unfinished: a box it shows runs a message loop of its own, whose clicks and
  // timer ticks are dropped, as a user's click on the window under a box is.
  bool Handling() const { return handling_; }

 private:
  // Runs a handler unless another one is unfinished.
  template <typename F>
  void Handle(F&& handler) {
    if (handling_) return;
    handling_ = true;
    struct Done {
      bool& flag;
      ~Done() { flag = false; }
    } done{handling_};
    handler();
  }
  void ApplyLanguageTexts();
  void UpdateCaptions();
  void ChangeLanguage(int tag);
  void OpenHelp();
  bool CloseQuery();
  void Calibrate();
  void SamplingTick();
  vcl::Answer Ask(const std::string& text, const std::string& caption, vcl::Buttons buttons);
  void Tell(const std::string& text, const std::string& caption) {
    Ask(text, caption, vcl::Buttons::Ok);
  }
  bool AnyUserPositionMissing() const;
  bool SectionComplete(int page) const;
  const std::string& Lever(int page) const { return texts_[Section(page).leverKey]; }
  std::string Instruction(int position) const { return texts_[Position(position).instructionKey]; }
  void FocusOn(Focus focus) {
    screen_.focus = focus;
    ++screen_.focusSerial;
  }
  void StopSampling() {
    screen_.sampling = false;
  }
  void ClearDoneFlags() { done_.fill(0); }
  void ShowSectionOutline(int page);  // page 2: that section's outline solid, the others clear
  void DeviceSearch();
  void ReturnToWelcome();
  void EnterSection(int page);
  void FinishPosition();
  void MoveMarkers(int position);
  void ResetMarkers();
  bool AskIncomplete(int page);
  void Next();
  void Back();
  void AfterButton();
  void ArriveAtFinish();
  void Finish();

  std::string folder_;
  vcl::System& system_;
  CabDevices& devices_;
  vcl::IniFile settings_;
  std::function<void()> refresh_;
  WizardScreen screen_;
  LanguageTexts texts_;
  int language_ = kEnglish;
  std::string helpFile_;

  std::vector<ControllerRow> rows_;
  LeverNames leverNames_;
  Ranges ranges_ = InitialRanges();
  std::array<std::uint8_t, kPositionCount> done_{};

  // Wizard state.
  int section_ = kFirstSectionPage;  // the section page to do next
  bool recalibrate_ = false;         // Calibrate restarts the completed section
  bool finishArmed_ = false;         // Next is the Finish button
  bool deviceLost_ = false;
  bool incomplete_ = false;
  int calibratedValue_ = 0;
  bool finishing_ = false;
  bool boundsCheckOff_ = false;
  bool lastClickWasNext_ = false;
  bool deviceReady_ = false;
  bool autoAdvance_ = false;
  int position_ = 0;
  int first_ = 0;
  int last_ = 0;
  int ticks_ = 0;
  int failures_ = 0;
  bool readThisTime_ = false;  // a good report arrived while the position was sampled
  int runMin_ = 500, runMax_ = 0;
  int companionMin_ = 500, companionMax_ = 0;
  bool marked_ = false;  // report byte 14 was 0xD2 in the last good report
  bool handling_ = false;
  std::vector<int> productIds_;
  std::vector<int> handles_;
  int selected_ = -1;
};

}  // namespace cal
