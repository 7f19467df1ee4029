#pragma once
// The generated script file: a layout written as the script the keypad runs, with marker
// comments ("//ORVX") that carry what the reader takes back. The text is made with line feeds;
// the file has CR LF line ends and none after its last "}".

#include <optional>
#include <string>
#include <string_view>

#include "macros/model/macro_device.h"

struct MacroContext;
class FileAccess;

inline constexpr const char* kDeviceSpecificFileName = "Device Specific.oxs";
inline constexpr const char* kPlainScriptFileName = "Script.oxs";

// The file's text (line feeds only) for the context and the device's settings; the device's
// own section is added when deviceSpecific holds the text of "Device Specific.oxs". The
// context is not changed.
std::string GenerateScriptText(const MacroContext& context, const DeviceScriptSettings& settings,
                               const std::optional<std::string>& deviceSpecific);

// True when the path's file name is "Script.oxs", whatever its case: the shared script of a
// device type, which this writer leaves alone.
bool IsPlainScriptPath(std::string_view path);

// "Device Specific.oxs" in the folder of the device's script: where the writer copies it from
// and where plug-ins write it. A device whose script has no folder yet (its type folder only
// under the data root) takes the folder its own script will be written to; "" when the device
// type is not known.
std::string DeviceSpecificFilePath(MacroDevice& device);

// The file as WriteScriptFile writes it (CR LF) with these settings: "Device Specific.oxs"
// (DeviceSpecificFilePath) is copied in when the context held a function with a body.
std::string ScriptFileBytes(const MacroContext& context, const DeviceScriptSettings& settings);

// Writes the context's script file with the device's settings through a file beside it that
// then replaces it, and rebuilds the key records' macro entries. False when nothing was written
// (the path names "Script.oxs", or the file could not be written).
bool WriteScriptFile(MacroContext& context, const std::string& path);
// The same with settings of the caller's.
bool WriteScriptFile(MacroContext& context, const std::string& path, const DeviceScriptSettings& settings);

// Where the model reads and writes files when a context names none: the program puts its
// atomic writer here at start-up; the real files until then.
void SetDefaultMacroFiles(FileAccess* files);
FileAccess& MacroFiles(const MacroContext& context);

// Text as a text-mode stream writes it (each line feed becomes CR LF), and back.
std::string ToCrLf(std::string_view text);
std::string FromCrLf(std::string_view text);
