// The tray device menu over simulated devices: opened by a tray message to a window of the
// test's own, read while it is up and closed.
#include "app/tray_menu.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/program_messages.h"
#include "tests/support/scratch_dir.h"

using namespace testsupport;

namespace {

// The sample cab controller's product id.
constexpr int kCabController = 0xD2;

std::string Id(UINT id) { return std::to_string(id); }

HMENU trayMenu = nullptr;
bool menuWasUp = false;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kTrayCallbackMessage:
      if (lp == WM_RBUTTONUP || lp == WM_LBUTTONUP) ShowTrayMenu(hwnd, trayMenu);
      return 0;
    case WM_ENTERIDLE:
      if (wp == MSGF_MENU) {
        menuWasUp = true;
        EndMenu();
      }
      return 0;
    case WM_TIMER:  // in case the menu loop never goes idle
      menuWasUp = true;
      EndMenu();
      return 0;
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      m->itemWidth = 100;
      m->itemHeight = 16;
      return TRUE;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// One line per menu item from the top: "---", "<id> <text>" or "<id> owner:<text>".
std::vector<std::string> MenuLines(HMENU menu) {
  std::vector<std::string> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[200] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_STATE;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, i, TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      lines.push_back("---");
    } else if (info.fType & MFT_OWNERDRAW) {
      lines.push_back(std::to_string(info.wID) + " owner:" +
                      reinterpret_cast<const char*>(info.dwItemData) +
                      ((info.fState & MFS_DISABLED) ? " (disabled)" : ""));
    } else {
      lines.push_back(std::to_string(info.wID) + " " + text);
    }
  }
  return lines;
}

class TrayMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(EnvOr("VHXHID_SIM").empty());
    sim_ = VhxSimOpen(nullptr);
    ASSERT_NE(sim_, nullptr);
    ASSERT_EQ(VhxSimReset(sim_), VHXSIM_OK);
    FreeDeviceFolders();
    InitProgramFolders("\"" + EnvOr("ORVANE_BIN") + "\\Orvane.exe\"");
    PublishDeviceTable(nullptr);
    SetProgrammingAllowed(true);
    RequestCode = 0;
    RequestDevice = kNoRequestDevice;
    FreeTrayDeviceItems();

    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrayMenuTestOwner";
    RegisterClassA(&wc);
    owner_ = CreateWindowA("TrayMenuTestOwner", "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                           nullptr, wc.hInstance, nullptr);
    ASSERT_NE(owner_, nullptr);
    trayMenu = CreatePopupMenu();
  }
  void TearDown() override {
    FreeTrayDeviceItems();
    DestroyMenu(trayMenu);
    DestroyWindow(owner_);
    PublishDeviceTable(nullptr);
    FreeDeviceFolders();
    if (sim_) VhxSimClose(sim_);
  }

  int Add(int pid, int page = 12, int usage = 1, int switchPid = 0) {
    VhxSimDeviceSpec spec;
    VhxSimDefaultSpec(&spec);
    spec.productId = pid;
    spec.usagePage = page;
    spec.usage = usage;
    spec.switchProductId = switchPid;
    const int id = VhxSimAddDevice(sim_, &spec);
    EXPECT_GT(id, 0);
    return id;
  }
  // The handle the library gives the first page-12 interface of the product id.
  int HandleOf(int pid) {
    VhxEntry entries[VHX_MAX_ENTRIES];
    int count = 0;
    EXPECT_EQ(VhxEnumerateKeepOpen(0x0A7C, entries, &count), 0);
    for (int i = 0; i < count; ++i)
      if (entries[i].productId == pid && entries[i].usagePage == kDeviceUsagePage) return entries[i].handle;
    return -100;
  }
  std::vector<std::string> OpenMenu() {
    menuWasUp = false;
    SetTimer(owner_, 1, 1500, nullptr);
    SendMessageA(owner_, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    KillTimer(owner_, 1);
    EXPECT_TRUE(menuWasUp);
    return MenuLines(trayMenu);
  }
  const TrayDeviceItem* Item(int pid) {
    for (const TrayDeviceItem& item : GetTrayDeviceItems())
      if (item.productId == pid) return &item;
    return nullptr;
  }
  int IndexOf(int pid) { return static_cast<int>(Item(pid) - GetTrayDeviceItems().data()); }

  VhxSim* sim_ = nullptr;
  HWND owner_ = nullptr;
};

TEST_F(TrayMenu, WithoutDevicesItHoldsTheCaptionAndExit) {
  Add(0x77);          // no device folder
  Add(0x10, 1, 2);    // a mouse interface
  const std::vector<std::string> want = {Id(kTrayCaptionId) + " owner: Lococab ORVX (disabled)",
                                         "---",
                                         Id(kTrayVersionId) + " owner: Version Beta 1.0 (disabled)",
                                         Id(kTrayExitId) + " Exit"};
  EXPECT_EQ(OpenMenu(), want);
  EXPECT_TRUE(GetTrayDeviceItems().empty());
}

