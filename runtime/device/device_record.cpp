#include "runtime/device/device_record.h"

#include <algorithm>

#include "platform/base/text_lines.h"
#include "platform/base/unique_handle.h"
#include "platform/vhxhid/vhxhid.h"
#include "runtime/keys/key_codes.h"

namespace {

// The record's engine lock, held for a scope.
class EngineLock {
 public:
  explicit EngineLock(DeviceRecordServices& services) : services_(services) { services_.LockScriptEngine(); }
  ~EngineLock() { services_.UnlockScriptEngine(); }
  EngineLock(const EngineLock&) = delete;
  EngineLock& operator=(const EngineLock&) = delete;

 private:
  DeviceRecordServices& services_;
};

// Every level of the record's engine lock that this thread holds, let go for a scope and taken
// back after it.
class EngineLockLetGo {
 public:
  explicit EngineLockLetGo(DeviceRecordServices& services) : services_(services) {
    while (services_.UnlockScriptEngine()) ++depth_;
  }
  ~EngineLockLetGo() {
    for (int i = 0; i < depth_; ++i) services_.LockScriptEngine();
  }
  EngineLockLetGo(const EngineLockLetGo&) = delete;
  EngineLockLetGo& operator=(const EngineLockLetGo&) = delete;

 private:
  DeviceRecordServices& services_;
  int depth_ = 0;
};

// Writes the report, retrying every 10 ms up to `retries` more times; true when written.
bool WriteWithRetries(DeviceRecord& device, const std::uint8_t* report, int retries) {
  EngineLock lock(*device.services);
  bool written = VhxWriteReport(device.hidHandle, report) == 0;
  for (int i = 0; !written && i < retries; ++i) {
    Sleep(10);
    written = VhxWriteReport(device.hidHandle, report) == 0;
  }
  return written;
}

// A position counted from the end of the report when negative.
int FromEnd(int position, int length) { return position < 0 ? position + length : position; }

}  // namespace

DeviceRecordServices& NoDeviceRecordServices() {
  static DeviceRecordServices none;
  return none;
}

void ApplyReportConfig(DeviceRecord& d, ReportConfig&& c) {
  d.inputs = std::move(c.inputs);
  d.outputs = std::move(c.outputs);
  d.modules = std::move(c.modules);
  d.keyboardReportOutput = nullptr;
  d.unitIdByte = c.unitIdByte;
  d.switchByte = c.switchByte;
  d.switchMask = c.switchMask;
  d.hasProgrammingSwitch = c.hasProgrammingSwitch;
  d.requireByte = c.requireByte;
  d.requireValue = c.requireValue;
  d.greenLedMask = c.greenLedMask;
  d.redLedMask = c.redLedMask;
  d.hasLayerLed = c.hasLayerLed;
  d.backlightsAvailable = c.backlightsAvailable;
  d.keyswitchAvailable = c.keyswitchAvailable;
  d.firstKeyByte = c.firstKeyByte;
  d.lastKeyByte = c.lastKeyByte;
}

bool ParseReportConfig(DeviceRecord& device) {
  FilePtr file = OpenReportConfig(device.folder);
  if (!file) return false;
  ReportConfig config;
  if (!ParseReportConfigText(ReadAllText(file.get()), config)) return false;
  ApplyReportConfig(device, std::move(config));
  return true;
}

bool InitDeviceRecord(DeviceRecord& device, int vendorId, int productId, int version,
                      DeviceRecordServices& services) {
  DeviceFolderEntry* folder = FindDeviceFolder(vendorId, productId, version);
  if (!folder) return false;
  device = DeviceRecord{};
  device.services = &services;
  device.vendorId = vendorId;
  device.productId = productId;
  device.version = version;
  device.folder = folder;
  return ParseReportConfig(device);
}

bool SetUpDeviceReports(DeviceRecord& d, int inputLength, int outputLength) {
  d.inputLength = std::max(inputLength, 0);
  d.outputLength = std::max(outputLength, 0);
  d.currentReport.assign(d.inputLength, 0);
  d.previousReport.assign(d.inputLength, 0);
  d.keyEnableMask.assign(d.inputLength, 0xFF);
  d.unmaskedReport.assign(d.inputLength, 0);
  d.outputReport.assign(d.outputLength, 0);
  d.keyboardState.fill(0);
  d.pendingKey = kNoPendingKey;
  d.keyboardReportOutput = nullptr;

  std::erase_if(d.inputs, [&](const InputConfig& in) { return !InputFits(in, d.inputLength); });
  std::erase_if(d.outputs, [&](const OutputConfig& out) {
    return !OutputFits(out, d.outputLength) ||
           (out.name == "SendKeyboardReport" && d.outputLength < int(kKeyboardReportLength));
  });
  d.hasLayerLed = std::any_of(d.outputs.begin(), d.outputs.end(),
                              [](const OutputConfig& o) { return o.name == "setLEDs"; });
  FindKeyByteRange(d.inputs, d.firstKeyByte, d.lastKeyByte);

  const auto inside = [&](int byte) { return byte >= 0 && byte < d.inputLength; };
  d.unitIdByte = FromEnd(d.unitIdByte, d.inputLength);
  if (d.hasProgrammingSwitch) d.switchByte = FromEnd(d.switchByte, d.inputLength);
  if (d.requireByte < 0) d.requireByte = kNoRequireByte;
  d.setUp = true;
  return inside(d.unitIdByte) && (!d.hasProgrammingSwitch || inside(d.switchByte)) &&
         (d.requireByte == kNoRequireByte || inside(d.requireByte));
}

