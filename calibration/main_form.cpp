// The wizard's main window: layout and the copy of the wizard's screen into the controls.
#include "calibration/main_form.h"

#include "calibration/resource_ids.h"
#include "calibration/vcl/application.h"

namespace cal {

namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 540;
constexpr vcl::Bounds kPageBounds{0, 30, 640, 378};
constexpr int kButtonTop = 418;

// Where each position's label sits on its section page.
struct LabelPlace {
  int position;
  int left, top;
  bool arrow;  // a bail-off label with its arrow beside it
};
constexpr LabelPlace kLabelPlaces[kUserPositionCount] = {
    {0, 80, 270, false},  {1, 80, 200, false},  {2, 80, 130, false},  {3, 80, 285, false},
    {4, 80, 230, false},  {5, 80, 120, false},  {6, 80, 175, false},  {7, 80, 130, false},
    {8, 80, 200, false},  {9, 80, 270, false},  {10, 80, 120, false}, {11, 80, 175, true},
    {12, 80, 230, false}, {13, 80, 285, true},  {14, 40, 108, false}, {15, 175, 108, false},
    {16, 310, 108, false}, {17, 40, 180, false}, {18, 175, 180, false}, {19, 310, 180, false},
};
constexpr const char* kArrowText = "==>";

// The sections on the controller picture of page 2.
constexpr int kOverviewLeft = 140, kOverviewTop = 70;
constexpr vcl::Bounds kSectionPlaces[5] = {
    {kOverviewLeft + 14, kOverviewTop + 28, 72, 172}, {kOverviewLeft + 89, kOverviewTop + 28, 72, 172},
    {kOverviewLeft + 164, kOverviewTop + 28, 72, 172}, {kOverviewLeft + 239, kOverviewTop + 28, 72, 172},
    {kOverviewLeft + 306, kOverviewTop + 36, 52, 148},
};

constexpr int kSectionPictures[5] = {IDR_REVERSER_PICTURE, IDR_THROTTLE_PICTURE,
                                     IDR_AUTO_BRAKE_PICTURE, IDR_INDEPENDENT_PICTURE,
                                     IDR_ROTARY_PICTURE};

}  // namespace

MainForm::MainForm(vcl::System& system, Wizard& wizard, unsigned samplingMs, unsigned blinkMs)
    : vcl::Form(system, {"TForm1", kApplicationTitle, kClientWidth, kClientHeight}),
      wizard_(wizard), samplingMs_(samplingMs), blinkMs_(blinkMs) {
  Build();
  about_ = std::make_unique<AboutBox>(system, Handle());
  about_->onVersionClick = [this] { Act([this] { wizard_.OnVersionClick(); }); };
  about_->onNoticeClick = [this] { Act([this] { wizard_.OnNoticeClick(); }); };
  wizard_.SetRefresh([this] { Refresh(); });
}

MainForm::~MainForm() { wizard_.SetRefresh(nullptr); }

vcl::MenuItem& MainForm::LanguageItem(int tag) {
  return *languages_[tag == kEnglish ? 0 : tag == kFrench ? 1 : 2];
}

