#include "ui/setup_wizard/desktop_wizard.h"

bool DesktopWizard::Start() {
  if (open_) return true;
  layout_ = WizardLayout::Default;
  typed_.reset();
  page_ = WizardPage::Start;
  open_ = windows_.ShowPage(page_);
  if (!open_) windows_.ShowFailure();
  return open_;
}

UserDetails DesktopWizard::DetailsToShow() {
  if (!typed_) typed_ = device_.ReadUserDetails();
  return *typed_;
}

void DesktopWizard::Go(WizardPage page) {
  page_ = page;
  if (windows_.ShowPage(page)) return;
  open_ = false;
  windows_.ShowFailure();
}

void DesktopWizard::End() {
  open_ = false;
  windows_.ClosePage();
}

void DesktopWizard::WriteBlankLayout() {
  device_.WriteScript({});
  device_.RegenerateScript();
  // Without a build the device would go on running the script that opened this wizard.
  device_.RebuildDevice();
}

void DesktopWizard::Next(WizardLayout chosen) {
  if (!open_ || page_ != WizardPage::Start) return;
  layout_ = chosen;
  Go(chosen == WizardLayout::Default ? WizardPage::UserData : WizardPage::Finish);
}

void DesktopWizard::Cancel() {
  if (!open_ || page_ != WizardPage::Start) return;
  WriteBlankLayout();
  End();
}

void DesktopWizard::Next(const UserDetails& typed) {
  if (!open_ || page_ != WizardPage::UserData) return;
  typed_ = typed;
  device_.WriteUserDetails(typed);
  Go(WizardPage::Finish);
}

void DesktopWizard::Back() {
  if (!open_) return;
  if (page_ == WizardPage::UserData)
    Go(WizardPage::Start);
  else if (page_ == WizardPage::Finish)
    Go(layout_ == WizardLayout::Default ? WizardPage::UserData : WizardPage::Start);
}

void DesktopWizard::Finish(bool playDemo) {
  if (!open_ || page_ != WizardPage::Finish) return;
  End();
  if (layout_ == WizardLayout::Default) {
    // The texts as typed: the machine may have refused to keep them.
    device_.WriteScript(StarterScriptFile(DetailsToShow()));
    device_.RegenerateScript();
    device_.RebuildAllDevices();
  } else {
    WriteBlankLayout();
  }
  if (playDemo) device_.PlayDemo();
}
