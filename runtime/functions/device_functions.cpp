#include "runtime/functions/device_functions.h"

#include <windows.h>

#include <angelscript.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/base/system_calls.h"
#include "platform/vhxhid/vhxhid.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_identification.h"
#include "runtime/device/device_record.h"
#include "runtime/device/device_table.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/periodic_function.h"
#include "runtime/device/polled_exchange.h"
#include "runtime/functions/script_platform.h"
#include "runtime/script/script_engine_lock.h"
#include "runtime/script/script_registrar.h"

namespace {

constexpr std::size_t kModuleNameChars = 270;

// The current device, when it has report buffers (a script opened from a file runs on a
// record without them).
DeviceRecord* CurrentSetUpDevice() {
  DeviceRecord* device = GetCurrentDevice();
  return device && device->setUp ? device : nullptr;
}

// Changes the enable bit of a key of the current device.
void SetKeyEnabled(std::uint8_t scanCode, bool enabled) {
  if (DeviceRecord* device = CurrentSetUpDevice()) SetDeviceKeyEnabled(*device, scanCode, enabled);
}

int ScriptRetrieveData(const std::string& outputName, std::vector<std::uint8_t>& data, unsigned dataLength,
                       unsigned timeoutMs) {
  return RetrieveData(RunningScriptPlatform().calls, outputName, data, dataLength, timeoutMs);
}

}  // namespace

DeviceRecord* FindDeviceByModule(const char* name) {
  if (!name || !*name) return nullptr;
  const std::string wanted(name, strnlen(name, kModuleNameChars));
  const DeviceTableView table = GetDeviceTable();
  for (const auto& d : table)
    if (!d->moduleName.empty() && d->moduleName == wanted) return d.get();
  // The same name with another first character.
  if (wanted.size() < 2) return nullptr;
  const std::string_view rest = std::string_view(wanted).substr(1);
  for (const auto& d : table) {
    const std::string& m = d->moduleName;
    if (m.size() >= 2 && std::string_view(m).substr(1) == rest) return d.get();
  }
  return nullptr;
}

DeviceRecord* DeviceOfRunningModule() {
  asIScriptContext* context = asGetActiveContext();
  if (!context) return nullptr;
  asIScriptFunction* function = context->GetFunction();
  return function ? FindDeviceByModule(function->GetModuleName()) : nullptr;
}

void SendOutputReport(const std::string& name) {
  if (DeviceRecord* device = DeviceOfRunningModule()) WriteOutputReport(name, *device);
}

void PassAVector(std::vector<std::int32_t>& values) {
  for (std::int32_t& v : values) v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + 1);
}

void DisableKey(std::uint8_t scanCode) { SetKeyEnabled(scanCode, false); }
void EnableKey(std::uint8_t scanCode) { SetKeyEnabled(scanCode, true); }

void RecordSingleKey(std::uint8_t scanCode) {
  DeviceRecord* device = GetCurrentDevice();
  if (!device) return;
  device->pendingKey = scanCode;
  device->programmingRequested = true;
}

void GetScriptPath(std::string& path) {
  path.clear();
  DeviceRecord* device = GetCurrentDevice();
  if (!device || GetDeviceScriptPath(device->folder, device->unitId, path) < 0) path.clear();
}

void ResetInterface() {
  DeviceRecord* device = CurrentSetUpDevice();
  if (!device) return;
  std::fill(device->previousReport.begin(), device->previousReport.end(), 0);
  ReopenForEvents(*device);
}

int RetrieveData(SystemCalls& calls, const std::string& outputName, std::vector<std::uint8_t>& data,
                 unsigned dataLength, unsigned timeoutMs) {
  DeviceRecord* device = DeviceOfRunningModule();
  if (!device) return kRetrieveNoDevice;
  data.clear();
  if (!FillOutputReport(outputName, *device)) return kRetrieveNoReport;

  ScriptEngineGuard lock;
  PolledUse polled(*device);
  const DWORD start = GetTickCount();
  if (!polled.Write(device->outputReport.data())) return kRetrieveWriteFailed;
  std::vector<std::uint8_t> report;
  for (;;) {
    if (dataLength == 0) return kRetrieveDone;
    // A removed device, or a program that is ending, waits no longer.
    if (GetTickCount() - start > timeoutMs || IsDeviceThreadStopping() ||
        (device->removalEvent && WaitForSingleObject(device->removalEvent, 0) == WAIT_OBJECT_0))
      return kRetrieveTimedOut;
    if (!polled.Read(report)) {
      calls.Sleep(1);
      continue;
    }
    for (std::uint8_t b : report) {
      data.push_back(b);
      if (--dataLength == 0) break;
    }
  }
}

