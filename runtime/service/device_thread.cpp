#include "runtime/service/device_thread.h"

#include <windows.h>
#include <angelscript.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/file_replace.h"
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

struct ScriptChoice {
  std::string label;
  std::string folder;
  int unitId = 0;
};

}  // namespace

// The thread's state and its rounds.
class DeviceService::Thread {
 public:
  Thread(DeviceServiceHost& host, SystemCalls& calls, HostProcess& hostProcess)
      : host_(host), calls_(calls), hostProcess_(hostProcess), dispatch_(host, hostProcess, calls),
        records_(*this) {}

  UniqueHandle Start(HWND mainDialog, bool programmingAllowed);
  bool Stop();
  asCDebugScriptEngine* Engine() const { return engine_.get(); }
  asCDebugContext* Context() const { return context_.get(); }

  // The thread of the service that runs, for the engine accessors.
  static inline std::atomic<const Thread*> running{nullptr};

 private:
  // What the thread's records ask of it.
  class RecordServices : public DeviceRecordServices {
   public:
    explicit RecordServices(Thread& thread) : thread_(thread) {}
    void LockScriptEngine() override { ::LockScriptEngine(); }
    bool UnlockScriptEngine() override { return ::UnlockScriptEngine(); }
    void* FindModuleGlobal(DeviceRecord& device, const std::string& name) override {
      return thread_.engine_ ? ::FindModuleGlobal(device, name, *thread_.engine_) : nullptr;
    }
    void RegenerateDeviceScript(DeviceRecord& device) override { thread_.host_.RegenerateDeviceScript(device); }

   private:
    Thread& thread_;
  };

  static DWORD WINAPI Main(LPVOID thread);
  DWORD Run();
  void PumpWindows() { host_.PumpWindows(); }

  DeviceRecord* FindDeviceByHandle(int hidHandle);
  void PublishTable();
  void FillHandles();
  void FindEarliestPeriodicInput();
  InputConfig* EarliestPeriodicInput(DeviceRecord** device);
  bool RunDuePeriodicInput(DWORD now);
  void TearDownDevices();
  void CloseEnumeration();
  void ReleaseEngine();
  bool CreateEngine();
  void RunScriptLoader();
  void ReleaseDevicesAndEngine();
  bool RebuildDeviceTable();
  bool BuildCycle();
  void RemoveDevice(std::size_t index);
  void ReadReports(DeviceRecord& device);
  void PollForChanges(DWORD now);
  void RunAutoRepeat(DWORD now);
  void RunDeadlines();
  DWORD WaitTime();
  void RoundWithDevices();
  void RoundWithoutDevices();
  void OpenProgramming(DeviceRecord& device);
  void HandleRequest();
  void EndThread();

  DeviceServiceHost& host_;
  SystemCalls& calls_;
  HostProcess& hostProcess_;
  InputDispatch dispatch_;
  RecordServices records_;

  UniqueHandle thread_;  // our own handle, for the bounded wait at stop
  HWND mainDialog_ = nullptr;

  DeviceRecords devices_;       // the device table
  std::vector<HANDLE> handles_;        // read and removal event of each device, in table order
  std::unique_ptr<asCDebugScriptEngine> engine_;
  std::unique_ptr<asCDebugContext> context_;

  bool rebuild_ = false;
  bool scriptLoader_ = false;
  DWORD nextPollTick_ = 0;
  DWORD removalTick_ = 0;  // 0: none
  PeriodicInputRef earliestPeriodic_;
  int lastEventDevice_ = -1;  // HID handle of the device whose event ended the last wait
  // The device a script-loader request named, by what survives the next enumeration.
  int loaderProductId_ = -1;
  int loaderUnitId_ = -1;
  DWORD onboardRequestSince_ = 0;
  bool onboardRequestPending_ = false;

  VhxEntry enumeration_[VHX_MAX_ENTRIES] = {};
  int enumerationCount_ = 0;
};

