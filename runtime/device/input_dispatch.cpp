#include "runtime/device/input_dispatch.h"

#include <angelscript.h>

#include <algorithm>
#include <cstddef>
#include <optional>

#include "runtime/device/device_identification.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/host_interface.h"
#include "runtime/device/programming_refusal.h"
#include "runtime/keys/key_codes.h"
#include "runtime/script/debug_engine.h"

namespace {

// How scan-code fields read a report: the keys that changed since the previous report, or
// (periodic inputs) the keys as they are now.
enum class WalkMode { Changes, Present };

struct DispatchState {
  InputConfig* lastInput = nullptr;  // the entry that made the last call
  InputField* pressField = nullptr;  // the "scanCodeDown" field of the call under way
  int forwardedKeys = 0;
};

DispatchState& State() {
  static DispatchState state;
  return state;
}

// A report byte; 0 outside the buffer, so a report shorter than its configuration reads as
// keys up and values 0.
std::uint8_t At(const std::vector<std::uint8_t>& report, int index) {
  return index >= 0 && index < static_cast<int>(report.size()) ? report[index] : 0;
}

void StorePrevious(DeviceRecord& d) { d.previousReport = d.currentReport; }

// Where one entry's calls go: a script function through the context, or the host that claimed
// the device.
struct CallTarget {
  asIScriptEngine* engine = nullptr;
  asCDebugContext* context = nullptr;
  asIScriptFunction* function = nullptr;
  int paramCount = 0;
  int intArrayType = -1;
  HostProcess* host = nullptr;  // null: the script function
  int hostId = 0;
};

bool IsHostMode(const DeviceRecord& d, HostProcess& host, CallTarget& target) {
  const std::optional<int> claim = host.ClaimOn(d);
  if (!claim) return false;
  target.host = &host;
  target.hostId = *claim;
  return true;
}

// True when every parameter of the function can be given safely from the entry's fields:
// "values" needs an int[] parameter, every other field a plain value, and a parameter without
// a field must be a plain value (it then reads 0). An object or reference left unset would
// reach the script as a null reference.
bool ParametersFit(const InputConfig& in, const CallTarget& t) {
  for (int p = 0; p < t.paramCount; ++p) {
    int typeId = 0;
    asDWORD flags = 0;
    if (t.function->GetParam(static_cast<asUINT>(p), &typeId, &flags) < 0) return false;
    const bool plain = flags == asTM_NONE && t.engine->GetSizeOfPrimitiveType(typeId) > 0;
    if (p < in.fieldCount() && in.fields[p].type == kFieldValues) {
      if (typeId != t.intArrayType || t.intArrayType < 0) return false;
    } else if (!plain) {
      return false;
    }
  }
  return true;
}

// The entry's function in the device's module, ready to call; false when the module lacks
// it or its parameters cannot be given.
bool FindFunction(const DeviceRecord& d, const InputConfig& in, asCDebugScriptEngine& engine,
                  CallTarget& t) {
  const int index = engine.FindModule(d.moduleName.c_str());
  asIScriptModule* module = index >= 0 ? engine.LibraryModule(index) : nullptr;
  t.function = module ? module->GetFunctionByDecl(in.declaration.c_str()) : nullptr;
  if (!t.function) return false;
  t.paramCount = static_cast<int>(t.function->GetParamCount());
  return ParametersFit(in, t);
}

void ResetWalks(InputConfig& in) {
  for (InputField& f : in.fields) {
    f.cursor = 0;
    f.bitMask = 1;
    f.bitNumber = 0;
  }
}

void StepBit(InputField& f) {
  if (f.bitNumber >= 7) {
    ++f.cursor;
    f.bitNumber = 0;
    f.bitMask = 1;
  } else {
    f.bitMask = static_cast<std::uint8_t>(f.bitMask << 1);
    ++f.bitNumber;
  }
}

bool Reports(ReportFieldType type, bool down) {
  return type == kFieldScanCodeDown ? down : type == kFieldScanCodeUp ? !down : true;
}

// Walks a scan-code field on from where its last pass stopped, to the next key it reports.
// True with the key code when one was found.
bool NextKey(InputField& f, const DeviceRecord& d, WalkMode mode, int& code) {
  while (f.cursor < f.count) {
    const int byte = f.position + f.cursor;
    const std::uint8_t now = At(d.currentReport, byte);
    const std::uint8_t before = At(d.previousReport, byte);
    if (mode == WalkMode::Changes && now == before) {
      ++f.cursor;
      f.bitMask = 1;
      f.bitNumber = 0;
      continue;
    }
    const bool down = (now & f.bitMask) != 0;
    const bool changed = down != ((before & f.bitMask) != 0);
    const bool found = (mode == WalkMode::Present || changed) && Reports(f.type, down);
    if (found) {
      code = KeyCode(f.cursor, f.bitNumber);
      if (f.type == kFieldScanCodeChanged && down) code += 256;
    }
    StepBit(f);
    if (found) return true;
  }
  return false;
}

// A call for a change cancels the auto-repeat (the held key's KeyDown renews it); a periodic
// call does not, or a device with a periodic input would stop every other device's repeat.
void Call(DeviceRecord& d, InputConfig& in, CallTarget& t, WalkMode mode) {
  DispatchState& s = State();
  s.lastInput = &in;
  if (mode == WalkMode::Changes) CancelAutoRepeat();
  SetCurrentDevice(&d);
  // Neither a script nor a host may end the device thread.
  try {
    if (t.host) {
      const int length = std::min<int>(d.inputLength, static_cast<int>(d.currentReport.size()));
      t.host->TakeReport(t.hostId, d.currentReport.data(), length);
    } else {
      t.context->Execute();
    }
  } catch (...) {
  }
}

// One input entry: one call per pass in which something changed; passes repeat while a
// scan-code field reports another key. Only scan-code keys count after the first pass, so
// a value that changed is not reported again with the key argument left at 0.
void RunEntry(DeviceRecord& d, InputConfig& in, CallTarget& t, WalkMode mode) {
  DispatchState& s = State();
  ResetWalks(in);
  std::size_t arrayCount = 0;
  for (const InputField& f : in.fields) arrayCount += f.type == kFieldValues;
  std::vector<std::vector<std::int32_t>> arrays(arrayCount);  // alive until the call returns
  for (bool first = true;; first = false) {
    bool again = false, changed = false;
    if (!t.host && t.context->Prepare(t.function) < 0) return;
    s.pressField = nullptr;
    std::size_t nextArray = 0;
    for (int n = 0; n < in.fieldCount(); ++n) {
      InputField& f = in.fields[n];
      const bool setArg = !t.host && n < t.paramCount;
      const asUINT arg = static_cast<asUINT>(n);
      bool differs = false;
      switch (f.type) {
        case kFieldValue: {
          const std::uint8_t b = At(d.currentReport, f.position);
          if (setArg) t.context->SetArgDWord(arg, b);
          differs = mode == WalkMode::Present || b != At(d.previousReport, f.position);
          break;
        }
        case kFieldValues: {
          std::vector<std::int32_t>& a = arrays[nextArray++];
          a.clear();
          for (int i = f.position; i < f.count; ++i) {
            a.push_back(At(d.currentReport, i));
            differs |= At(d.currentReport, i) != At(d.previousReport, i);
          }
          differs |= mode == WalkMode::Present;
          if (setArg) t.context->SetArgObject(arg, &a);
          break;
        }
        case kFieldScanCodeDown:
        case kFieldScanCodeUp:
        case kFieldScanCodeChanged: {
          int code = 0;
          if (NextKey(f, d, mode, code)) {
            changed = again = true;
            if (setArg) t.context->SetArgDWord(arg, static_cast<asDWORD>(code));
            if (f.type == kFieldScanCodeDown) s.pressField = &f;
          }
          break;
        }
        case kFieldConstant:
          if (setArg) t.context->SetArgDWord(arg, static_cast<asDWORD>(f.position));
          differs = mode == WalkMode::Present;
          break;
        case kFieldRequire: {
          const std::uint8_t b = At(d.currentReport, f.position);
          if (b != static_cast<std::uint8_t>(f.count)) {
            changed = false;
            n = in.fieldCount();  // the rest of this pass is skipped
          } else {
            differs = mode == WalkMode::Present || b != At(d.previousReport, f.position);
          }
          break;
        }
        default:
          break;
      }
      if (first && differs) changed = true;
    }
    if (changed) Call(d, in, t, mode);
    s.pressField = nullptr;  // the auto-repeat can start only inside the call
    if (!again) return;
  }
}

// The thread's engine, context and the type id of "int[]"; false when there is no engine.
bool ScriptTarget(asCDebugScriptEngine* engine, asCDebugContext* context, CallTarget& t) {
  if (!engine || !context) return false;
  t.engine = engine->Library();
  t.context = context;
  t.intArrayType = engine->Library()->GetTypeIdByDecl("int[]");
  return true;
}

void CloseProgrammingWindow(DeviceRecord& d) {
  if (IsWindow(d.programmingWindow)) DestroyWindow(d.programmingWindow);
  d.programmingWindow = nullptr;
  // Both writes, so the green layer is shown whatever the layer was before.
  SetLayerLed(true, d);
  SetLayerLed(false, d);
}

}  // namespace

