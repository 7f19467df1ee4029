#include "runtime/app/dialogs/about_dialog.h"

#include <atomic>
#include <cstdio>

#include "runtime/app/resource.h"

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

bool AboutDialog::OnInitDialog() {
  SetItemText(IDC_ABOUT_PRODUCT_ID, AboutProductIdText(productId_));
  return true;
}

void SetAboutProductId(int productId) { AboutProductId() = productId; }

INT_PTR ShowAboutDialog(HWND owner) { return AboutDialog(AboutProductId()).ShowModal(owner); }
