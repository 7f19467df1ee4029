#pragma once
// One attached device interface: its identity, its report layout from "ReportConfig.txt", its
// report buffers and its script-module and programming-window state.

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/device/device_folders.h"
#include "runtime/device/report_config.h"

struct MacroContext;
struct DeviceRecord;

// What a record asks of the service that runs its script module. A record the device service
// made holds the service's; any other keeps the one that does nothing (no lock to take, no
// module globals, no script to regenerate).
class DeviceRecordServices {
 public:
  virtual ~DeviceRecordServices() = default;
  // The script-engine lock, recursive per thread; unlock is false when the thread held none.
  virtual void LockScriptEngine() {}
  virtual bool UnlockScriptEngine() { return false; }
  // The address of a global variable of the device's script module, or null.
  virtual void* FindModuleGlobal(DeviceRecord&, const std::string&) { return nullptr; }
  // Rewrites the device's script file from its layout.
  virtual void RegenerateDeviceScript(DeviceRecord&) {}
};
DeviceRecordServices& NoDeviceRecordServices();

constexpr std::uint8_t kNoPendingKey = 255;
constexpr int kVendorId = 0x0A7C;
// The usage page of the interfaces that carry a device's reports (the others are its keyboard
// and mouse).
constexpr int kDeviceUsagePage = 12;
// The keyboard output report: report id, command, modifier byte and five usages.
constexpr std::size_t kKeyboardReportLength = 8;
constexpr std::uint8_t kOutputReportId = 2;
constexpr std::uint8_t kKeyboardReportCommand = 0xC5;

struct DeviceRecord {
  DeviceRecordServices* services = &NoDeviceRecordServices();  // never null
  MacroContext* macroContext = nullptr;  // of the open programming window
  HANDLE readEvent = nullptr;            // both handed out (and owned) by the HID library
  HANDLE removalEvent = nullptr;
  int version = 0;
  DeviceFolderEntry* folder = nullptr;
  int hidHandle = -1;  // none: 0 is the first enumerated interface
  int vendorId = 0;
  int productId = 0;
  int unitId = 0;
  int unitIdByte = kDefaultUnitIdByte;  // negative: from the end until set-up
  int switchByte = kDefaultSwitchByte;  // negative: from the end until set-up
  std::uint8_t switchMask = kDefaultSwitchMask;
  bool rebuildScript = false;
  bool programmingRequested = false;
  bool onboardMacros = false;
  bool modeSwitchAvailable = false;
  int requireByte = kNoRequireByte;  // negative: none
  std::uint8_t requireValue = 0;
  std::uint8_t greenLedMask = kDefaultGreenLedMask;
  std::uint8_t redLedMask = kDefaultRedLedMask;
  std::uint8_t backlightMask = kDefaultBacklightMask;
  std::uint8_t pendingKey = kNoPendingKey;
  int firstKeyByte = -1;  // -1: the device has no key bytes
  int lastKeyByte = 0;
  bool hasProgrammingSwitch = true;
  int inputLength = 0;
  int outputLength = 0;
  std::vector<InputConfig> inputs;
  std::vector<OutputConfig> outputs;
  OutputConfig* keyboardReportOutput = nullptr;  // into outputs, once looked up
  std::vector<ModuleConfig> modules;
  std::vector<std::uint8_t> currentReport;   // inputLength bytes once set up
  std::vector<std::uint8_t> previousReport;  // inputLength
  std::vector<std::uint8_t> keyEnableMask;   // inputLength, 0xFF; a 0 bit disables a key
  // The last report as the device sent it, before keyEnableMask: what a disabled key (a
  // spacer's) really does.
  std::vector<std::uint8_t> unmaskedReport;
  std::vector<std::uint8_t> outputReport;    // outputLength
  // What the keyboard reports hold down across macro steps: the modifier byte and five
  // packed key usages; zero from set-up on.
  std::array<std::uint8_t, 6> keyboardState{};
  int memoryImageLength = 0;
  std::vector<std::uint8_t> memoryImage;      // on-board memory to write or just read
  std::vector<std::uint8_t> memoryImageRead;  // as last read
  std::vector<std::uint8_t> windowBuffer;     // the programming window's own
  bool redLayer = false;
  bool setUp = false;  // report buffers allocated
  bool hasLayerLed = false;
  bool redLayerAtOpen = false;
  bool programmingAllowed = true;
  std::string moduleName;  // "Vid%04xPid%04xv%04xUid%04x" of the built module; "" for none
  HWND programmingWindow = nullptr;
  bool backlightsOn = false;
  bool backlightsAvailable = false;
  bool backlightStateKnown = false;
  bool keyswitchAvailable = false;
  bool keyswitchOn = false;
  // Unplugged, its record on its way out: what its user left unconfirmed (an open editor) is
  // dropped, not stored.
  bool removed = false;