DeviceRecord* DeviceService::Thread::FindDeviceByHandle(int hidHandle) {
  for (const auto& d : devices_)
    if (d->hidHandle == hidHandle) return d.get();
  return nullptr;
}

void DeviceService::Thread::PublishTable() { PublishDeviceTable(&devices_); }

void DeviceService::Thread::FillHandles() {
  handles_.clear();
  for (const auto& d : devices_) {
    handles_.push_back(d->readEvent);
    handles_.push_back(d->removalEvent);
  }
}

// The periodic input entry due first, over all devices.
void DeviceService::Thread::FindEarliestPeriodicInput() {
  earliestPeriodic_ = {};
  DWORD best = 0;
  for (const auto& d : devices_) {
    for (int i = 0; i < d->inputCount(); ++i) {
      const InputConfig& in = d->inputs[i];
      if (in.period <= 0) continue;
      if (earliestPeriodic_.hidHandle < 0 || static_cast<int>(in.dueTick - best) < 0) {
        earliestPeriodic_ = {d->hidHandle, i};
        best = in.dueTick;
      }
    }
  }
}

InputConfig* DeviceService::Thread::EarliestPeriodicInput(DeviceRecord** device) {
  const PeriodicInputRef& ref = earliestPeriodic_;
  DeviceRecord* d = FindDeviceByHandle(ref.hidHandle);
  // An entry whose key auto-repeats has its period set to 0: it is no longer periodic.
  if (!d || ref.inputIndex < 0 || ref.inputIndex >= d->inputCount() || d->inputs[ref.inputIndex].period <= 0)
    return nullptr;
  *device = d;
  return &d->inputs[ref.inputIndex];
}

// Runs the earliest periodic input when it is due; true when it ran.
bool DeviceService::Thread::RunDuePeriodicInput(DWORD now) {
  DeviceRecord* device = nullptr;
  InputConfig* input = EarliestPeriodicInput(&device);
  if (!input || !TickReached(input->dueTick, now)) return false;
  dispatch_.RunPeriodicInputs(*device, *input, engine_.get(), context_.get());
  FindEarliestPeriodicInput();
  return true;
}

namespace {

void CancelAutoRepeatOf(int hidHandle) {
  if (GetAutoRepeat().active && GetAutoRepeat().hidHandle == hidHandle) CancelAutoRepeat();
}

}  // namespace

void DeviceService::Thread::TearDownDevices() {
  PublishDeviceTable(nullptr);
  SetCurrentDevice(nullptr);
  for (auto& d : devices_) DestroyDeviceRecord(*d);
  devices_.clear();
  CancelAutoRepeat();
  earliestPeriodic_ = {};
  handles_.clear();
}

void DeviceService::Thread::CloseEnumeration() {
  for (int i = 0; i < enumerationCount_; ++i) VhxCloseInterface(enumeration_[i].handle);
  enumerationCount_ = 0;
}

void DeviceService::Thread::ReleaseEngine() {
  if (engine_) host_.EngineReleasing();
  SetLockedScriptContext(nullptr);
  context_.reset();  // contexts go before their engine
  engine_.reset();
}

// A fresh engine with the whole script interface; false when any of it was refused.
bool DeviceService::Thread::CreateEngine() {
  engine_.reset(asCreateDebugScriptEngine(20401, host_.BuildCallback(), SaveModuleScript));
  if (!engine_) return false;
  context_ = engine_->CreateContext();
  SetLockedScriptContext(context_ ? context_->Library() : nullptr);
  const ScriptPlatform platform{calls_, host_};
  ScriptRegistrar registrar(engine_->Library());
  RegisterScriptTypes(registrar);
  RegisterDeviceFunctions(registrar, platform);
  RegisterScriptFunctions(registrar, platform);  // builds the key-name tables first
  host_.RegisterMoreScriptFunctions(registrar);
  return registrar.Ok() && context_ && engine_->Library()->GetTypeIdByDecl("int[]") >= 0;
}