bool InputDispatch::OpenProgrammingWindow(DeviceRecord& d) {
  const auto* leds = static_cast<const std::uint8_t*>(d.services->FindModuleGlobal(d, "QpadLEDs"));
  d.redLayerAtOpen = leds && (*leds & d.redLedMask) != 0;
  d.redLayer = d.redLayerAtOpen;
  HWND window = windows_.OpenProgrammingWindow(d);
  if (!window) {
    // Without a window the request is dropped, so the device's reports reach its scripts
    // again instead of making a new attempt each time.
    d.programmingWindow = nullptr;
    d.programmingRequested = false;
    return false;
  }
  d.programmingWindow = window;
  if (d.pendingKey != kNoPendingKey) windows_.ProgrammingKey(d, d.pendingKey, true);
  return true;
}

// Every key change in the key range goes to the window; the programming switch is no key.
void InputDispatch::ForwardKeyChanges(DeviceRecord& d) {
  DispatchState& s = State();
  if (d.firstKeyByte < 0) return;
  for (int i = d.firstKeyByte; i <= d.lastKeyByte; ++i) {
    const std::uint8_t now = At(d.currentReport, i);
    std::uint8_t diff = static_cast<std::uint8_t>(now ^ At(d.previousReport, i));
    if (d.hasProgrammingSwitch && i == d.switchByte) diff &= static_cast<std::uint8_t>(~d.switchMask);
    for (int bit = 0; bit < 8; ++bit) {
      if (!(diff & (1 << bit))) continue;
      ++s.forwardedKeys;
      windows_.ProgrammingKey(d, KeyCode(i - d.firstKeyByte, bit), (now & (1 << bit)) != 0);
    }
  }
}