  int inputCount() const { return static_cast<int>(inputs.size()); }
  int outputCount() const { return static_cast<int>(outputs.size()); }
  int moduleCount() const { return static_cast<int>(modules.size()); }

  // Moves keep keyboardReportOutput valid (a vector's elements do not move with it); a copy
  // would point into the other record.
  DeviceRecord() = default;
  DeviceRecord(DeviceRecord&&) = default;
  DeviceRecord& operator=(DeviceRecord&&) = default;
  DeviceRecord(const DeviceRecord&) = delete;
  DeviceRecord& operator=(const DeviceRecord&) = delete;
};

// Resets the record, gives it the services and reads the device type's report configuration.
// False when the device type has no folder or its file is missing or rejected; the record then
// holds no entries.
bool InitDeviceRecord(DeviceRecord& device, int vendorId, int productId, int version,
                      DeviceRecordServices& services = NoDeviceRecordServices());
// Reads "ReportConfig.txt" of device.folder into the record; false leaves its entries empty.
bool ParseReportConfig(DeviceRecord& device);
// Takes a parsed configuration into the record.
void ApplyReportConfig(DeviceRecord& device, ReportConfig&& config);

// Allocates the report buffers for the lengths, counts end-relative positions from the end of
// the input report, drops every input and output entry with a field outside its report (and a
// "SendKeyboardReport" output when the report is too short for it), and marks the record set
// up. False when the unit-id, switch or require byte lies outside the input report: the
// device cannot be used.
bool SetUpDeviceReports(DeviceRecord& device, int inputLength, int outputLength);

// The input-report byte of a key code (KeyCode) inside the key range, or -1.
int KeyByteOfScanCode(const DeviceRecord& device, int scanCode);
// Sets or clears the key's bit in keyEnableMask and masks both reports with the result; a code
// outside the key range changes nothing.
void SetDeviceKeyEnabled(DeviceRecord& device, int scanCode, bool enabled);

bool FindKeyboardReportOutput(DeviceRecord& device);

// Fills outputReport from the output entry `name`. With `bytes`, the "value" and "bitfield"
// fields take them in field order (fields past byteCount take 0); without, each takes the
// first byte of its script global. 0: no such output, a global is missing or the report
// buffer is too short; 1: filled.
int FillOutputReport(std::string_view name, DeviceRecord& device,
                     const std::uint8_t* bytes = nullptr, std::size_t byteCount = 0);
// FillOutputReport, then writes the report under the script-engine lock, retrying every 10 ms
// up to 5 more times. False only when the fill failed (a failed write is not reported).
bool WriteOutputReport(std::string_view name, DeviceRecord& device,
                       const std::uint8_t* bytes = nullptr, std::size_t byteCount = 0);
// Writes the report id, the keyboard command and the six bytes (rest of the report zero) under the lock, retrying every
// 10 ms up to 100 more times. False without a "SendKeyboardReport" output or when the last
// try failed.
bool SendKeyboardReportBytes(DeviceRecord& device, const std::uint8_t keys[6]);

// Forgets every cached global address (after the device's module was built or discarded).
void ClearOutputGlobalPointers(DeviceRecord& device);

// Regenerates the script file, destroys the programming window with the script-engine lock
// fully released, frees the module libraries and every buffer; the record is left empty.
void DestroyDeviceRecord(DeviceRecord& device);