int RegisterDeviceFunctions(ScriptRegistrar& reg, const ScriptPlatform& platform) {
  AttachScriptPlatform(reg.Engine(), platform);
  struct Entry {
    const char* declaration;
    asSFuncPtr function;
  };
  const Entry entries[] = {
      {"void SendOutputReport(string &in)", asFUNCTION(SendOutputReport)},
      {"void PassAVector(int[] &inout)", asFUNCTION(PassAVector)},
      {"void DisableKey(uint8 scanCode)", asFUNCTION(DisableKey)},
      {"void EnableKey(uint8 scanCode)", asFUNCTION(EnableKey)},
      {"void RecordSingleKey(uint8 scanCode)", asFUNCTION(RecordSingleKey)},
      {"void GetScriptPath(string &out)", asFUNCTION(GetScriptPath)},
      {"void ResetInterface()", asFUNCTION(ResetInterface)},
      {"int RetrieveData(string &in,uint8[] &inout,uint DataLen,uint timeout)",
       asFUNCTION(ScriptRetrieveData)},
  };
  int result = 0;
  for (const Entry& e : entries) {
    const int r = reg.GlobalFunction(e.declaration, e.function, asCALL_CDECL);
    if (r < 0 && result == 0) result = r;
  }
  return result;
}

void AutoRepeatThisKey(unsigned initialRepeatDelay, unsigned repeatDelay) {
  StartAutoRepeat(static_cast<int>(initialRepeatDelay), static_cast<int>(repeatDelay));
}

void EnableProgramming(unsigned enable) {
  if (DeviceRecord* device = GetCurrentDevice()) device->programmingAllowed = enable != 0;
}

void RequestProgrammingMode() {
  DeviceRecord* device = GetCurrentDevice();
  if (!device) return;
  device->programmingRequested = true;
  WakeDeviceThread(*device);
}

int ExecuteMemoryTest(SystemCalls& calls) {
  DeviceRecord* device = CurrentSetUpDevice();
  if (!device || device->outputLength < 6) return -1;
  constexpr unsigned kReplyWaitMs = 280;
  const unsigned end = kMemoryTestStart + kMemoryTestLength;
  std::vector<std::uint8_t> request(device->outputLength, 0);
  request[0] = kOutputReportId;
  request[1] = kMemoryReadRequest;
  request[2] = kMemoryTestStart & 0xFF;
  request[3] = kMemoryTestStart >> 8;
  request[4] = end & 0xFF;
  request[5] = (end >> 8) & 0xFF;

  std::uint8_t memory[kMemoryTestLength] = {};
  {
    PolledUse polled(*device);
    if (polled.Write(request.data())) {
      const DWORD start = GetTickCount();
      unsigned arrived = 0;
      std::vector<std::uint8_t> reply;
      while (arrived < kMemoryTestLength && GetTickCount() - start <= kReplyWaitMs) {
        if (!polled.Read(reply)) {
          calls.Sleep(1);
          continue;
        }
        if (reply.size() < 4 || reply[0] != kMemoryReadReply) continue;
        // Data bytes as far as the reply holds them, at their place in the tested range.
        const unsigned n = std::min<unsigned>(reply[1], static_cast<unsigned>(reply.size() - 4));
        const int offset = (reply[2] | reply[3] << 8) - kMemoryTestStart;
        for (unsigned i = 0; i < n; ++i) {
          const int at = offset + static_cast<int>(i);
          if (at >= 0 && at < kMemoryTestLength) memory[at] = reply[4 + i];
        }
        arrived += n;
      }
    }
  }
  const std::size_t signatureLength = sizeof kMemorySignature - 1;
  return std::memcmp(memory, kMemorySignature, signatureLength) == 0 ? 0 : -1;
}

void SetQpadLayer(bool red) {
  if (DeviceRecord* device = GetCurrentDevice()) SetLayerLed(red, *device);
}

void ToggleBacklights() {
  if (DeviceRecord* device = GetCurrentDevice()) SetDeviceBacklights(!device->backlightsOn, *device);
}

void SetBacklights(bool on) {
  if (DeviceRecord* device = GetCurrentDevice()) SetDeviceBacklights(on, *device);
}

void RepeatFunction(const std::string& name, int repeatTime) {
  if (name.empty()) {
    StopPeriodicFunction();
    return;
  }
  const std::uint32_t interval = PeriodicIntervalOfRate(repeatTime);
  asIScriptFunction* function = nullptr;
  DeviceRecord* device = GetCurrentDevice();
  asIScriptContext* context = asGetActiveContext();
  if (device && context && !device->moduleName.empty()) {
    if (asIScriptModule* module =
            context->GetEngine()->GetModule(device->moduleName.c_str(), asGM_ONLY_IF_EXISTS))
      function = module->GetFunctionByName(name.c_str());
  }
  if (!function) {
    StopPeriodicFunction();
    return;
  }
  StartPeriodicFunction(function->GetId(), interval, GetTickCount());
}
