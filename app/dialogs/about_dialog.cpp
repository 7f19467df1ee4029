#include "app/dialogs/about_dialog.h"

#include <atomic>
#include <cstdio>

#include "app/resource.h"

namespace {

std::atomic<int>& AboutProductId() {
  static std::atomic<int> productId{0};
  return productId;
}

}  // namespace

std::string AboutProductIdText(int productId) {
  char text[16];
  std::snprintf(text, sizeof text, "0%X", static_cast<unsigned>(productId));
  return text;
}

AboutDialog::AboutDialog(int productId) : wingui::Dialog(IDD_ABOUT), productId_(productId) {}

bool AboutDialog::AboutDlgProc(wingui::Message& m) {
  if (m.id == WM_INITDIALOG) SetItemText(IDC_ABOUT_PRODUCT_ID, AboutProductIdText(productId_));
  return wingui::Dialog::HandleMessage(m);
}

void SetAboutProductId(int productId) { AboutProductId() = productId; }

INT_PTR ShowAboutDialog(HWND owner) { return AboutDialog(AboutProductId()).ShowModal(owner); }