// The script loader (a second instance in client mode): copies a chosen script over a device's.
void DeviceService::Thread::RunScriptLoader() {
  std::vector<ScriptChoice> choices;
  DeviceRecord* match = nullptr;
  for (const auto& d : devices_)
    if (d->productId == loaderProductId_ && d->unitId == loaderUnitId_) match = d.get();
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
    for (const auto& d : devices_) add(*d);
    std::vector<std::string> labels;
    for (const auto& c : choices) labels.push_back(c.label);
    const int picked = host_.ChooseScriptDevice(mainDialog_, labels);
    // No devices, or nothing selected, is a cancel.
    if (picked < 0 || picked >= static_cast<int>(choices.size())) return;
    chosen = picked;
  }
  const ScriptChoice& c = choices[chosen];
  const std::optional<std::string> file = host_.ChooseScriptFile(mainDialog_, c.folder);
  if (!file) return;
  const std::string target = JoinPath(c.folder, "Script_" + std::to_string(c.unitId) + ".oxs");
  // The device thread may read the script at any moment: it sees the old one or the new one.
  if (!target.empty()) CopyFileOver(*file, target);
}

// Everything of the last build cycle but its interfaces. The old records hold pointers into the
// old engine: they go first.
void DeviceService::Thread::ReleaseDevicesAndEngine() {
  TearDownDevices();
  StopPeriodicFunction();
  ReleaseEngine();
}

