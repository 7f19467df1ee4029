// Writing every file at the end of a calibration: the controller definition and the
// calibration file in the program's controller folder, the simulators' copies and the main
// program's device folder.
#pragma once
#include <string>
#include <vector>

#include "calibration/calibration_file.h"
#include "calibration/controller_file.h"
#include "calibration/destination_folders.h"
#include "calibration/vcl/system.h"

namespace cal {

struct CalibrationResult {
  Ranges ranges = InitialRanges();
  LeverNames leverNames;
  bool marked = false;  // report byte 14 was 0xD2
  std::vector<ControllerRow> rows;
};

// The App Paths keys of the simulators that get "controllers\modern.lcm", in order.
extern const char* const kSimulatorKeys[4];
inline constexpr const char* kSimulatorDocumentCommand = "TM4.Document\\shell\\open\\command";
inline constexpr const char* kMainProgramKey = "SOFTWARE\\Kestrion\\Lococab ORVX";
// The main program's device-type folder of the cab controller (vendor 0x0A7C, product 0x00D2),
// spelt as the main program builds its folder names under "QpadDevices": in lower case, so
// that both programs name one folder where names are case-sensitive.
inline constexpr const char* kCabDeviceFolder = "\\QpadDevices\\Vid0a7cPid00d2";

// Creates or replaces the file with exactly these bytes through a temporary file beside it;
// false when it cannot be written, and the old file then stays whole.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// What the writing at the end came to: the files that could not be written, in the order they
// were tried, and whether any calibration file (ModernCalibration.lcm, a simulator's modern.lcm)
// was written.
struct WriteOutcome {
  std::vector<std::string> unwritten;
  bool calibrationWritten = false;
};

// Every destination in order; a destination that fails is noted and the others still written.
WriteOutcome WriteCalibrationFiles(const std::string& programFolder, const CalibrationResult& result,
                                   vcl::System& system);
void WriteSimulatorCalibration(const std::string& key, const std::string& calibrationText,
                               vcl::System& system, WriteOutcome& outcome);
void WriteDeviceFolderCalibration(const std::string& mainProgramFolder,
                                  const std::string& calibrationText, WriteOutcome& outcome);

}  // namespace cal