void MainForm::Build() {
  HINSTANCE module = GetModuleHandleA(nullptr);
  auto picture = [&](int id) {
    bitmaps_.push_back(vcl::Bitmap::FromJpegResource(module, id));
    return bitmaps_.back().get();
  };
  const vcl::Bitmap* controller = picture(IDR_CONTROLLER_PICTURE);

  guidance_ = &AddLabel(Handle(), {16, 8, 608, 18}, "");
  guidance_->SetVisible(false);

  for (int page = kWelcomePage; page <= kFinishPage; ++page) {
    pages_[page] = &AddPage(page, kPageBounds);
    pages_[page]->SetVisible(false);
  }
  // Page 1: welcome.
  pages_[kWelcomePage]->AddPicture(controller, 268, 60);
  welcome_ = &AddLabel(pages_[kWelcomePage]->Handle(), {16, 24, 240, 330}, "");
  // Page 2: the controller with one outline per section.
  pages_[kOverviewPage]->AddPicture(controller, kOverviewLeft, kOverviewTop);
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page)
    sectionOutlines_[page] = &pages_[kOverviewPage]->AddShape(kSectionPlaces[page - kFirstSectionPage], page);
  // Section pages: title, instruction, picture, position labels with their outlines.
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page) {
    vcl::Page& p = *pages_[page];
    const bool rotary = page == kRotarySectionPage;
    p.AddPicture(picture(kSectionPictures[page - kFirstSectionPage]), rotary ? 480 : 440, rotary ? 70 : 100);
    titles_[page] = &AddLabel(p.Handle(), {20, 8, 0, 0}, "", vcl::Label::Sizing::AutoSize, false, TitleFont());
    pageText_[page] = &AddLabel(p.Handle(), {20, 40, 600, 44}, "");
  }
  for (const LabelPlace& place : kLabelPlaces) {
    vcl::Page& p = *pages_[Position(place.position).page];
    vcl::Label& label = AddLabel(p.Handle(), {place.left, place.top, 0, 0}, "", vcl::Label::Sizing::AutoSize);
    positionLabels_[place.position] = &label;
    if (place.arrow)
      arrows_[place.position] = &AddLabel(p.Handle(), {place.left, place.top, 0, 0}, kArrowText,
                                          vcl::Label::Sizing::AutoSize);
    outlines_[place.position] = &p.AddShape({place.left - 8, place.top - 6, 0, 0}, place.position);
  }
  switchTitles_.emplace_back(&AddLabel(pages_[kRotarySectionPage]->Handle(), {30, 84, 0, 0}, "",
                                       vcl::Label::Sizing::AutoSize, false, BoldFont()), TextKey::RotarySwitch1);
  switchTitles_.emplace_back(&AddLabel(pages_[kRotarySectionPage]->Handle(), {30, 156, 0, 0}, "",
                                       vcl::Label::Sizing::AutoSize, false, BoldFont()), TextKey::RotarySwitch2);
  const vcl::Bitmap* knobFull = picture(IDR_KNOB_FULL_PICTURE);
  const vcl::Bitmap* knobOff = picture(IDR_KNOB_OFF_PICTURE);
  markers_[0] = &pages_[kRotarySectionPage]->AddPicture(knobFull, 499, 85, false);
  markers_[1] = &pages_[kRotarySectionPage]->AddPicture(knobOff, 500, 85, false);
  markers_[2] = &pages_[kRotarySectionPage]->AddPicture(knobOff, 500, 151, false);
  // Page 8: the outcome.
  pageText_[kFinishPage] = &AddLabel(pages_[kFinishPage]->Handle(), {20, 20, 600, 340}, "");

  diagnostics_ = &AddListBox(Handle(), {8, 414, 272, 100});
  devices_ = &AddListBox(Handle(), {288, 456, 336, 40});
  hint_ = &AddLabel(Handle(), {288, 500, 336, 16}, "");
  hint_->SetVisible(false);
  calibrate_ = &AddButton(Handle(), {kCalibrateLeft, kButtonTop, 110, 28}, "");
  back_ = &AddButton(Handle(), {408, kButtonTop, 100, 28}, "", 0);
  next_ = &AddButton(Handle(), {516, kButtonTop, 100, 28}, "", 1);
  status_ = &AddStatusBar();
  auto onButton = [this](vcl::Button& button) { Act([&] { wizard_.OnButton(button.Tag()); }); };
  back_->onClick = onButton;
  next_->onClick = onButton;
  calibrate_->onClick = [this](vcl::Button&) { Act([this] { wizard_.OnCalibrate(); }); };

  vcl::MainMenu& menu = Menu();
  languageMenu_ = &menu.AddMenu("&Language");
  languages_[0] = &menu.AddItem(*languageMenu_, "&English", kEnglishItem);
  languages_[1] = &menu.AddItem(*languageMenu_, "&French", kFrenchItem, false);
  languages_[2] = &menu.AddItem(*languageMenu_, "&German", kGermanItem);
  for (vcl::MenuItem* item : languages_)
    item->onClick = [this](vcl::MenuItem& chosen) { Act([&] { wizard_.OnLanguage(chosen.Tag()); }); };
  helpMenu_ = &menu.AddMenu("&Help");
  contents_ = &menu.AddItem(*helpMenu_, "&Contents");
  aboutItem_ = &menu.AddItem(*helpMenu_, "&About");
  contents_->onClick = [this](vcl::MenuItem&) { Act([this] { wizard_.OnHelpContents(); }); };
  aboutItem_->onClick = [this](vcl::MenuItem&) {
    if (!wizard_.Handling()) about_->ShowModal();
  };
}

