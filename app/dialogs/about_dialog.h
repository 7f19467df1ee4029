#pragma once
// The About box (dialog IDD_ABOUT): the program's version and the product id of the device
// whose programming window opened it.

#include <windows.h>

#include <string>

#include "platform/wingui/dialog.h"

// The product id as the box shows it: "0" and the id in upper-case hex.
std::string AboutProductIdText(int productId);

class AboutDialog : public wingui::Dialog {
 public:
  explicit AboutDialog(int productId);

 protected:
  bool HandleMessage(wingui::Message& m) override { return AboutDlgProc(m); }

 private:
  // The box's messages: the product id shown as it opens; OK and Cancel end it.
  bool AboutDlgProc(wingui::Message& m);

  int productId_;
};

// The product id the next About box shows.
void SetAboutProductId(int productId);
// The modal About box for the product id last set; IDOK or IDCANCEL.
INT_PTR ShowAboutDialog(HWND owner);
