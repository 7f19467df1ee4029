// The desktop setup wizard on the real device thread over a simulated Qpad Desktop plugged in
// for the first time: the type's own script opens the wizard, the user's choices give the
// unit's script, and its keys then type the user's details into the window in front. The
// pages are saved as pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "app/main_window.h"
#include "app/program_features.h"
#include "app/program_service_host.h"
#include "runtime/device/device_table.h"
#include "runtime/keys/key_codes.h"
#include "tests/runtime/service/device_thread_fixture.h"
#include "ui/setup_wizard/setup_wizard_ids.h"
#include "ui/setup_wizard/starter_script.h"
#include "ui/setup_wizard/user_details_registry.h"

using namespace testsupport;

namespace {

constexpr int kDesktopPid = 0x28;
constexpr int kUnit = 12;
constexpr char kCaption[] = "Qpad Desktop Setup Wizard";

// The machine as the test keeps it: its registry in memory, and message boxes and the shell
// noted (boxes answer Cancel). Keys go to the platform.
class Machine : public SystemCalls {
 public:
  std::optional<RegistryValue> ReadMachineValue(const std::string& key, const std::string& name) override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = values_.find({key, name});
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool WriteMachineValue(const std::string& key, const std::string& name, const RegistryValue& value) override {
    std::lock_guard<std::mutex> lock(mutex_);
    values_[{key, name}] = value;
    return true;
  }
  bool CreateMachineKey(const std::string&) override { return true; }
  BoxAnswer ShowMessageBox(void*, const char* text, const char* caption, BoxButtons, BoxIcon, BoxFlag) override {
    Note(std::string("box ") + caption + ": " + text);
    return BoxAnswer::Cancel;
  }
  std::intptr_t ExecuteWithShell(void*, const char* verb, const char* file, const char*, const char*,
                                 int) override {
    Note(std::string("shell ") + verb + " " + file);
    return 42;
  }
  std::vector<std::string> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

 private:
  void Note(std::string event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
  }
  std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, RegistryValue> values_;
  std::vector<std::string> events_;
};

struct PageSearch {
  int controlId;
  std::vector<HWND> pages;
};

BOOL CALLBACK CollectPage(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<PageSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && WindowText(hwnd) == kCaption &&
      (s->controlId == 0 || GetDlgItem(hwnd, s->controlId)))
    s->pages.push_back(hwnd);
  return TRUE;
}

// The visible wizard pages of this process (those holding the control, when one is given).
std::vector<HWND> WizardPages(int controlId = 0) {
  PageSearch search{controlId, {}};
  EnumWindows(CollectPage, reinterpret_cast<LPARAM>(&search));
  return search.pages;
}

HWND WaitForPage(int controlId) {
  HWND page = nullptr;
  WaitUntil([&] {
    const std::vector<HWND> pages = WizardPages(controlId);
    page = pages.size() == 1 ? pages[0] : nullptr;
    return page != nullptr;
  }, 10000);
  return page;
}

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
bool Shown(HWND page, int id) { return IsWindowVisible(GetDlgItem(page, id)) != 0; }
void Click(HWND page, int id) { ClickButton(GetDlgItem(page, id)); }

class DesktopWizardSim : public DeviceThread {
 protected:
  void SetUp() override {
    DeviceThread::SetUp();
    InstallMacroHooks();
    // The program's pump, dialogs and wizard, over the machine of the test.
    UsePlatform(machine_);
    UseOwnHost<ProgramServiceHost>(machine_, features_);
  }

  int AddDesktop() { return AddSimKeypad(sim_, kUnit, kDesktopPid); }
  std::string UnitScript() const { return dir_ / "QpadDevices\\Vid0a7cPid0028\\Script_12.oxs"; }

  // The key of the code: its byte counted from the first key byte, report byte 1.
  void Press(int id, int code) {
    std::uint8_t down[9] = {0, 0, 0, 0, 0, 0, 0, kUnit, 0};
    down[1 + KeyCodeByte(code)] = static_cast<std::uint8_t>(1 << KeyCodeBit(code));
    const std::uint8_t up[9] = {0, 0, 0, 0, 0, 0, 0, kUnit, 0};
    VhxSimQueueInput(sim_, id, down, 9);
    VhxSimQueueInput(sim_, id, up, 9);
  }

