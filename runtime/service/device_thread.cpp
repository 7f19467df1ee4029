#include "runtime/service/device_thread.h"

#include <windows.h>
#include <angelscript.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_description.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_identification.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_wait.h"
#include "runtime/device/host_interface.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/periodic_function.h"
#include "runtime/device/program_hooks.h"
#include "runtime/functions/device_functions.h"
#include "runtime/functions/script_platform.h"
#include "runtime/functions/system_script_functions.h"
#include "runtime/keys/key_name_tables.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_engine_lock.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_types.h"
#include "runtime/service/device_module_build.h"

namespace {

constexpr int kPollIntervalMs = 5000;
constexpr int kReenumerateDelayMs = 5000;
// A report burst is read up to this many at a time, so that a device that reports without a
// pause cannot starve the deadlines and the windows (the read event stays set for the rest).
constexpr int kReportsPerWake = 64;
// A request for on-board macros waits this long for its device to come back.
constexpr DWORD kOnboardRequestLimitMs = 15000;
constexpr DWORD kStopPollMs = 500;
constexpr DWORD kStopLimitMs = 10000;  // a thread stuck in a modal wait must not hold Exit

struct PeriodicInputRef {
  int hidHandle = -1;
  int inputIndex = -1;
};

struct DeviceThreadState {
  UniqueHandle thread;  // our own handle, for the bounded wait at stop
  HWND mainDialog = nullptr;
  ScriptLoaderHooks loaderHooks;

  std::vector<DeviceRecord> devices;  // the device table
  std::vector<HANDLE> handles;        // read and removal event of each device, in table order
  std::unique_ptr<asCDebugScriptEngine> engine;
  std::unique_ptr<asCDebugContext> context;

  bool rebuild = false;
  bool scriptLoader = false;
  DWORD nextPollTick = 0;
  DWORD removalTick = 0;  // 0: none
  PeriodicInputRef earliestPeriodic;
  int lastEventDevice = -1;  // HID handle of the device whose event ended the last wait
  // The device a script-loader request named, by what survives the next enumeration.
  int loaderProductId = -1;
  int loaderUnitId = -1;
  DWORD onboardRequestSince = 0;
  bool onboardRequestPending = false;

  VhxEntry enumeration[VHX_MAX_ENTRIES] = {};
  int enumerationCount = 0;