int KeyByteOfScanCode(const DeviceRecord& d, int scanCode) {
  if (d.firstKeyByte < 0 || scanCode < 0) return -1;
  const long long byte = static_cast<long long>(d.firstKeyByte) + KeyCodeByte(scanCode);
  if (byte > d.lastKeyByte || byte >= static_cast<long long>(d.keyEnableMask.size()) ||
      byte >= static_cast<long long>(d.currentReport.size()))
    return -1;
  return static_cast<int>(byte);
}

void SetDeviceKeyEnabled(DeviceRecord& d, int scanCode, bool enabled) {
  const int byte = KeyByteOfScanCode(d, scanCode);
  if (byte < 0) return;
  // Codes 8 to 15 of a byte name no key and change nothing.
  const auto bit = static_cast<std::uint8_t>((1u << KeyCodeBit(scanCode)) & 0xFF);
  std::uint8_t& mask = d.keyEnableMask[byte];
  mask = enabled ? (mask | bit) : (mask & ~bit);
  d.currentReport[byte] &= mask;
  if (byte < static_cast<int>(d.previousReport.size())) d.previousReport[byte] &= mask;
}

bool FindKeyboardReportOutput(DeviceRecord& d) {
  if (d.keyboardReportOutput) return true;
  for (OutputConfig& o : d.outputs) {
    if (o.name == "SendKeyboardReport") {
      d.keyboardReportOutput = &o;
      return true;
    }
  }
  return false;
}

int FillOutputReport(std::string_view name, DeviceRecord& d, const std::uint8_t* bytes,
                     std::size_t byteCount) {
  auto it = std::find_if(d.outputs.begin(), d.outputs.end(),
                         [&](const OutputConfig& o) { return o.name == name; });
  if (it == d.outputs.end()) return 0;
  if (it->fields.size() > d.outputReport.size()) return 0;
  std::size_t nextByte = 0;
  for (std::size_t i = 0; i < it->fields.size(); ++i) {
    OutputField& f = it->fields[i];
    if (f.type == kFieldConstant) {
      d.outputReport[i] = static_cast<std::uint8_t>(f.constant);
      continue;
    }
    int b = 0;
    if (bytes) {
      b = nextByte < byteCount ? bytes[nextByte] : 0;
      ++nextByte;
    } else {
      if (!f.globalPointer) f.globalPointer = d.services->FindModuleGlobal(d, f.globalName);
      if (!f.globalPointer) return 0;
      b = *static_cast<const std::uint8_t*>(f.globalPointer);
    }
    if (f.type == kFieldValue) {
      if (b > f.high) b = f.high;
      if (b < f.low) b = f.low;
    } else {
      b = (b & f.low) | f.high;
    }
    d.outputReport[i] = static_cast<std::uint8_t>(b);
  }
  return 1;
}

bool WriteOutputReport(std::string_view name, DeviceRecord& device, const std::uint8_t* bytes,
                       std::size_t byteCount) {
  if (!FillOutputReport(name, device, bytes, byteCount)) return false;
  WriteWithRetries(device, device.outputReport.data(), 5);
  return true;
}

bool SendKeyboardReportBytes(DeviceRecord& device, const std::uint8_t keys[6]) {
  if (!FindKeyboardReportOutput(device)) return false;
  if (device.outputLength < int(kKeyboardReportLength)) return false;
  std::vector<std::uint8_t> report(device.outputLength, 0);
  report[0] = kOutputReportId;
  report[1] = kKeyboardReportCommand;
  std::copy(keys, keys + 6, report.begin() + 2);
  return WriteWithRetries(device, report.data(), 100);
}

void ClearOutputGlobalPointers(DeviceRecord& device) {
  for (OutputConfig& o : device.outputs)
    for (OutputField& f : o.fields) f.globalPointer = nullptr;
}

void DestroyDeviceRecord(DeviceRecord& device) {
  // The module libraries go last, whatever happens before: the regeneration and the window's
  // teardown may still call into them.
  std::vector<UniqueLibrary> libraries;
  libraries.reserve(device.modules.size());
  for (const ModuleConfig& m : device.modules) libraries.emplace_back(static_cast<HMODULE>(m.library));
  // Only a device that had a script module has a script to regenerate.
  if (!device.moduleName.empty()) device.services->RegenerateDeviceScript(device);
  if (device.programmingWindow && IsWindow(device.programmingWindow)) {
    // The window's teardown waits for its LED worker, which needs the lock.
    EngineLockLetGo letGo(*device.services);
    DestroyWindow(device.programmingWindow);
  }
  device = DeviceRecord{};
}