bool ProgrammingSwitchOn(const DeviceRecord& d, const std::vector<std::uint8_t>& report) {
  return d.hasProgrammingSwitch && (At(report, d.switchByte) & d.switchMask) != 0 &&
         (d.requireByte < 0 || At(report, d.requireByte) == d.requireValue);
}

AutoRepeatState& GetAutoRepeat() {
  static AutoRepeatState state;
  return state;
}

void CancelAutoRepeat() { GetAutoRepeat() = AutoRepeatState{}; }

void StartAutoRepeat(int initialRepeatDelay, int repeatDelay) {
  DispatchState& s = State();
  DeviceRecord* d = GetCurrentDevice();
  InputField* f = s.pressField;
  InputConfig* in = s.lastInput;
  if (!f || !d || !in || in < d->inputs.data() || in >= d->inputs.data() + d->inputCount())
    return;
  int byte = f->cursor;
  std::uint8_t mask = static_cast<std::uint8_t>(f->bitMask >> 1);
  if (mask == 0) {  // the key was bit 7 and the walk has moved on to the next byte
    mask = 128;
    --byte;
  }
  in->period = 0;
  in->dueTick = GetTickCount() + static_cast<DWORD>(std::max(initialRepeatDelay, 0));
  in->repeatInterval = std::max(repeatDelay, 0);
  AutoRepeatState& r = GetAutoRepeat();
  r.active = true;
  r.hidHandle = d->hidHandle;
  r.inputIndex = static_cast<int>(in - d->inputs.data());
  r.byteIndex = f->position + byte;
  r.bitMask = mask;
  r.dueTick = in->dueTick;
}

