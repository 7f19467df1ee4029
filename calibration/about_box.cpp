// The about box.
#include "calibration/about_box.h"

#include "calibration/resource_ids.h"
#include "calibration/wizard.h"

namespace cal {

namespace {
constexpr const char* kMakerPage = "https://www.kestrion.example/";
}

AboutBox::AboutBox(vcl::System& system, HWND owner)
    : vcl::Form(system, {"TAboutBox", "About", 330, 210, true}, owner) {
  picture_ = vcl::Bitmap::FromJpegResource(GetModuleHandleA(nullptr), IDR_ABOUT_PICTURE);
  vcl::Page& panel = AddPage(0, {0, 0, 330, 160});
  panel.SetVisible(true);
  panel.AddPicture(picture_.get(), 12, 12);
  AddLabel(panel.Handle(), {90, 14, 230, 16}, kApplicationTitle, vcl::Label::Sizing::Fixed, false, BoldFont());
  version_ = &AddLabel(panel.Handle(), {90, 36, 0, 0}, kVersionText, vcl::Label::Sizing::AutoSize, true);
  notice_ = &AddLabel(panel.Handle(), {90, 58, 0, 0}, "Copyright (C) Kestrion. All rights reserved.",
                      vcl::Label::Sizing::AutoSize, true);
  AddLabel(panel.Handle(), {90, 84, 230, 32}, "Kestrion Controls\r\nUnit 4, Mill Lane", vcl::Label::Sizing::Fixed);
  link_ = &AddLabel(panel.Handle(), {90, 124, 0, 0}, kMakerPage, vcl::Label::Sizing::AutoSize, true);
  ok_ = &AddButton(Handle(), {125, 170, 80, 26}, "OK");
  SetWindowLongPtrA(ok_->Handle(), GWL_STYLE, GetWindowLongPtrA(ok_->Handle(), GWL_STYLE) | BS_DEFPUSHBUTTON);
  ok_->onClick = [this](vcl::Button&) { SetModalResult(IDOK); };
  version_->onClick = [this] {
    if (onVersionClick) onVersionClick();
  };
  notice_->onClick = [this] {
    if (onNoticeClick) onNoticeClick();
  };
  link_->onClick = [this] { GetSystem().ShellOpen(kMakerPage); };
}

LRESULT AboutBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // Enter presses OK wherever the focus is.
  if (msg == DM_GETDEFID) return MAKELONG(ok_->Id(), DC_HASDEFID);
  return vcl::Form::HandleMessage(msg, wp, lp);
}

}  // namespace cal