  // A full rebuild, as the tray asks for it; true once the device list has changed.
  bool RebuildAll() {
    const int before = listChanges;
    RequestDevice = kNoRequestDevice;
    RequestCode = kRequestRebuild;
    WakeFirstDevice();
    return WaitForListChange(before + 1);
  }

  Machine machine_;
  ProgramFeatures features_;  // what the program's windows are opened with
};

TEST_F(DesktopWizardSim, TheDefaultLayoutTypesTheUsersDetails) {
  // An e-mail address kept from an earlier set-up is offered again.
  WriteUserDetails(machine_, {L"", L"", L"old@example.com"});
  const int id = AddDesktop();
  Start();
  ASSERT_TRUE(WaitForCount(1));

  const HWND start = WaitForPage(IDC_WIZARD_START_NEXT);
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(Checked(start, IDC_WIZARD_DEFAULT_LAYOUT));
  EXPECT_FALSE(Checked(start, IDC_WIZARD_BLANK_LAYOUT));
  SavePicture(start, "setup_wizard_start");
  Click(start, IDC_WIZARD_START_NEXT);

  const HWND user = WaitForPage(IDC_WIZARD_NAME);
  ASSERT_NE(user, nullptr);
  EXPECT_FALSE(IsWindow(start));
  EXPECT_EQ(WindowText(GetDlgItem(user, IDC_WIZARD_NAME)), "");
  EXPECT_EQ(WindowText(GetDlgItem(user, IDC_WIZARD_EMAIL)), "old@example.com");
  const std::string name = "Jo \"JJ\" O'Neil";
  const std::string address = "1 Main St\\Flat 2\r\nSpringfield";
  const std::string email = "jo@example.com";
  SetDlgItemTextA(user, IDC_WIZARD_NAME, name.c_str());
  SetDlgItemTextA(user, IDC_WIZARD_ADDRESS, address.c_str());
  SetDlgItemTextA(user, IDC_WIZARD_EMAIL, email.c_str());
  SavePicture(user, "setup_wizard_user_data");
  // Enter in a one-line edit goes to the page's dialog manager through the device thread's
  // pump: Next.
  PostMessageA(GetDlgItem(user, IDC_WIZARD_NAME), WM_KEYDOWN, VK_RETURN, 0);

  const HWND finish = WaitForPage(IDC_WIZARD_FINISHED);
  ASSERT_NE(finish, nullptr);
  EXPECT_TRUE(Shown(finish, IDC_WIZARD_DEFAULT_TEXT));
  EXPECT_TRUE(Shown(finish, IDC_WIZARD_THANKS));
  EXPECT_FALSE(Shown(finish, IDC_WIZARD_BLANK_TEXT));
  EXPECT_TRUE(Checked(finish, IDC_WIZARD_DEMO));
  SavePicture(finish, "setup_wizard_finish");
  const UserDetails details{L"Jo \"JJ\" O'Neil", L"1 Main St\\Flat 2\r\nSpringfield", L"jo@example.com"};
  EXPECT_EQ(ReadUserDetails(machine_), details);

  const int before = listChanges;
  Click(finish, IDC_WIZARD_FINISHED);
  // Every device is built anew, this one from its new script.
  ASSERT_TRUE(WaitForListChange(before + 1));
  EXPECT_TRUE(WizardPages().empty());
  EXPECT_EQ(ReadFileOr(UnitScript()), StarterScriptFile(details));
  // The demonstration video was asked for; there is none beside the program.
  const std::vector<std::string> events = machine_.Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].rfind("box Could not find file: ", 0), 0u) << events[0];

  // The unit's keys type the details into the window in front.
  HWND window = CreateWindowExA(0, "#32770", "Typing Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                420, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 5, 5,
                              400, 150, window, nullptr, nullptr, nullptr);
  SetForegroundWindow(window);
  SetFocus(edit);
  PumpMessages(200);
  // One key after the other: each step reads the lock states where its keys go, and that must
  // not meet the keys of the step before on their way.
  std::string typed;
  for (const auto& [code, text] : {std::pair{0, name}, std::pair{16, address}, std::pair{32, email}}) {
    Press(id, code);
    typed += text;
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == typed; }, 10000)) << WindowText(edit);
  }
  SavePicture(window, "setup_wizard_typed_details");
  DestroyWindow(window);
}

