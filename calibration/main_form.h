// The wizard's main window ("TForm1"): the eight pages with their pictures, labels and
// outlines, the buttons, the lists, the status bar, the menu and the two timers. It turns
// messages into wizard calls and copies the wizard's screen into its controls.
#pragma once
#include <array>
#include <memory>
#include <vector>

#include "calibration/about_box.h"
#include "calibration/vcl/form.h"
#include "calibration/wizard.h"

namespace cal {

constexpr int kSamplingTimer = 1;
constexpr int kBlinkTimer = 2;

class MainForm : public vcl::Form {
 public:
  MainForm(vcl::System& system, Wizard& wizard, unsigned samplingMs = 20, unsigned blinkMs = 100);
  ~MainForm() override;

  // Copies the wizard's screen into the controls.
  void Refresh();

  vcl::Button& BackButton() { return *back_; }
  vcl::Button& NextButton() { return *next_; }
  vcl::Button& CalibrateButton() { return *calibrate_; }
  vcl::Label& Guidance() { return *guidance_; }
  vcl::Label& PageText(int page) { return *pageText_[page]; }
  vcl::Label& Welcome() { return *welcome_; }
  vcl::Page& GetPage(int page) { return *pages_[page]; }
  AboutBox& About() { return *about_; }
  vcl::StatusBar& Status() { return *status_; }
  vcl::ListBox& Diagnostics() { return *diagnostics_; }
  vcl::ListBox& DeviceList() { return *devices_; }
  vcl::MenuItem& LanguageItem(int tag);
  vcl::MenuItem& ContentsItem() { return *contents_; }
  vcl::MenuItem& AboutItem() { return *aboutItem_; }
  // The outline of a position (0 to 19) and the label it surrounds.
  vcl::Shape& Outline(int position) { return *outlines_[position]; }
  vcl::Label& PositionLabel(int position) { return *positionLabels_[position]; }
  vcl::Shape& SectionOutline(int page) { return *sectionOutlines_[page]; }
  vcl::Picture& Marker(int index) { return *markers_[index]; }

 protected:
  bool CanClose() override { return wizard_.CanClose(); }
  void OnTimer(int id) override;

 private:
  void Build();
  // Runs a wizard action, then shows its outcome. Under a box of an unfinished one (its own
  // message loop) the wizard drops it, and the window stays as that box shows it.
  template <typename F>
  void Act(F&& action) {
    if (wizard_.Handling()) return;
    action();
    Refresh();
  }
  void ApplyStaticTexts();
  void ApplyButton(vcl::Button& button, const ButtonView& view, bool locked);

  Wizard& wizard_;
  unsigned samplingMs_, blinkMs_;
  std::vector<std::unique_ptr<vcl::Bitmap>> bitmaps_;
  std::array<vcl::Page*, kPageCount + 1> pages_{};
  std::array<vcl::Label*, kPageCount + 1> titles_{};
  std::array<vcl::Label*, kPageCount + 1> pageText_{};
  std::array<vcl::Shape*, kUserPositionCount> outlines_{};
  std::array<vcl::Label*, kUserPositionCount> positionLabels_{};
  std::array<vcl::Label*, kUserPositionCount> arrows_{};
  std::array<vcl::Shape*, kPageCount + 1> sectionOutlines_{};
  std::array<vcl::Picture*, 3> markers_{};
  std::vector<std::pair<vcl::Label*, TextKey>> switchTitles_;
  vcl::Label* welcome_ = nullptr;
  vcl::Label* guidance_ = nullptr;
  vcl::Label* hint_ = nullptr;
  vcl::Button* back_ = nullptr;
  vcl::Button* next_ = nullptr;
  vcl::Button* calibrate_ = nullptr;
  vcl::ListBox* diagnostics_ = nullptr;
  vcl::ListBox* devices_ = nullptr;
  vcl::StatusBar* status_ = nullptr;
  vcl::MenuItem* helpMenu_ = nullptr;
  vcl::MenuItem* contents_ = nullptr;
  vcl::MenuItem* aboutItem_ = nullptr;
  vcl::MenuItem* languageMenu_ = nullptr;
  std::array<vcl::MenuItem*, 3> languages_{};  // English, French, German
  std::unique_ptr<AboutBox> about_;

  int shownPage_ = 0;
  unsigned textsSerial_ = 0;
  unsigned focusSerial_ = 0;
  unsigned closeSerial_ = 0;
  bool busy_ = false;
};

}  // namespace cal