  DeviceThreadHooks hooks;  // set before the thread starts
  std::atomic<DeviceBuildCallback> buildCallback{nullptr};
  std::atomic<void (*)(ScriptRegistrar&)> extraRegistration{nullptr};
};

DeviceThreadState& State() {
  static DeviceThreadState state;
  return state;
}


DeviceRecord* FindDeviceByHandle(int hidHandle) {
  for (auto& d : State().devices)
    if (d.hidHandle == hidHandle) return &d;
  return nullptr;
}

void PublishTable() {
  DeviceThreadState& s = State();
  PublishDeviceTable(s.devices.empty() ? nullptr : s.devices.data(),
                     static_cast<int>(s.devices.size()));
}

void FillHandles() {
  DeviceThreadState& s = State();
  s.handles.clear();
  for (const auto& d : s.devices) {
    s.handles.push_back(d.readEvent);
    s.handles.push_back(d.removalEvent);
  }
}

// The periodic input entry due first, over all devices.
void FindEarliestPeriodicInput() {
  DeviceThreadState& s = State();
  s.earliestPeriodic = {};
  DWORD best = 0;
  for (const auto& d : s.devices) {
    for (int i = 0; i < d.inputCount(); ++i) {
      const InputConfig& in = d.inputs[i];
      if (in.period <= 0) continue;
      if (s.earliestPeriodic.hidHandle < 0 || static_cast<int>(in.dueTick - best) < 0) {
        s.earliestPeriodic = {d.hidHandle, i};
        best = in.dueTick;
      }
    }
  }
}

InputConfig* EarliestPeriodicInput(DeviceRecord** device) {
  const PeriodicInputRef& ref = State().earliestPeriodic;
  DeviceRecord* d = FindDeviceByHandle(ref.hidHandle);
  // An entry whose key auto-repeats has its period set to 0: it is no longer periodic.
  if (!d || ref.inputIndex < 0 || ref.inputIndex >= d->inputCount() ||
      d->inputs[ref.inputIndex].period <= 0)
    return nullptr;
  *device = d;
  return &d->inputs[ref.inputIndex];
}

// Runs the earliest periodic input when it is due; true when it ran.
bool RunDuePeriodicInput(DWORD now) {
  DeviceRecord* device = nullptr;
  InputConfig* input = EarliestPeriodicInput(&device);
  if (!input || !TickReached(input->dueTick, now)) return false;
  RunPeriodicInputs(*device, *input, GetDeviceScriptEngine(), GetDeviceScriptContext());
  FindEarliestPeriodicInput();
  return true;
}

void CancelAutoRepeatOf(int hidHandle) {
  if (GetAutoRepeat().active && GetAutoRepeat().hidHandle == hidHandle) CancelAutoRepeat();
}

void TearDownDevices() {
  DeviceThreadState& s = State();
  PublishDeviceTable(nullptr, 0);
  SetCurrentDevice(nullptr);
  for (auto& d : s.devices) DestroyDeviceRecord(d);
  s.devices.clear();
  CancelAutoRepeat();
  s.earliestPeriodic = {};
  s.handles.clear();
}

void CloseEnumeration() {
  DeviceThreadState& s = State();
  for (int i = 0; i < s.enumerationCount; ++i) VhxCloseInterface(s.enumeration[i].handle);
  s.enumerationCount = 0;
}

void ReleaseEngine() {
  DeviceThreadState& s = State();
  if (s.engine && s.hooks.engineReleasing) s.hooks.engineReleasing();
  SetLockedScriptContext(nullptr);
  s.context.reset();  // contexts go before their engine
  s.engine.reset();
}

// The program as the script functions see it.
class ThreadScriptProgram : public ScriptProgram {
 public:
  HWND MainWindow() override { return ProgramMainWindow(); }
};

// A fresh engine with the whole script interface; false when any of it was refused.
bool CreateEngine() {
  static ThreadScriptProgram program;
  const ScriptPlatform platform{GetSystemCalls(), program};
  DeviceThreadState& s = State();
  s.engine.reset(asCreateDebugScriptEngine(20401, s.buildCallback.load(), SaveModuleScript));
  if (!s.engine) return false;
  s.context = s.engine->CreateContext();
  SetLockedScriptContext(s.context ? s.context->Library() : nullptr);
  ScriptRegistrar registrar(s.engine->Library());
  RegisterScriptTypes(registrar);
  RegisterDeviceFunctions(registrar, platform);
  RegisterScriptFunctions(registrar, platform);  // builds the key-name tables first
  if (auto extra = s.extraRegistration.load()) extra(registrar);
  return registrar.Ok() && s.context && s.engine->Library()->GetTypeIdByDecl("int[]") >= 0;
}

struct ScriptChoice {
  std::string label;
  std::string folder;
  int unitId = 0;
};

// The script loader (a second instance in client mode): copies a chosen script over a device's.
void RunScriptLoader() {
  DeviceThreadState& s = State();
  std::vector<ScriptChoice> choices;
  DeviceRecord* match = nullptr;
  for (auto& d : s.devices)
    if (d.productId == s.loaderProductId && d.unitId == s.loaderUnitId) match = &d;
  auto add = [&](const DeviceRecord& d) {
    ScriptChoice c;
    char label[160];
    std::snprintf(label, sizeof label, "%s       ID:%d", DeviceTypeName(d).c_str(), d.unitId);
    c.label = label;
    GetDeviceFolderPath(d.folder, c.folder);
    c.unitId = d.unitId;
    choices.push_back(c);
  };
  int chosen = 0;
  if (match) {
    add(*match);
  } else {
    for (const auto& d : s.devices) add(d);
    std::vector<std::string> labels;
    for (const auto& c : choices) labels.push_back(c.label);
    const int picked = s.loaderHooks.chooseDevice ? s.loaderHooks.chooseDevice(s.mainDialog, labels) : -1;
    // No devices, or nothing selected, is a cancel.
    if (picked < 0 || picked >= static_cast<int>(choices.size())) return;
    chosen = picked;
  }
  const ScriptChoice& c = choices[chosen];
  std::string file;
  if (!s.loaderHooks.chooseScript || !s.loaderHooks.chooseScript(s.mainDialog, c.folder, file)) return;
  const std::string target = JoinPath(c.folder, "Script_" + std::to_string(c.unitId) + ".oxs");
  if (!target.empty()) CopyFileA(file.c_str(), target.c_str(), FALSE);
}

// Everything of the last build cycle but its interfaces. The old records hold pointers into the
// old engine: they go first.
void ReleaseDevicesAndEngine() {
  TearDownDevices();
  StopPeriodicFunction();
  ReleaseEngine();
}

// Builds the device table anew under the engine lock: engine, enumeration, records, unit ids,
// modules.
bool RebuildDeviceTable() {
  DeviceThreadState& s = State();
  ScriptEngineGuard lock;
  ReleaseDevicesAndEngine();
  if (!CreateEngine()) return false;

  int count = 0;
  if (VhxEnumerate(kVendorId, s.enumeration, &count) != VHX_OK) count = 0;
  s.enumerationCount = std::clamp(count, 0, VHX_MAX_ENTRIES);
  s.nextPollTick = GetTickCount() + kPollIntervalMs;
  s.rebuild = false;

  for (int i = 0; i < s.enumerationCount; ++i) {
    const VhxEntry& e = s.enumeration[i];
    if (e.usagePage != kDeviceUsagePage) continue;
    DeviceRecord rec;
    if (!InitDeviceRecord(rec, kVendorId, e.productId, VhxGetVersion(e.handle))) continue;
    rec.pendingKey = kNoPendingKey;
    rec.hidHandle = e.handle;
    if (!SetUpDeviceReports(rec, VhxGetInputLength(e.handle), VhxGetOutputLength(e.handle))) {
      DestroyDeviceRecord(rec);
      continue;
    }
    ReadDeviceDescription(nullptr, &rec);
    s.devices.push_back(std::move(rec));
  }
  for (auto it = s.devices.begin(); it != s.devices.end();) {
    if (IdentifyDevice(*it)) {
      ++it;
    } else {
      DestroyDeviceRecord(*it);
      it = s.devices.erase(it);
    }
  }
  // The next enumeration keeps a device that stays attached open, so that no report it sends
  // during the cycle is lost; an interface that no record took is closed now.
  for (int i = 0; i < s.enumerationCount; ++i)
    if (!FindDeviceByHandle(s.enumeration[i].handle)) VhxCloseInterface(s.enumeration[i].handle);
  std::stable_sort(s.devices.begin(), s.devices.end(),
                   [](const DeviceRecord& a, const DeviceRecord& b) { return a.productId < b.productId; });
  std::stable_sort(s.devices.begin(), s.devices.end(),
                   [](const DeviceRecord& a, const DeviceRecord& b) { return a.unitId < b.unitId; });
  CheckUnitIds(s.devices.data(), static_cast<int>(s.devices.size()));
  PublishTable();

  if (s.scriptLoader) {
    RunScriptLoader();
    s.scriptLoader = false;
  }

  const DWORD now = GetTickCount();
  for (auto& d : s.devices) {
    if (FilePtr script = OpenDeviceScript(d.folder, d.unitId)) {
      const int result = LoadDeviceModuleDlls(d, *s.engine, std::move(script));
      if (result == 0) {
        BackupDeviceScript(d.folder, d.unitId);
      } else if (result == kBuildRestoreBackup) {
        // With no backup, or a backup that fails too, the device keeps no module.
        if (RestoreDeviceScript(d.folder, d.unitId) != 0 ||
            LoadDeviceModuleDlls(d, *s.engine, OpenDeviceScript(d.folder, d.unitId)) != 0)
          d.moduleName.clear();
      }
    }
    if (d.hasLayerLed) {
      d.redLayer = !d.redLayer;  // so that the write is not skipped as unchanged
      SetLayerLed(!d.redLayer, d);
    }
    for (auto& in : d.inputs)
      if (in.period > 0) in.dueTick = now + in.period;
  }
  // One regeneration of every device's script per cycle, after the builds.
  if (auto regenerate = GetDeviceRecordServices().regenerateDeviceScript)
    for (auto& d : s.devices) regenerate(d);
  FindEarliestPeriodicInput();
  FillHandles();
  return true;
}

// A new device table, then the news of it and the windows of switches that are on (outside the
// lock).
bool BuildCycle() {
  if (!RebuildDeviceTable()) return false;
  OnDeviceListChanged(State().mainDialog);
  for (auto& d : State().devices) CheckProgrammingSwitchAtStart(d);
  return true;
}

void RemoveDevice(std::size_t index) {
  DeviceThreadState& s = State();
  DeviceRecord& d = s.devices[index];
  VhxCloseInterface(d.hidHandle);
  CancelAutoRepeatOf(d.hidHandle);
  if (GetCurrentDevice() == &d) SetCurrentDevice(nullptr);
  PublishDeviceTable(nullptr, 0);
  if (s.engine) DiscardDeviceModule(d, *s.engine);
  d.removed = true;
  DestroyDeviceRecord(d);
  s.devices.erase(s.devices.begin() + static_cast<std::ptrdiff_t>(index));
  SetCurrentDevice(nullptr);  // later records moved
  PublishTable();
  FindEarliestPeriodicInput();
  FillHandles();
  s.removalTick = GetTickCount() + kReenumerateDelayMs;
  if (s.removalTick == 0) s.removalTick = 1;
}

void ReadReports(DeviceRecord& device) {
  ResetEvent(device.readEvent);
  const int handle = device.hidHandle;
  for (int n = 0; n < kReportsPerWake; ++n) {
    DeviceRecord* d = FindDeviceByHandle(handle);
    if (!d || !d->setUp || VhxReadReport(handle, d->currentReport.data()) != VHX_OK) return;
    d->unmaskedReport = d->currentReport;
    DispatchInputReport(*d, GetDeviceScriptEngine(), GetDeviceScriptContext());
    if (RunDuePeriodicInput(GetTickCount())) PumpProgramWindows();
  }
}

void PollForChanges(DWORD now) {
  DeviceThreadState& s = State();
  int arrived = 0, removed = 0;
  if (VhxPollChanges(kVendorId, &arrived, &removed) == VHX_OK && (arrived || removed))
    s.rebuild = true;
  s.removalTick = 0;
  s.nextPollTick = now + kPollIntervalMs;
}

void RunAutoRepeat(DWORD now) {
  AutoRepeatState& r = GetAutoRepeat();
  if (!r.active || !TickReached(r.dueTick, now)) return;
  DeviceRecord* d = FindDeviceByHandle(r.hidHandle);
  if (!d || r.inputIndex < 0 || r.inputIndex >= d->inputCount() || r.byteIndex < 0 ||
      r.byteIndex >= static_cast<int>(d->previousReport.size())) {
    CancelAutoRepeat();
    return;
  }
  const int input = r.inputIndex;
  d->previousReport[r.byteIndex] &= static_cast<std::uint8_t>(~r.bitMask);
  DispatchInputReport(*d, GetDeviceScriptEngine(), GetDeviceScriptContext());
  if (r.active && r.inputIndex == input) r.dueTick = now + d->inputs[input].repeatInterval;
}

// The deadlines of a round with devices: checked in every round, whatever ended the wait.
void RunDeadlines() {
  DeviceThreadState& s = State();
  const DWORD now = GetTickCount();
  RunAutoRepeat(now);
  RunDuePeriodicFunction(now, [&](int id) {  // the current device stays as it is
    if (s.context && s.context->Prepare(id) == 0) s.context->Execute();
  });
  RunDuePeriodicInput(now);
  if (TickReached(s.nextPollTick, now)) PollForChanges(now);
}

DWORD WaitTime() {
  DeviceThreadState& s = State();
  const DWORD now = GetTickCount();
  DWORD due = s.nextPollTick;
  auto consider = [&](DWORD tick) {
    if (static_cast<int>(tick - due) < 0) due = tick;
  };
  DeviceRecord* device = nullptr;
  if (InputConfig* in = EarliestPeriodicInput(&device)) consider(in->dueTick);
  if (GetAutoRepeat().active) consider(GetAutoRepeat().dueTick);
  if (PeriodicFunctionRunning()) consider(GetPeriodicFunction().nextRun);
  return TickReached(due, now) ? 0 : due - now;
}

void RoundWithDevices() {
  DeviceThreadState& s = State();
  FillHandles();
  for (std::size_t i = 0; i < s.devices.size(); ++i) {
    if (!s.devices[i].rebuildScript) continue;
    s.devices[i].rebuildScript = false;
    ReloadDeviceScript(s.devices[i], *s.engine, *s.context);
  }
  // After the rebuilds, which take time: the wait must end at the deadline, not after it.
  const DWORD wait = WaitTime();
  const DWORD r = WaitWithMessagePump(static_cast<DWORD>(s.handles.size()), s.handles.data(), wait,
                                      PumpProgramWindows);
  if (r != kWaitTimedOut && r < s.handles.size()) {
    const std::size_t index = r / 2;
    s.lastEventDevice = s.devices[index].hidHandle;
    if (r % 2) {
      RemoveDevice(index);
    } else {
      ReadReports(s.devices[index]);
    }
  }
  RunDeadlines();
  PumpProgramWindows();
}

void RoundWithoutDevices() {
  DeviceThreadState& s = State();
  for (int i = 0; i < 10 && !IsDeviceThreadStopping(); ++i) {
    PumpProgramWindows();
    Sleep(50);
  }
  const DWORD now = GetTickCount();
  const DWORD removal = s.removalTick;
  int arrived = 0, removed = 0;
  if (VhxPollChanges(kVendorId, &arrived, &removed) == VHX_OK && (arrived || removed))
    s.rebuild = true;
  if (removal != 0 && TickReached(removal, now)) {
    s.removalTick = 0;
    s.rebuild = true;
  }
}

void OpenProgramming(DeviceRecord& d) {
  d.programmingRequested = true;
  CheckProgrammingSwitch(d);
  if (auto reveal = GetProgrammingWindowHooks().reveal; reveal && d.programmingWindow) reveal(d);
}

void ClearRequest() {
  RequestDevice = kNoRequestDevice;
  RequestCode = kRequestNone;
}

void HandleRequest() {
  DeviceThreadState& s = State();
  const int code = RequestCode;
  if (code != kRequestReadOnboard) s.onboardRequestPending = false;
  switch (code) {
    case kRequestProgramSwitchable:
    case kRequestProgram:
      if (DeviceRecord* d = FindDeviceByHandle(RequestDevice)) {
        if (code == kRequestProgramSwitchable) d->modeSwitchAvailable = true;
        OpenProgramming(*d);
      } else {
        GetSystemCalls().ShowMessageBox(nullptr, "Invalid configuration for selected Qpad device.",
                                        "Orvane II Error", MB_ICONERROR);
      }
      ClearRequest();
      break;
    case kRequestReadOnboard:
      if (DeviceRecord* d = FindDeviceByHandle(RequestDevice)) {
        // onboardMacros is set only by a read of the device's memory that succeeded: a window
        // over an image never read would write the layout over the device's own macros.
        if (ReadOnboardMacros(*d)) d->onboardMacros = true;
        OpenProgramming(*d);
        ClearRequest();
        s.onboardRequestPending = false;
      } else if (!s.onboardRequestPending) {
        s.onboardRequestPending = true;
        s.onboardRequestSince = GetTickCount();
      } else if (GetTickCount() - s.onboardRequestSince >= kOnboardRequestLimitMs) {
        // The device never came back: the slot must not stay taken for good.
        s.onboardRequestPending = false;
        ClearRequest();
      }
      break;
    case kRequestScriptLoader:
      // The build cycle numbers the handles anew: remember the device by product and unit.
      if (DeviceRecord* d = FindDeviceByHandle(RequestDevice)) {
        s.loaderProductId = d->productId;
        s.loaderUnitId = d->unitId;
      } else {
        s.loaderProductId = s.loaderUnitId = -1;
      }
      s.scriptLoader = true;
      s.rebuild = true;
      RequestCode = kRequestNone;
      break;
    case kRequestPendingKey:
      if (DeviceRecord* d = FindDeviceByHandle(s.lastEventDevice)) CheckProgrammingSwitch(*d);
      RequestCode = kRequestNone;
      break;
    case kRequestRebuild:
      s.rebuild = true;
      RequestCode = kRequestNone;
      break;
    default:
      break;
  }
}

void EndThread() {
  ScriptEngineGuard lock;
  CloseProgramThreadWindows();
  if (State().hooks.ending) State().hooks.ending();
  ReleaseDevicesAndEngine();
  CloseEnumeration();
  FreeDeviceFolders();
  ClearKeyNameTables();
  SetDeviceThreadStopping(false);
}

DWORD WINAPI DeviceThreadMain(LPVOID) {
  DeviceThreadState& s = State();
  DeviceRecordServices services = GetDeviceRecordServices();
  services.lockScriptEngine = [] { LockScriptEngine(); };
  services.unlockScriptEngine = UnlockScriptEngine;
  services.findModuleGlobal = FindModuleGlobal;
  SetDeviceRecordServices(services);
  if (s.hooks.started) s.hooks.started();

  s.rebuild = true;
  while (!IsDeviceThreadStopping()) {
    if (s.rebuild && !BuildCycle()) {
      EndThread();
      GetSystemCalls().ShowMessageBox(nullptr, "The script engine could not be set up.",
                                      "Orvane II Error", MB_ICONERROR);
      return 1;
    }
    if (!s.devices.empty()) {
      RoundWithDevices();
    } else {
      RoundWithoutDevices();
    }
    HandleRequest();
  }
  EndThread();
  return 0;
}

}  // namespace