TEST_F(TrayMenu, ListsEachDeviceOnceByItsDescription) {
  Add(0x19);
  Add(0x19, 1, 6);  // the same keypad's keyboard interface
  Add(0x10);
  Add(0x18, 12, 1, 0x19);
  Add(kCabController);
  DeviceRecords table;
  table.push_back(std::make_unique<DeviceRecord>());
  table[0]->hidHandle = HandleOf(0x19);
  table[0]->unitId = 3;
  PublishDeviceTable(&table);

  const std::vector<std::string> lines = OpenMenu();
  const auto& items = GetTrayDeviceItems();
  ASSERT_EQ(items.size(), 4u);
  ASSERT_EQ(lines.size(), 4u + 5u) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines[0], Id(kTrayCaptionId) + " owner: Lococab ORVX (disabled)");
  EXPECT_EQ(lines[1], "---");
  EXPECT_EQ(lines[6], "---");
  EXPECT_EQ(lines[7], Id(kTrayVersionId) + " owner: Version Beta 1.0 (disabled)");
  EXPECT_EQ(lines[8], Id(kTrayExitId) + " Exit");
  // The last enumerated device is at the top.
  for (int i = 0; i < 4; ++i) {
    const TrayDeviceItem& item = items[i];
    std::string text = item.name + "\tID:";
    text += (item.mode == kModeQuorlSwitchable || item.mode == kModeQuorl)
                ? std::to_string(item.unitId)
                : "BT";
    EXPECT_EQ(lines[2 + 3 - i], Id(kTrayFirstDeviceId + i) + " " + text);
  }
  ASSERT_NE(Item(0x19), nullptr);
  EXPECT_EQ(Item(0x19)->name, "Qpad 24 LED");
  EXPECT_EQ(Item(0x19)->mode, kModeQuorlSwitchable);
  EXPECT_EQ(Item(0x19)->unitId, 3);  // from the device table
  EXPECT_EQ(Item(0x19)->hidHandle, HandleOf(0x19));
  EXPECT_EQ(Item(0x10)->mode, kModeQuorl);
  EXPECT_EQ(Item(0x10)->unitId, 0);  // not in the table
  EXPECT_EQ(Item(0x18)->mode, kModeKeyboardSwitchable);
  EXPECT_EQ(Item(0x18)->unitId, -1);
  EXPECT_EQ(Item(0x18)->quorlProductId, 0x19);
  EXPECT_EQ(Item(kCabController)->name, "Lococab Cab Controller");
  EXPECT_EQ(Item(kCabController)->mode, kModeNone);
}

TEST_F(TrayMenu, ChoosingAnItemPutsItsRequestIntoAFreeSlot) {
  Add(0x19);
  Add(0x10);
  Add(kCabController);
  OpenMenu();
  ASSERT_EQ(GetTrayDeviceItems().size(), 3u);

  OnTrayDeviceCommand(owner_, IndexOf(0x19));
  EXPECT_EQ(RequestCode, kRequestProgramSwitchable);
  EXPECT_EQ(RequestDevice, HandleOf(0x19));
  OnTrayDeviceCommand(owner_, IndexOf(0x10));  // the slot is taken
  EXPECT_EQ(RequestCode, kRequestProgramSwitchable);
  EXPECT_EQ(RequestDevice, HandleOf(0x19));

  RequestCode = 0;
  RequestDevice = kNoRequestDevice;
  OnTrayDeviceCommand(owner_, IndexOf(0x10));
  EXPECT_EQ(RequestCode, kRequestProgram);
  EXPECT_EQ(RequestDevice, HandleOf(0x10));

  RequestCode = 0;
  RequestDevice = kNoRequestDevice;
  for (int index : {IndexOf(kCabController), -1, 3, 1000}) OnTrayDeviceCommand(owner_, index);
  EXPECT_EQ(RequestCode, 0);
  EXPECT_EQ(RequestDevice, kNoRequestDevice);

  // In client mode every item asks for the script loader, whatever is in the slot.
  SetProgrammingAllowed(false);
  RequestCode = kRequestRebuild;
  OnTrayDeviceCommand(owner_, IndexOf(kCabController));
  EXPECT_EQ(RequestCode, kRequestScriptLoader);
  EXPECT_EQ(RequestDevice, HandleOf(kCabController));
}

TEST_F(TrayMenu, AModeSwitchEndsInAnOnboardReadOfTheReturningDevice) {
  const int other = Add(0x19);  // an attached keypad already in QUORL mode
  (void)other;
  Add(0x18, 12, 1, 0x19);
  DeviceRecords table;
  table.push_back(std::make_unique<DeviceRecord>());
  table[0]->hidHandle = HandleOf(0x19);
  table[0]->unitId = 3;  // the item's unit id: this entry is matched and skipped
  PublishDeviceTable(&table);
  OpenMenu();
  const int oldHandle = HandleOf(0x19);

  // Without a pending switch the list change does nothing.
  OnDeviceListChangedMessage(owner_);
  EXPECT_EQ(RequestCode, 0);

  OnTrayDeviceCommand(owner_, IndexOf(0x18));
  EXPECT_EQ(RequestCode, 0);
  // The menu may be rebuilt before the device comes back.
  OpenMenu();

  OnDeviceListChangedMessage(owner_);
  EXPECT_EQ(RequestCode, kRequestReadOnboard);
  VhxEntry entries[VHX_MAX_ENTRIES];
  int count = 0;
  ASSERT_EQ(VhxEnumerateKeepOpen(0x0A7C, entries, &count), 0);
  int returned = -100;
  for (int i = 0; i < count; ++i)
    if (entries[i].productId == 0x19 && entries[i].handle != oldHandle)
      returned = entries[i].handle;
  EXPECT_EQ(RequestDevice, returned);

  // Done once: a later list change leaves the slot alone.
  RequestCode = 0;
  OnDeviceListChangedMessage(owner_);
  EXPECT_EQ(RequestCode, 0);
}

}  // namespace