void InputDispatch::DispatchInputReport(DeviceRecord& d, asCDebugScriptEngine* engine, asCDebugContext* context) {
  const std::size_t masked = std::min(d.currentReport.size(), d.keyEnableMask.size());
  for (std::size_t i = 0; i < masked; ++i) d.currentReport[i] &= d.keyEnableMask[i];

  const AutoRepeatState repeat = GetAutoRepeat();
  CancelAutoRepeat();
  if (CheckProgrammingSwitch(d)) {
    StorePrevious(d);
    return;
  }
  GetAutoRepeat() = repeat;

  CallTarget target;
  const bool host = IsHostMode(d, host_, target);
  if (host || (!d.moduleName.empty() && ScriptTarget(engine, context, target))) {
    for (InputConfig& in : d.inputs) {
      if (!in.callOnChange) continue;
      if (!host && !FindFunction(d, in, *engine, target)) continue;
      RunEntry(d, in, target, WalkMode::Changes);
    }
  }
  StorePrevious(d);
}

void InputDispatch::RunPeriodicInputs(DeviceRecord& d, InputConfig& in, asCDebugScriptEngine* engine,
                                      asCDebugContext* context) {
  CallTarget target;
  const bool host = IsHostMode(d, host_, target);
  if (host || (!d.moduleName.empty() && ScriptTarget(engine, context, target) &&
               FindFunction(d, in, *engine, target)))
    RunEntry(d, in, target, WalkMode::Present);
  in.dueTick += static_cast<std::uint32_t>(in.period);
}

bool InputDispatch::CheckProgrammingSwitch(DeviceRecord& d) {
  if (!d.programmingAllowed || !IsProgrammingAllowed()) return false;
  const bool switchNow = ProgrammingSwitchOn(d, d.currentReport);
  const bool switchBefore = ProgrammingSwitchOn(d, d.previousReport);
  if (d.moduleName.empty()) {
    // No module, no layout to program: the request, or the switch as it turns on, is answered
    // with the reason instead of nothing.
    if (d.programmingRequested || (switchNow && !switchBefore)) TellProgrammingRefused(calls_, d);
    d.programmingRequested = false;
    return false;
  }
  if (d.programmingWindow) {
    // Only a switch that is off closes the window, and not one opened by a request.
    if (!switchNow) {
      if (switchBefore) d.programmingRequested = false;
      if (!d.programmingRequested) {
        CloseProgrammingWindow(d);
        return false;
      }
    }
  } else if (!d.programmingRequested && !(switchNow && !switchBefore)) {
    return false;
  }
  if (!d.programmingWindow || !IsWindow(d.programmingWindow)) {
    if (!OpenProgrammingWindow(d)) return false;
  }
  ForwardKeyChanges(d);
  return true;
}

void InputDispatch::CheckProgrammingSwitchAtStart(DeviceRecord& d) {
  if (d.programmingWindow || !ProgrammingSwitchOn(d, d.currentReport) || d.switchByte < 0 ||
      d.switchByte >= static_cast<int>(d.previousReport.size()))
    return;
  const std::vector<std::uint8_t> first = d.previousReport;
  d.previousReport[static_cast<std::size_t>(d.switchByte)] &= static_cast<std::uint8_t>(~d.switchMask);
  CheckProgrammingSwitch(d);
  d.previousReport = first;
}

void PressedKeysToCodes(const DeviceRecord& d, std::vector<std::uint8_t>& out) {
  out.clear();
  if (d.firstKeyByte >= 0) {
    for (int i = d.firstKeyByte; i <= d.lastKeyByte; ++i) {
      const std::uint8_t b = At(d.currentReport, i);
      for (int bit = 0; bit < 8; ++bit) {
        const int code = KeyCode(i - d.firstKeyByte, bit);
        if ((b & (1 << bit)) && code < kNoPendingKey) out.push_back(static_cast<std::uint8_t>(code));
      }
    }
  }
  out.push_back(kNoPendingKey);
}

int GetForwardedKeyCount() { return State().forwardedKeys; }
void ResetForwardedKeyCount() { State().forwardedKeys = 0; }