UniqueHandle StartDeviceThread(HWND mainDialog, bool programmingAllowed) {
  DeviceThreadState& s = State();
  SetDeviceThreadStopping(false);
  SetProgrammingAllowed(programmingAllowed);
  s.mainDialog = mainDialog;
  // 10240 bytes committed at first; the reserve stays the program's default, which script
  // calls need.
  UniqueHandle thread(CreateThread(nullptr, 10240, DeviceThreadMain, mainDialog, 0, nullptr));
  if (!thread) return thread;
  HANDLE own = nullptr;
  DuplicateHandle(GetCurrentProcess(), thread.get(), GetCurrentProcess(), &own, SYNCHRONIZE,
                  FALSE, 0);
  s.thread.reset(own);
  return thread;
}

bool StopDeviceThread() {
  DeviceThreadState& s = State();
  if (!s.thread) return true;
  if (IsDeviceThreadStopping() && WaitForSingleObject(s.thread.get(), 0) != WAIT_OBJECT_0)
    return false;
  SetDeviceThreadStopping(true);
  WakeDeviceThreadFor(kNoRequestDevice);
  bool ended = false;
  for (DWORD waited = 0; !ended && waited < kStopLimitMs; waited += kStopPollMs)
    ended = WaitForSingleObject(s.thread.get(), kStopPollMs) == WAIT_OBJECT_0;
  if (!ended) return false;  // still in a modal wait: it keeps its state, and the flag
  s.thread.reset();
  SetDeviceThreadStopping(false);
  return true;
}

void SetDeviceBuildCallback(DeviceBuildCallback callback) { State().buildCallback = callback; }

void SetDeviceThreadHooks(const DeviceThreadHooks& hooks) { State().hooks = hooks; }

void SetExtraScriptRegistration(void (*registration)(ScriptRegistrar&)) {
  State().extraRegistration = registration;
}

asCDebugScriptEngine* GetDeviceScriptEngine() { return State().engine.get(); }
asCDebugContext* GetDeviceScriptContext() { return State().context.get(); }

void SetScriptLoaderHooks(const ScriptLoaderHooks& hooks) { State().loaderHooks = hooks; }