void MainForm::ApplyStaticTexts() {
  const LanguageTexts& t = wizard_.Texts();
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page)
    titles_[page]->SetCaption(t[Section(page).leverKey]);
  for (auto& [label, key] : switchTitles_) label->SetCaption(t[key]);
  // Outlines follow their labels, which change size with the language.
  for (int p = 0; p < kUserPositionCount; ++p) {
    vcl::Label& label = *positionLabels_[p];
    label.SetCaption(t[Position(p).labelKey]);
    const vcl::Bounds& b = label.GetBounds();
    Span span = OutlineAroundLabel(b.left, b.width);
    if (vcl::Label* arrow = arrows_[p]) {
      arrow->SetPosition(ArrowLeft(b.left, b.width), b.top);
      span = OutlineAroundBailOff(b.left, b.width, arrow->GetBounds().width);
    }
    // The height is the label's own plus room for the pen.
    outlines_[p]->SetBounds({span.left, b.top - 6, span.width, b.height + 12});
  }
  languageMenu_->SetCaption(t[TextKey::LanguageMenu]);
  languages_[0]->SetCaption(t[TextKey::EnglishItem]);
  languages_[1]->SetCaption(t[TextKey::FrenchItem]);
  languages_[2]->SetCaption(t[TextKey::GermanItem]);
  helpMenu_->SetCaption(t[TextKey::HelpMenu]);
  contents_->SetCaption(t[TextKey::ContentsItem]);
  aboutItem_->SetCaption(t[TextKey::AboutItem]);
  hint_->SetCaption(t[TextKey::DiagnosticsHint]);
}

void MainForm::ApplyButton(vcl::Button& button, const ButtonView& view, bool locked) {
  button.SetCaption(view.caption);
  button.SetEnabled(view.enabled && !locked);
  button.SetVisible(view.visible);
}

void MainForm::Refresh() {
  if (!IsWindow(Handle())) return;
  const WizardScreen& s = wizard_.Screen();
  if (textsSerial_ != s.textsSerial) {
    textsSerial_ = s.textsSerial;
    ApplyStaticTexts();
  }
  if (shownPage_ != s.page) {
    if (shownPage_ >= kWelcomePage && shownPage_ <= kFinishPage) pages_[shownPage_]->SetVisible(false);
    shownPage_ = s.page;
    pages_[shownPage_]->SetVisible(true);
  }
  // While a position is sampled the page cannot change.
  ApplyButton(*back_, s.back, s.sampling);
  ApplyButton(*next_, s.next, s.sampling);
  ApplyButton(*calibrate_, s.calibrate, false);
  calibrate_->SetLeft(s.calibrateLeft);
  welcome_->SetCaption(s.welcome);
  guidance_->SetCaption(s.guidance);
  guidance_->SetVisible(s.guidanceVisible);
  for (int page = kFirstSectionPage; page <= kFinishPage; ++page) pageText_[page]->SetCaption(s.pageText[page]);
  for (int p = 0; p < kUserPositionCount; ++p) {
    outlines_[p]->SetVisible(s.outlines[p].visible);
    outlines_[p]->SetSolid(s.outlines[p].solid);
  }
  for (int page = kFirstSectionPage; page <= kRotarySectionPage; ++page) {
    sectionOutlines_[page]->SetVisible(s.sectionOutlines[page].visible);
    sectionOutlines_[page]->SetSolid(s.sectionOutlines[page].solid);
  }
  for (int i = 0; i < 3; ++i) {
    markers_[i]->SetPosition(s.markers[i].left, s.markers[i].top);
    markers_[i]->SetVisible(s.markers[i].visible);
  }
  devices_->SetItems(s.devices);
  devices_->SetSelection(s.deviceSelection);
  devices_->SetVisible(s.diagnosticsShown);
  diagnostics_->SetItems(s.diagnostics);
  diagnostics_->SetSelection(s.diagnosticsSelection);
  diagnostics_->SetVisible(s.diagnosticsShown);
  hint_->SetVisible(s.diagnosticsShown);
  status_->SetCaption(s.status);
  for (vcl::MenuItem* item : languages_) {
    item->SetChecked(item->Tag() == s.language);
    item->SetEnabled(!s.sampling);
  }
  if (busy_ != s.busy) {
    busy_ = s.busy;
    vcl::Application::SetBusy(s.busy);
  }
  SetTimer(kSamplingTimer, samplingMs_, s.sampling && !s.boxShown);
  SetTimer(kBlinkTimer, blinkMs_, s.blinking && !s.boxShown);
  if (focusSerial_ != s.focusSerial) {
    focusSerial_ = s.focusSerial;
    vcl::Button* target = s.focus == Focus::Back ? back_ : s.focus == Focus::Next ? next_
                          : s.focus == Focus::Calibrate ? calibrate_ : nullptr;
    if (target) target->Focus();
  }
  if (closeSerial_ != s.closeSerial) {
    closeSerial_ = s.closeSerial;
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
  }
}

void MainForm::OnTimer(int id) {
  if (id == kSamplingTimer) Act([this] { wizard_.OnSamplingTick(); });
  else if (id == kBlinkTimer) Act([this] { wizard_.OnBlinkTick(); });
}

}  // namespace cal
