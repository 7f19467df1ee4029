// The about box (Help, About): product, version and notice; clicking the version or the notice
// works the hidden switches of the main window.
#pragma once
#include <functional>
#include <memory>

#include "calibration/vcl/form.h"

namespace cal {

class AboutBox : public vcl::Form {
 public:
  AboutBox(vcl::System& system, HWND owner);
  std::function<void()> onVersionClick;
  std::function<void()> onNoticeClick;
  vcl::Label& VersionLabel() { return *version_; }
  vcl::Label& NoticeLabel() { return *notice_; }
  vcl::Label& LinkLabel() { return *link_; }
  vcl::Button& OkButton() { return *ok_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::unique_ptr<vcl::Bitmap> picture_;
  vcl::Label* version_;
  vcl::Label* notice_;
  vcl::Label* link_;
  vcl::Button* ok_;
};

}  // namespace cal
