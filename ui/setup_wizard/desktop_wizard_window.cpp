#include "ui/setup_wizard/desktop_wizard_window.h"

#include <windows.h>

#include <compare>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "platform/wingui/controls.h"
#include "platform/wingui/dialog.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/functions/shell_functions.h"
#include "ui/setup_wizard/desktop_wizard.h"
#include "ui/setup_wizard/setup_wizard_ids.h"
#include "ui/setup_wizard/user_details_registry.h"

namespace {

struct DeviceKey {
  int vendorId = 0;
  int productId = 0;
  int version = 0;
  int unitId = 0;
  auto operator<=>(const DeviceKey&) const = default;
};

DeviceKey KeyOf(const DeviceRecord& d) { return {d.vendorId, d.productId, d.version, d.unitId}; }

// The device's record in the table as it stands now; null while the device is away.
DeviceRecord* FindRecord(const DeviceKey& key) {
  for (const auto& d : GetDeviceTable())
    if (KeyOf(*d) == key) return d.get();
  return nullptr;
}

int TemplateOf(WizardPage page) {
  switch (page) {
    case WizardPage::Start:
      return IDD_WIZARD_START;
    case WizardPage::UserData:
      return IDD_WIZARD_USER_DATA;
    case WizardPage::Finish:
      return IDD_WIZARD_FINISH;
  }
  return 0;
}

std::wstring ItemTextWide(HWND dialog, int id) {
  const HWND item = GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

class DeviceWizard;

class WizardPageDialog : public wingui::Dialog {
 public:
  WizardPageDialog(WizardPage page, DeviceWizard& owner)
      : wingui::Dialog(TemplateOf(page)), page_(page), owner_(owner) {}

 protected:
  bool HandleMessage(wingui::Message& msg) override;
  bool OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  WizardPage page_;
  DeviceWizard& owner_;
};

// One device's wizard: the controller with its pages and what it does to the device.
class DeviceWizard : public WizardWindows, public WizardDevice {
 public:
  DeviceWizard(SystemCalls& calls, DeviceKey key) : calls_(calls), key_(key), wizard_(*this, *this) {}
  ~DeviceWizard() override = default;

  const DeviceKey& key() const { return key_; }
  DesktopWizard& wizard() { return wizard_; }
  // Closes the page without writing anything.
  void Abandon() {
    if (page_) ClosePage();
  }

  bool ShowPage(WizardPage page) override {
    std::unique_ptr<WizardPageDialog> old = std::move(page_);
    page_ = std::make_unique<WizardPageDialog>(page, *this);
    const bool made = page_->CreateModeless(nullptr);
    if (made) page_->Show(SW_SHOW);
    if (old) Retire(std::move(old));
    if (!made) Retire(std::move(page_));
    return made;
  }
  void ClosePage() override {
    if (page_) Retire(std::move(page_));
  }
  void ShowFailure() override {
    calls_.ShowMessageBox(nullptr, "The Qpad Desktop Setup Wizard attempted to initialize but failed!", "Error",
                          BoxButtons::Ok, BoxIcon::Warning);
  }

  UserDetails ReadUserDetails() override { return ::ReadUserDetails(calls_); }
  void WriteUserDetails(const UserDetails& details) override { ::WriteUserDetails(calls_, details); }
  void WriteScript(const std::string& bytes) override {
    const DeviceRecord* record = FindRecord(key_);
    const DeviceFolderEntry* folder =
        record ? record->folder : FindDeviceFolder(key_.vendorId, key_.productId, key_.version);
    WriteDeviceScriptFile(folder, key_.unitId, bytes.data(), bytes.size());
  }
  void RegenerateScript() override {
    DeviceRecord* record = FindRecord(key_);
    if (record) record->services->RegenerateDeviceScript(*record);
  }
  void RebuildAllDevices() override {
    DeviceRecord* record = FindRecord(key_);
    // Only into a free slot: a pending request (an on-board read waiting for its device, the
    // script loader) must not be lost. The device's own rebuild stands in for it then.
    bool queued = false;
    if (RequestCode.load() == kRequestNone) {
      RequestDevice = record ? record->hidHandle : kNoRequestDevice;
      int free = kRequestNone;
      queued = RequestCode.compare_exchange_strong(free, kRequestRebuild);
    }
    if (!queued && record) record->rebuildScript = true;
    // The thread looks at the slot and the flag when a wait ends.
    if (record) WakeDeviceThread(*record);
  }
  void RebuildDevice() override {
    if (DeviceRecord* record = FindRecord(key_)) {
      record->rebuildScript = true;
      WakeDeviceThread(*record);
    }
  }
  void PlayDemo() override { ::PlayDemo(calls_); }

 private:
  // A page goes from the screen at once; its object may still be on the stack (a page's own
  // button closes it), so it is freed later.
  void Retire(std::unique_ptr<WizardPageDialog> page);

  SystemCalls& calls_;
  DeviceKey key_;
  DesktopWizard wizard_;
  std::unique_ptr<WizardPageDialog> page_;
};

// Every wizard of the thread, and the objects that closed while one of their own messages may
// still be on its way: they are freed when no page message is (`depth` 0).
struct Wizards {
  std::map<DeviceKey, std::unique_ptr<DeviceWizard>> open;
  std::vector<std::unique_ptr<DeviceWizard>> endedWizards;
  std::vector<std::unique_ptr<WizardPageDialog>> closedPages;
  int depth = 0;

  void FreeClosed() {
    if (depth != 0) return;
    endedWizards.clear();
    closedPages.clear();
  }
  // Takes a wizard that is no longer open out of the map.
  void ForgetIfEnded(const DeviceKey& key) {
    auto it = open.find(key);
    if (it == open.end() || it->second->wizard().IsOpen()) return;
    endedWizards.push_back(std::move(it->second));
    open.erase(it);
  }
};

Wizards& AllWizards() {
  static Wizards wizards;
  return wizards;
}

void DeviceWizard::Retire(std::unique_ptr<WizardPageDialog> page) {
  page->Destroy();
  AllWizards().closedPages.push_back(std::move(page));
}

// The page's device is the current device while the page handles a message (the one before
// comes back after it).
class PageMessageScope {
 public:
  explicit PageMessageScope(const DeviceKey& key) : previous_(GetCurrentDevice()) {
    Wizards& w = AllWizards();
    w.FreeClosed();
    ++w.depth;
    SetCurrentDevice(FindRecord(key));
  }
  ~PageMessageScope() {
    SetCurrentDevice(previous_);
    --AllWizards().depth;
  }
  PageMessageScope(const PageMessageScope&) = delete;
  PageMessageScope& operator=(const PageMessageScope&) = delete;

 private:
  DeviceRecord* previous_;
};

bool WizardPageDialog::HandleMessage(wingui::Message& msg) {
  PageMessageScope scope(owner_.key());
  return wingui::Dialog::HandleMessage(msg);
}

bool WizardPageDialog::OnInitDialog() {
  DesktopWizard& wizard = owner_.wizard();
  const bool defaultLayout = wizard.Layout() == WizardLayout::Default;
  switch (page_) {
    case WizardPage::Start:
      wingui::CheckRadio(hwnd(), IDC_WIZARD_DEFAULT_LAYOUT, IDC_WIZARD_BLANK_LAYOUT,
                         defaultLayout ? IDC_WIZARD_DEFAULT_LAYOUT : IDC_WIZARD_BLANK_LAYOUT);
      break;
    case WizardPage::UserData: {
      const UserDetails details = wizard.DetailsToShow();
      const std::pair<int, const std::wstring*> edits[] = {{IDC_WIZARD_NAME, &details.name},
                                                           {IDC_WIZARD_ADDRESS, &details.address},
                                                           {IDC_WIZARD_EMAIL, &details.email}};
      for (const auto& [id, text] : edits) {
        // What the machine keeps of each: 511 bytes and a zero.
        wingui::Edit(hwnd(), id).SetLimit(static_cast<int>(kUserTextBytes) - 1);
        SetDlgItemTextW(hwnd(), id, text->c_str());
      }
      break;
    }
    case WizardPage::Finish:
      wingui::Control(hwnd(), IDC_WIZARD_DEFAULT_TEXT).Show(defaultLayout);
      wingui::Control(hwnd(), IDC_WIZARD_THANKS).Show(defaultLayout);
      wingui::Control(hwnd(), IDC_WIZARD_BLANK_TEXT).Show(!defaultLayout);
      wingui::Button(hwnd(), IDC_WIZARD_DEMO).SetChecked(wizard.DemoTickedAtFirst());
      break;
  }
  return true;
}

bool WizardPageDialog::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  DesktopWizard& wizard = owner_.wizard();
  bool handled = true;
  switch (page_) {
    case WizardPage::Start:
      if (id == IDC_WIZARD_START_NEXT)
        wizard.Next(wingui::Button(hwnd(), IDC_WIZARD_DEFAULT_LAYOUT).IsChecked() ? WizardLayout::Default
                                                                                  : WizardLayout::Blank);
      else if (id == IDCANCEL)
        wizard.Cancel();
      else
        handled = id == IDOK;  // Enter without a default button: nothing
      break;
    case WizardPage::UserData:
      if (id == IDOK)
        wizard.Next(UserDetails{ItemTextWide(hwnd(), IDC_WIZARD_NAME),
                                ItemTextWide(hwnd(), IDC_WIZARD_ADDRESS),
                                ItemTextWide(hwnd(), IDC_WIZARD_EMAIL)});
      else if (id == IDCANCEL)
        wizard.Back();
      else
        handled = false;
      break;
    case WizardPage::Finish:
      if (id == IDC_WIZARD_FINISHED)
        wizard.Finish(wingui::Button(hwnd(), IDC_WIZARD_DEMO).IsChecked());
      else if (id == IDC_WIZARD_FINISH_BACK)
        wizard.Back();
      else
        handled = id == IDOK || id == IDCANCEL;  // Esc on the last page: nothing
      break;
  }
  AllWizards().ForgetIfEnded(owner_.key());
  return handled;
}

}  // namespace

void StartDesktopWizardFor(SystemCalls& calls, const DeviceRecord& device) {
  Wizards& w = AllWizards();
  w.FreeClosed();
  const DeviceKey key = KeyOf(device);
  if (w.open.count(key)) return;
  DeviceWizard& wizard = *w.open.emplace(key, std::make_unique<DeviceWizard>(calls, key)).first->second;
  wizard.wizard().Start();
  w.ForgetIfEnded(key);
}

void StartDesktopWizard(SystemCalls& calls) {
  if (const DeviceRecord* device = GetCurrentDevice()) StartDesktopWizardFor(calls, *device);
}

void CloseDesktopWizards() {
  Wizards& w = AllWizards();
  std::vector<std::unique_ptr<DeviceWizard>> closing;
  for (auto& [key, wizard] : w.open) closing.push_back(std::move(wizard));
  w.open.clear();
  for (auto& wizard : closing) wizard->Abandon();
  closing.clear();
  w.FreeClosed();
}

int OpenDesktopWizardCount() { return static_cast<int>(AllWizards().open.size()); }
