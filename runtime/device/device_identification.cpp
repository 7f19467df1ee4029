#include "runtime/device/device_identification.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/device_wait.h"
#include "runtime/script/script_engine_lock.h"

namespace {

constexpr DWORD kFirstReportWaitMs = 5000;
constexpr DWORD kBlinkMs = 500;
constexpr char kLedOutput[] = "setLEDs";

bool ReportWaiting(const DeviceRecord& d) {
  return WaitForSingleObject(d.readEvent, 0) == WAIT_OBJECT_0;
}

bool Removed(const DeviceRecord& d) {
  return WaitForSingleObject(d.removalEvent, 0) == WAIT_OBJECT_0;
}

bool HasOutput(const DeviceRecord& d, const char* name) {
  for (const auto& o : d.outputs)
    if (o.name == name) return true;
  return false;
}

std::uint8_t* QpadLeds(DeviceRecord& d) {
  return static_cast<std::uint8_t*>(d.services->FindModuleGlobal(d, "QpadLEDs"));
}

void WriteLedByte(DeviceRecord& d, std::uint8_t byte) { WriteOutputReport(kLedOutput, d, &byte, 1); }

// Until the user presses a key on the device: a dialog, and its LEDs flashing every 500 ms.
// False when the device was removed meanwhile (or the program is ending).
bool WaitForAKey(DeviceRecord& d, IdentificationDialogs& dialogs) {
  HWND dialog = dialogs.OpenPressKeyDialog(HasOutput(d, kLedOutput));
  HANDLE events[] = {d.readEvent, d.removalEvent};
  const auto pump = [&dialogs] { dialogs.PumpWindows(); };
  std::uint8_t leds = 0;
  bool pressed = false;
  while (!pressed) {
    WaitWithMessagePump(2, events, kBlinkMs, pump);
    WriteLedByte(d, leds);
    leds ^= 0xC0;
    if (Removed(d) || IsDeviceThreadStopping()) break;
    pressed = ReportWaiting(d);
  }
  if (dialog) DestroyWindow(dialog);
  WriteLedByte(d, 0x80);
  return pressed;
}

bool ReadFirstReport(DeviceRecord& d) {
  ResetEvent(d.readEvent);
  return VhxReadReport(d.hidHandle, d.previousReport.data()) == VHX_OK;
}

// Product 0x1 with unit 0x23 and product 0x12 with unit 0x3 are different devices: the pair,
// not its hex text run together, is the key.
std::pair<int, int> UnitIdKey(const DeviceRecord& d) { return {d.productId, d.unitId}; }

bool ValidUnitId(int id) { return id >= 1 && id <= 254; }

}  // namespace

void IdentificationDialogs::PumpWindows() { PumpThreadMessages(); }
HWND IdentificationDialogs::OpenPressKeyDialog(bool) { return nullptr; }
void IdentificationDialogs::ShowDuplicateUnitId() {}

bool IdentifyDevice(DeviceRecord& d, IdentificationDialogs& dialogs) {
  void* read = nullptr;
  void* removal = nullptr;
  if (VhxSetUpInterface(d.hidHandle, &read, &removal) != VHX_OK) return false;
  d.readEvent = static_cast<HANDLE>(read);
  d.removalEvent = static_cast<HANDLE>(removal);
  if (!d.setUp || d.previousReport.empty()) return false;

  HANDLE events[] = {d.readEvent, d.removalEvent};
  const auto pump = [&dialogs] { dialogs.PumpWindows(); };
  WaitWithMessagePump(2, events, kFirstReportWaitMs, pump);
  if (!ReportWaiting(d) && !WaitForAKey(d, dialogs)) return false;
  if (!ReadFirstReport(d)) return false;
  // These devices send a second report after the first.
  if (d.productId >= 773 && d.productId <= 778 &&
      WaitWithMessagePump(1, events, kFirstReportWaitMs, pump) == 0)
    ReadFirstReport(d);

  d.unitId = d.previousReport[d.unitIdByte];
  d.currentReport = d.previousReport;
  return true;
}

void AssignUnitId(DeviceRecord& d, DeviceTableView table, SystemCalls& calls) {
  char valueName[24];
  std::snprintf(valueName, sizeof valueName, "Pid0%X", d.productId);
  if (!calls.CreateMachineKey(kOrvaneRegistryKey)) return;
  int candidate = 0;
  // Every id may be taken: then the last candidate is used.
  for (int attempt = 0; attempt < 254; ++attempt) {
    const std::optional<std::uint32_t> counter = ReadMachineDword(calls, kOrvaneRegistryKey, valueName);
    std::uint32_t stored = 0;
    // A counter outside 1..254 (damaged) starts again as if missing.
    if (!counter || !ValidUnitId(static_cast<int>(*counter))) {
      candidate = 1;
      stored = 2;
    } else if (*counter == 254) {
      candidate = 254;
      stored = 1;
    } else {
      candidate = static_cast<int>(*counter);
      stored = *counter + 1;
    }
    WriteMachineDword(calls, kOrvaneRegistryKey, valueName, stored);
    bool taken = false;
    for (const auto& other : table)
      if (other.get() != &d && other->productId == d.productId && other->unitId == candidate) taken = true;
    if (!taken) break;
  }
  d.unitId = candidate;
  const std::uint8_t id = static_cast<std::uint8_t>(candidate);
  WriteOutputReport("setID", d, &id, 1);
}

void CheckUnitIds(DeviceTableView table, IdentificationDialogs& dialogs, SystemCalls& calls) {
  for (const auto& d : table)
    if (!ValidUnitId(d->unitId)) AssignUnitId(*d, table, calls);
  std::multiset<std::pair<int, int>> keys;
  for (const auto& d : table) {
    if (!keys.empty() && keys.count(UnitIdKey(*d)) == 1) {
      AssignUnitId(*d, table, calls);
      dialogs.ShowDuplicateUnitId();
    }
    keys.insert(UnitIdKey(*d));
  }
}

void SetLayerLed(bool red, DeviceRecord& d) {
  ScriptEngineGuard lock;
  if (red != d.redLayer) {
    if (!d.setUp) {
      d.redLayer = red;
    } else if (std::uint8_t* leds = HasOutput(d, kLedOutput) ? QpadLeds(d) : nullptr) {
      *leds = static_cast<std::uint8_t>((red ? d.redLedMask : d.greenLedMask) |
                                        (*leds & ~d.greenLedMask & ~d.redLedMask));
      WriteOutputReport(kLedOutput, d);
      d.redLayer = red;
    }
  }
}

void SetDeviceLeds(bool red, bool green, DeviceRecord& d) {
  ScriptEngineGuard lock;
  if (!d.setUp) {
    d.redLayer = red;
  } else if (std::uint8_t* leds = HasOutput(d, kLedOutput) ? QpadLeds(d) : nullptr) {
    *leds = static_cast<std::uint8_t>((red ? d.redLedMask : 0) | (green ? d.greenLedMask : 0) |
                                      (*leds & ~d.greenLedMask & ~d.redLedMask));
    WriteOutputReport(kLedOutput, d);
  }
}

void SetDeviceBacklights(bool on, DeviceRecord& d) {
  ScriptEngineGuard lock;
  d.backlightStateKnown = true;
  const char* name = on ? "setBacklightsOn" : "setBacklightsOff";
  if (d.setUp && HasOutput(d, name)) {
    if (std::uint8_t* leds = QpadLeds(d)) {
      *leds = static_cast<std::uint8_t>((on ? d.backlightMask : 0) | (*leds & ~d.backlightMask));
      WriteOutputReport(name, d);
      d.backlightsOn = on;
    }
  }
}
