#pragma once
// "ReportConfig.txt": the layout of a device type's reports, the script functions its input
// runs and the module libraries its scripts may call. Plain C++, no platform calls.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Field keywords and their numbers, as the file and the dispatch know them.
enum ReportFieldType : int {
  kFieldNone = 0,  // a word that is no field keyword
  kFieldValue = 1,
  kFieldValues = 2,
  kFieldScanCodeDown = 3,
  kFieldScanCodeUp = 4,
  kFieldScanCodeChanged = 5,
  kFieldConstant = 6,
  kFieldBitfield = 7,
  kFieldModuleFunction = 8,
  kFieldRequire = 9,
};
// The type of a field keyword (case-sensitive), or kFieldNone for a word that is none.
ReportFieldType ReportFieldTypeFromKeyword(std::string_view word);

struct InputField {
  ReportFieldType type = kFieldNone;
  int position = 0;  // "constant": the value
  int count = 1;     // "values": end position (exclusive); scan codes: bytes; "require": value
  // Walk state of scan-code fields (input dispatch).
  int cursor = 0;
  std::uint8_t bitMask = 0;
  std::uint8_t bitNumber = 0;
};

struct InputConfig {
  std::string declaration;  // script function declaration
  bool callOnChange = false;
  int period = 0;          // ms, 0 = none
  int repeatInterval = 0;  // ms, auto-repeat
  std::uint32_t dueTick = 0;
  std::vector<InputField> fields;
  int fieldCount() const { return static_cast<int>(fields.size()); }
};

struct OutputField {
  std::string globalName;         // a script global of the device's module
  void* globalPointer = nullptr;  // its address once looked up; cleared after every build
  ReportFieldType type = kFieldNone;
  int constant = 0;
  int low = 0;
  int high = 0;
};

struct OutputConfig {
  std::string name;
  std::vector<OutputField> fields;  // field i fills byte i of the output report
  int fieldCount() const { return static_cast<int>(fields.size()); }
};

using ModuleProc = void (*)();

struct ModuleFunction {
  std::string exportName;
  std::string declaration;
  ModuleProc address = nullptr;  // set by the module loader
};

struct ModuleConfig {
  std::string path;
  void* library = nullptr;  // module handle once loaded
  std::vector<ModuleFunction> functions;
  int functionCount() const { return static_cast<int>(functions.size()); }
};

// Values a device keeps when its file does not say otherwise.
constexpr int kDefaultUnitIdByte = -2;
constexpr int kDefaultSwitchByte = -1;
constexpr std::uint8_t kDefaultSwitchMask = 16;
constexpr int kNoRequireByte = -1;
constexpr std::uint8_t kDefaultGreenLedMask = 64;
constexpr std::uint8_t kDefaultRedLedMask = 128;
constexpr std::uint8_t kDefaultBacklightMask = 32;

// Everything one file gives a device.
struct ReportConfig {
  std::vector<InputConfig> inputs;
  std::vector<OutputConfig> outputs;
  std::vector<ModuleConfig> modules;
  int unitIdByte = kDefaultUnitIdByte;  // negative: from the end of the input report
  int switchByte = kDefaultSwitchByte;  // negative: from the end of the input report
  std::uint8_t switchMask = kDefaultSwitchMask;
  bool hasProgrammingSwitch = true;
  int requireByte = kNoRequireByte;
  std::uint8_t requireValue = 0;
  std::uint8_t greenLedMask = kDefaultGreenLedMask;
  std::uint8_t redLedMask = kDefaultRedLedMask;
  bool hasLayerLed = false;  // an output named "setLEDs"
  bool backlightsAvailable = false;
  bool keyswitchAvailable = false;
  int firstKeyByte = -1;
  int lastKeyByte = 0;
};

// Longest line the file's reader takes; a longer one is read as several lines.
constexpr std::size_t kReportConfigLineChars = 254;

// Parses the whole text of the file. False rejects the file; `reason` then says why and where
// ("line N: ..."). On false `config` holds whatever was read so far.
bool ParseReportConfigText(std::string_view text, ReportConfig& config,
                           std::string* reason = nullptr);

// --- Fitting a configuration to the device's report lengths --------------------------------

// True when every byte the field reads lies inside an input report of `inputLength` bytes.
bool InputFieldFits(const InputField& field, int inputLength);
bool InputFits(const InputConfig& input, int inputLength);
// Output field i fills byte i: the entry must not have more fields than the report has bytes.
bool OutputFits(const OutputConfig& output, int outputLength);
// The key bytes from the first "scanCodeDown" field of a KeyDown input: -1 and 0 when none.
void FindKeyByteRange(const std::vector<InputConfig>& inputs, int& firstKeyByte,
                      int& lastKeyByte);