// Builds the device table anew under the engine lock: engine, enumeration, records, unit ids,
// modules.
bool DeviceService::Thread::RebuildDeviceTable() {
  ScriptEngineGuard lock;
  ReleaseDevicesAndEngine();
  if (!CreateEngine()) return false;

  int count = 0;
  if (VhxEnumerate(kVendorId, enumeration_, &count) != VHX_OK) count = 0;
  enumerationCount_ = std::clamp(count, 0, VHX_MAX_ENTRIES);
  nextPollTick_ = GetTickCount() + kPollIntervalMs;
  rebuild_ = false;

  for (int i = 0; i < enumerationCount_; ++i) {
    const VhxEntry& e = enumeration_[i];
    if (e.usagePage != kDeviceUsagePage) continue;
    auto rec = std::make_unique<DeviceRecord>();
    if (!InitDeviceRecord(*rec, kVendorId, e.productId, VhxGetVersion(e.handle), records_)) continue;
    rec->pendingKey = kNoPendingKey;
    rec->hidHandle = e.handle;
    if (!SetUpDeviceReports(*rec, VhxGetInputLength(e.handle), VhxGetOutputLength(e.handle))) {
      DestroyDeviceRecord(*rec);
      continue;
    }
    ReadDeviceDescription(nullptr, rec.get());
    devices_.push_back(std::move(rec));
  }
  for (auto it = devices_.begin(); it != devices_.end();) {
    if (IdentifyDevice(**it, host_)) {
      ++it;
    } else {
      DestroyDeviceRecord(**it);
      it = devices_.erase(it);
    }
  }
  // The next enumeration keeps a device that stays attached open, so that no report it sends
  // during the cycle is lost; an interface that no record took is closed now.
  for (int i = 0; i < enumerationCount_; ++i)
    if (!FindDeviceByHandle(enumeration_[i].handle)) VhxCloseInterface(enumeration_[i].handle);
  using Owned = std::unique_ptr<DeviceRecord>;
  std::stable_sort(devices_.begin(), devices_.end(),
                   [](const Owned& a, const Owned& b) { return a->productId < b->productId; });
  std::stable_sort(devices_.begin(), devices_.end(),
                   [](const Owned& a, const Owned& b) { return a->unitId < b->unitId; });
  CheckUnitIds(devices_, host_, calls_);
  PublishTable();

  if (scriptLoader_) {
    RunScriptLoader();
    scriptLoader_ = false;
  }

  const DWORD now = GetTickCount();
  for (const auto& owned : devices_) {
    DeviceRecord& d = *owned;
    if (FilePtr script = OpenDeviceScript(d.folder, d.unitId)) {
      const int result = LoadDeviceModuleDlls(d, *engine_, context_.get(), std::move(script));
      if (result == 0) {
        BackupDeviceScript(d.folder, d.unitId);
      } else if (result == kBuildRestoreBackup) {
        // With no backup, or a backup that fails too, the device keeps no module.
        if (RestoreDeviceScript(d.folder, d.unitId) != 0 ||
            LoadDeviceModuleDlls(d, *engine_, context_.get(), OpenDeviceScript(d.folder, d.unitId)) != 0)
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
  for (const auto& d : devices_) host_.RegenerateDeviceScript(*d);
  FindEarliestPeriodicInput();
  FillHandles();
  return true;
}

// A new device table, then the news of it and the windows of switches that are on (outside the
// lock).
bool DeviceService::Thread::BuildCycle() {
  if (!RebuildDeviceTable()) return false;
  OnDeviceListChanged(mainDialog_, hostProcess_);
  for (const auto& d : devices_) dispatch_.CheckProgrammingSwitchAtStart(*d);
  return true;
}

void DeviceService::Thread::RemoveDevice(std::size_t index) {
  DeviceRecord& d = *devices_[index];
  VhxCloseInterface(d.hidHandle);
  CancelAutoRepeatOf(d.hidHandle);
  if (GetCurrentDevice() == &d) SetCurrentDevice(nullptr);
  PublishDeviceTable(nullptr);
  if (engine_) DiscardDeviceModule(d, *engine_);
  d.removed = true;
  DestroyDeviceRecord(d);
  devices_.erase(devices_.begin() + static_cast<std::ptrdiff_t>(index));
  SetCurrentDevice(nullptr);  // a removal leaves no device current: the next event names one
  PublishTable();
  FindEarliestPeriodicInput();
  FillHandles();
  removalTick_ = GetTickCount() + kReenumerateDelayMs;
  if (removalTick_ == 0) removalTick_ = 1;
}

void DeviceService::Thread::ReadReports(DeviceRecord& device) {
  ResetEvent(device.readEvent);
  const int handle = device.hidHandle;
  for (int n = 0; n < kReportsPerWake; ++n) {
    DeviceRecord* d = FindDeviceByHandle(handle);
    if (!d || !d->setUp || VhxReadReport(handle, d->currentReport.data()) != VHX_OK) return;
    d->unmaskedReport = d->currentReport;
    dispatch_.DispatchInputReport(*d, engine_.get(), context_.get());
    if (RunDuePeriodicInput(GetTickCount())) PumpWindows();
  }
}

void DeviceService::Thread::PollForChanges(DWORD now) {
  int arrived = 0, removed = 0;
  if (VhxPollChanges(kVendorId, &arrived, &removed) == VHX_OK && (arrived || removed)) rebuild_ = true;
  removalTick_ = 0;
  nextPollTick_ = now + kPollIntervalMs;
}

void DeviceService::Thread::RunAutoRepeat(DWORD now) {
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
  dispatch_.DispatchInputReport(*d, engine_.get(), context_.get());
  if (r.active && r.inputIndex == input) r.dueTick = now + d->inputs[input].repeatInterval;
}

// The deadlines of a round with devices: checked in every round, whatever ended the wait.
void DeviceService::Thread::RunDeadlines() {
  const DWORD now = GetTickCount();
  RunAutoRepeat(now);
  RunDuePeriodicFunction(now, [&](int id) {  // the current device stays as it is
    if (context_ && context_->Prepare(id) == 0) context_->Execute();
  });
  RunDuePeriodicInput(now);
  if (TickReached(nextPollTick_, now)) PollForChanges(now);
}

DWORD DeviceService::Thread::WaitTime() {
  const DWORD now = GetTickCount();
  DWORD due = nextPollTick_;
  auto consider = [&](DWORD tick) {
    if (static_cast<int>(tick - due) < 0) due = tick;
  };
  DeviceRecord* device = nullptr;
  if (InputConfig* in = EarliestPeriodicInput(&device)) consider(in->dueTick);
  if (GetAutoRepeat().active) consider(GetAutoRepeat().dueTick);
  if (PeriodicFunctionRunning()) consider(GetPeriodicFunction().nextRun);
  return TickReached(due, now) ? 0 : due - now;
}

void DeviceService::Thread::RoundWithDevices() {
  FillHandles();
  for (const auto& d : devices_) {
    if (!d->rebuildScript) continue;
    d->rebuildScript = false;
    ReloadDeviceScript(*d, *engine_, *context_);
  }
  // After the rebuilds, which take time: the wait must end at the deadline, not after it.
  const DWORD wait = WaitTime();
  const DWORD r = WaitWithMessagePump(static_cast<DWORD>(handles_.size()), handles_.data(), wait,
                                      [this] { PumpWindows(); });
  if (r != kWaitTimedOut && r < handles_.size()) {
    const std::size_t index = r / 2;
    lastEventDevice_ = devices_[index]->hidHandle;
    if (r % 2) {
      RemoveDevice(index);
    } else {
      ReadReports(*devices_[index]);
    }
  }
  RunDeadlines();
  PumpWindows();
}

void DeviceService::Thread::RoundWithoutDevices() {
  for (int i = 0; i < 10 && !IsDeviceThreadStopping(); ++i) {
    PumpWindows();
    Sleep(50);
  }
  const DWORD now = GetTickCount();
  const DWORD removal = removalTick_;
  int arrived = 0, removed = 0;
  if (VhxPollChanges(kVendorId, &arrived, &removed) == VHX_OK && (arrived || removed)) rebuild_ = true;
  if (removal != 0 && TickReached(removal, now)) {
    removalTick_ = 0;
    rebuild_ = true;
  }
}

void DeviceService::Thread::OpenProgramming(DeviceRecord& d) {
  d.programmingRequested = true;
  dispatch_.CheckProgrammingSwitch(d);
  if (d.programmingWindow) host_.RevealProgrammingWindow(d);
}

namespace {

void ClearRequest() {
  RequestDevice = kNoRequestDevice;
  RequestCode = kRequestNone;
}

}  // namespace

void DeviceService::Thread::HandleRequest() {
  const int code = RequestCode;
  if (code != kRequestReadOnboard) onboardRequestPending_ = false;
  switch (code) {
    case kRequestProgramSwitchable:
    case kRequestProgram:
      if (DeviceRecord* d = FindDeviceByHandle(RequestDevice)) {
        if (code == kRequestProgramSwitchable) d->modeSwitchAvailable = true;
        OpenProgramming(*d);
      } else {
        calls_.ShowMessageBox(nullptr, "Invalid configuration for selected Qpad device.", "Orvane II Error",
                              BoxButtons::Ok, BoxIcon::Error);
      }
      ClearRequest();
      break;
    case kRequestReadOnboard:
      if (DeviceRecord* d = FindDeviceByHandle(RequestDevice)) {
        // onboardMacros is set only by a read of the device's memory that succeeded: a window
        // over an image never read would write the layout over the device's own macros.
        if (host_.ReadOnboardMacros(*d)) d->onboardMacros = true;
        OpenProgramming(*d);
        ClearRequest();
        onboardRequestPending_ = false;
      } else if (!onboardRequestPending_) {
        onboardRequestPending_ = true;
        onboardRequestSince_ = GetTickCount();
      } else if (GetTickCount() - onboardRequestSince_ >= kOnboardRequestLimitMs) {
        // The device never came back: the slot must not stay taken for good.
        onboardRequestPending_ = false;
        ClearRequest();
      }
      break;
    case kRequestScriptLoader:
      // The build cycle numbers the handles anew: remember the device by product and unit.
      if (DeviceRecord* d = FindDeviceByHandle(RequestDevice)) {
        loaderProductId_ = d->productId;
        loaderUnitId_ = d->unitId;
      } else {
        loaderProductId_ = loaderUnitId_ = -1;
      }
      scriptLoader_ = true;
      rebuild_ = true;
      RequestCode = kRequestNone;
      break;
    case kRequestPendingKey:
      if (DeviceRecord* d = FindDeviceByHandle(lastEventDevice_)) dispatch_.CheckProgrammingSwitch(*d);
      RequestCode = kRequestNone;
      break;
    case kRequestRebuild:
      rebuild_ = true;
      RequestCode = kRequestNone;
      break;
    default:
      break;
  }
}

void DeviceService::Thread::EndThread() {
  ScriptEngineGuard lock;
  host_.ThreadEnding();
  ReleaseDevicesAndEngine();
  CloseEnumeration();
  FreeDeviceFolders();
  ClearKeyNameTables();
  SetDeviceThreadStopping(false);
}

DWORD WINAPI DeviceService::Thread::Main(LPVOID thread) { return static_cast<Thread*>(thread)->Run(); }

DWORD DeviceService::Thread::Run() {
  host_.ThreadStarted();
  rebuild_ = true;
  while (!IsDeviceThreadStopping()) {
    if (rebuild_ && !BuildCycle()) {
      EndThread();
      calls_.ShowMessageBox(nullptr, "The script engine could not be set up.", "Orvane II Error", BoxButtons::Ok,
                            BoxIcon::Error);
      return 1;
    }
    if (!devices_.empty()) {
      RoundWithDevices();
    } else {
      RoundWithoutDevices();
    }
    HandleRequest();
  }
  EndThread();
  return 0;
}

UniqueHandle DeviceService::Thread::Start(HWND mainDialog, bool programmingAllowed) {
  const Thread* none = nullptr;
  if (thread_ || !running.compare_exchange_strong(none, this)) return UniqueHandle();
  SetDeviceThreadStopping(false);
  SetProgrammingAllowed(programmingAllowed);
  mainDialog_ = mainDialog;
  // 10240 bytes committed at first; the reserve stays the program's default, which script
  // calls need.
  UniqueHandle thread(CreateThread(nullptr, 10240, Main, this, 0, nullptr));
  if (!thread) {
    running = nullptr;
    return thread;
  }
  HANDLE own = nullptr;
  DuplicateHandle(GetCurrentProcess(), thread.get(), GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0);
  thread_.reset(own);
  return thread;
}

bool DeviceService::Thread::Stop() {
  if (!thread_) return true;
  if (IsDeviceThreadStopping() && WaitForSingleObject(thread_.get(), 0) != WAIT_OBJECT_0) return false;
  SetDeviceThreadStopping(true);
  WakeDeviceThreadFor(kNoRequestDevice);
  bool ended = false;
  for (DWORD waited = 0; !ended && waited < kStopLimitMs; waited += kStopPollMs)
    ended = WaitForSingleObject(thread_.get(), kStopPollMs) == WAIT_OBJECT_0;
  if (!ended) return false;  // still in a modal wait: it keeps its state, and the flag
  thread_.reset();
  SetDeviceThreadStopping(false);
  running = nullptr;
  return true;
}

DeviceService::DeviceService(DeviceServiceHost& host, SystemCalls& calls, HostProcess& hostProcess)
    : thread_(std::make_unique<Thread>(host, calls, hostProcess)) {}

DeviceService::~DeviceService() {
  // A thread that did not end still runs on its state: it stays to the end of the process.
  if (!thread_->Stop()) thread_.release();
}

UniqueHandle DeviceService::Start(HWND mainDialog, bool programmingAllowed) {
  return thread_->Start(mainDialog, programmingAllowed);
}

bool DeviceService::Stop() { return thread_->Stop(); }

asCDebugScriptEngine* GetDeviceScriptEngine() {
  const DeviceService::Thread* thread = DeviceService::Thread::running;
  return thread ? thread->Engine() : nullptr;
}

asCDebugContext* GetDeviceScriptContext() {
  const DeviceService::Thread* thread = DeviceService::Thread::running;
  return thread ? thread->Context() : nullptr;
}