TEST_F(DesktopWizardSim, TheBlankLayoutAndCancelLeaveAnEmptyScriptAndOneWizardAtATime) {
  AddDesktop();
  Start();
  ASSERT_TRUE(WaitForCount(1));

  HWND start = WaitForPage(IDC_WIZARD_START_NEXT);
  ASSERT_NE(start, nullptr);
  Click(start, IDC_WIZARD_BLANK_LAYOUT);
  Click(start, IDC_WIZARD_START_NEXT);

  // The blank layout skips the user's details.
  const HWND finish = WaitForPage(IDC_WIZARD_FINISHED);
  ASSERT_NE(finish, nullptr);
  EXPECT_TRUE(Shown(finish, IDC_WIZARD_BLANK_TEXT));
  EXPECT_FALSE(Shown(finish, IDC_WIZARD_DEFAULT_TEXT));
  EXPECT_FALSE(Shown(finish, IDC_WIZARD_THANKS));
  EXPECT_FALSE(Checked(finish, IDC_WIZARD_DEMO));
  SavePicture(finish, "setup_wizard_finish_blank");
  Click(finish, IDC_WIZARD_FINISH_BACK);

  start = WaitForPage(IDC_WIZARD_START_NEXT);
  ASSERT_NE(start, nullptr);
  EXPECT_TRUE(Checked(start, IDC_WIZARD_BLANK_LAYOUT));

  // Every build cycle runs the type's script again, which asks for the wizard again: the
  // device keeps the one it has, though its record is a new one.
  ASSERT_TRUE(RebuildAll());
  PumpMessages(200);
  ASSERT_EQ(WizardPages().size(), 1u);
  EXPECT_EQ(WizardPages()[0], start);

  Click(start, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return FileExists(UnitScript()); }, 5000));
  // Empty, or the same regenerated as an empty layout: no key functions, no wizard.
  const std::string script = ReadFileOr(UnitScript());
  EXPECT_EQ(script.find("RunDesktopWizard"), std::string::npos) << script;
  EXPECT_EQ(script.find("KeyDown_"), std::string::npos) << script;
  EXPECT_TRUE(WaitUntil([&] { return WizardPages().empty(); }, 5000));
  // The unit now builds its own (empty) script, which opens no wizard.
  ASSERT_TRUE(RebuildAll());
  PumpMessages(300);
  EXPECT_TRUE(WizardPages().empty());
  EXPECT_TRUE(machine_.Events().empty());
}

TEST_F(DesktopWizardSim, FinishedLeavesAPendingRequestAloneAndBuildsTheUnitAllTheSame) {
  AddDesktop();
  Start();
  ASSERT_TRUE(WaitForCount(1));
  HWND page = WaitForPage(IDC_WIZARD_START_NEXT);
  ASSERT_NE(page, nullptr);
  Click(page, IDC_WIZARD_START_NEXT);
  page = WaitForPage(IDC_WIZARD_NAME);
  ASSERT_NE(page, nullptr);
  SetDlgItemTextA(page, IDC_WIZARD_NAME, "Jo");
  Click(page, IDOK);
  page = WaitForPage(IDC_WIZARD_FINISHED);
  ASSERT_NE(page, nullptr);
  Click(page, IDC_WIZARD_DEMO);
  // An on-board read waits in the slot for a device that has not come back yet.
  RequestDevice = kNoRequestDevice;
  RequestCode = kRequestReadOnboard;
  Click(page, IDC_WIZARD_FINISHED);
  const std::string backup = dir_ / "QpadDevices\\Vid0a7cPid0028\\Script_12_backup.oxs";
  const std::string starter = StarterScriptFile({L"Jo", L"", L""});
  EXPECT_TRUE(WaitUntil([&] { return ReadFileOr(backup) == starter; }, 5000));
  EXPECT_EQ(RequestCode.load(), kRequestReadOnboard);
  EXPECT_TRUE(machine_.Events().empty());  // no demonstration asked for
  RequestCode = kRequestNone;
}

TEST_F(DesktopWizardSim, AWizardOpenAtTheThreadsEndIsClosedAndComesAgainAtTheNextStart) {
  AddDesktop();
  Start();
  ASSERT_NE(WaitForPage(IDC_WIZARD_START_NEXT), nullptr);
  ASSERT_TRUE(Stop());
  EXPECT_TRUE(WizardPages().empty());
  // The unit still has no script of its own: the next start greets it again.
  VhxSimReset(sim_);
  AddDesktop();
  Start();
  EXPECT_NE(WaitForPage(IDC_WIZARD_START_NEXT), nullptr);
  EXPECT_FALSE(FileExists(UnitScript()));
}

}  // namespace
