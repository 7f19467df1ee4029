#include "app/tray_menu.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_description.h"
#include "runtime/device/device_record.h"
#include "runtime/service/device_thread.h"

namespace {

const char kCaption[] = " Lococab ORVX";
const char kVersion[] = " Version Beta 1.0";
constexpr int kMarked = 0xFFFF;  // product id of an entry left out

struct TrayMenuState {
  std::vector<TrayDeviceItem> items;
  // A copy: the menu may be rebuilt before the device comes back in its other mode.
  std::optional<TrayDeviceItem> pendingModeSwitch;
};

TrayMenuState& State() {
  static TrayMenuState state;
  return state;
}

bool Listable(const VhxEntry& e) { return e.usagePage == kDeviceUsagePage || (e.usagePage == 1 && e.usage == 6); }
bool SameInterfaceKind(const VhxEntry& a, const VhxEntry& b) {
  return a.usage == b.usage && a.usagePage == b.usagePage;
}

// An enumeration that leaves open interfaces alone; false (and no entries) on failure.
bool EnumerateKeepOpen(std::vector<VhxEntry>& entries) {
  entries.assign(VHX_MAX_ENTRIES, VhxEntry{});
  int count = 0;
  const bool ok = VhxEnumerateKeepOpen(kVendorId, entries.data(), &count) == 0;
  if (!ok) count = 0;
  entries.resize(count < 0 ? 0 : count > VHX_MAX_ENTRIES ? VHX_MAX_ENTRIES : count);
  return ok;
}

// One interface per product id: the consumer-page one where a device has it, else the first.
void MarkOtherInterfaces(std::vector<VhxEntry>& entries) {
  for (VhxEntry& e : entries)
    if (!Listable(e)) e.productId = kMarked;
  for (VhxEntry& e : entries) {
    if (e.productId == kMarked || e.usagePage == kDeviceUsagePage) continue;
    for (const VhxEntry& other : entries)
      if (other.productId == e.productId && other.usagePage == kDeviceUsagePage) {
        e.productId = kMarked;
        break;
      }
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].productId == kMarked) continue;
    for (std::size_t j = i + 1; j < entries.size(); ++j)
      if (entries[j].productId == entries[i].productId && !SameInterfaceKind(entries[i], entries[j]))
        entries[j].productId = kMarked;
  }
}


void PutRequest(int code, int hidHandle, bool onlyIntoFreeSlot) {
  if (onlyIntoFreeSlot && RequestCode.load() != kRequestNone) return;
  RequestDevice.store(hidHandle);
  RequestCode.store(code);
  WakeDeviceThreadFor(hidHandle);
}

std::string ItemText(const TrayDeviceItem& item) {
  char text[160];
  if (item.mode == kModeQuorlSwitchable || item.mode == kModeQuorl)
    std::snprintf(text, sizeof text, "%s\tID:%d", item.name.c_str(), item.unitId);
  else
    std::snprintf(text, sizeof text, "%s\tID:BT", item.name.c_str());
  return text;
}

}  // namespace

const std::vector<TrayDeviceItem>& GetTrayDeviceItems() { return State().items; }

void ShowTrayMenu(HWND mainDialog, HMENU menu) {
  TrayMenuState& s = State();
  POINT at{};
  GetCursorPos(&at);
  SetForegroundWindow(mainDialog);
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, kTrayExitId, "Exit");
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_OWNERDRAW | MF_DISABLED, kTrayVersionId,
              reinterpret_cast<LPCSTR>(kVersion));

  std::vector<VhxEntry> entries;
  EnumerateKeepOpen(entries);
  MarkOtherInterfaces(entries);
  std::vector<std::pair<VhxEntry, DeviceFolderEntry*>> listed;
  for (const VhxEntry& e : entries) {
    if (e.productId == kMarked) continue;
    if (DeviceFolderEntry* folder = FindDeviceFolder(kVendorId, e.productId, VhxGetVersion(e.handle)))
      listed.emplace_back(e, folder);
  }

  s.items.clear();
  if (!listed.empty()) {
    InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (const auto& [e, folder] : listed) {
      TrayDeviceItem item;
      item.folder = folder;
      item.vendorId = kVendorId;
      item.productId = e.productId;
      item.hidHandle = e.handle;
      ReadDeviceDescription(&item, nullptr);
      if (item.mode == kModeQuorlSwitchable || item.mode == kModeQuorl) {
        const auto device = FindDeviceSummary(e.handle);
        item.unitId = device ? device->unitId : 0;
      } else {
        item.unitId = -1;
      }
      InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING,
                  kTrayFirstDeviceId + static_cast<UINT>(s.items.size()), ItemText(item).c_str());
      s.items.push_back(std::move(item));
    }
  }
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_OWNERDRAW | MF_DISABLED, kTrayCaptionId,
              reinterpret_cast<LPCSTR>(kCaption));
  TrackPopupMenu(menu, TPM_LEFTBUTTON, at.x, at.y, 0, mainDialog, nullptr);
  PostMessageA(mainDialog, WM_NULL, 0, 0);
}

void OnTrayDeviceCommand(HWND, int index) {
  TrayMenuState& s = State();
  if (index < 0 || index >= static_cast<int>(s.items.size())) return;
  const TrayDeviceItem& item = s.items[index];
  if (!IsProgrammingAllowed()) {
    PutRequest(kRequestScriptLoader, item.hidHandle, false);
    return;
  }
  switch (item.mode) {
    case kModeQuorlSwitchable:
      PutRequest(kRequestProgramSwitchable, item.hidHandle, true);
      break;
    case kModeQuorl:
      PutRequest(kRequestProgram, item.hidHandle, true);
      break;
    case kModeKeyboardSwitchable:
      VhxSwitchMode(item.hidHandle);
      s.pendingModeSwitch = item;
      break;
    default:
      break;
  }
}

void OnDeviceListChangedMessage(HWND) {
  TrayMenuState& s = State();
  if (!s.pendingModeSwitch) return;
  std::vector<VhxEntry> entries;
  if (!EnumerateKeepOpen(entries)) return;
  for (VhxEntry& e : entries)
    if (const auto device = FindDeviceSummary(e.handle)) e.usage = device->unitId;
  for (VhxEntry& e : entries)
    for (const TrayDeviceItem& item : s.items)
      if (item.vendorId == kVendorId && item.productId == e.productId && item.unitId == e.usage)
        e.productId = kMarked;
  // Only the interface the device thread opens can take the request.
  for (const VhxEntry& e : entries) {
    if (e.productId == kMarked || e.productId != s.pendingModeSwitch->quorlProductId ||
        e.usagePage != kDeviceUsagePage)
      continue;
    PutRequest(kRequestReadOnboard, e.handle, false);
    s.pendingModeSwitch.reset();
    return;
  }
}

void FreeTrayDeviceItems() {
  State().items.clear();
  State().pendingModeSwitch.reset();
}
