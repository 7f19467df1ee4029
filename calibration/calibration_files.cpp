// The files written at the end of a calibration, and where they go.
#include "calibration/calibration_files.h"

#include "calibration/vcl/files.h"
#include "calibration/vcl/ini_file.h"
#include "platform/base/file_replace.h"

namespace cal {

const char* const kSimulatorKeys[4] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\trainz.exe",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TRS2004.exe",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TRS2006.exe",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TC.exe",
};

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  // The bytes as they are: the files hold single line feeds, as their readers expect. A reader
  // (another program, a simulator) sees the old file or the new one, never half of one, and a
  // simulator that reads its folder's *.lcm files never meets the temporary one.
  return ReplaceFileWith(path, bytes, TemporaryName::kUnique);
}

namespace {

// One calibration file written, or noted as not written.
void PutCalibration(const std::string& path, const std::string& calibrationText, WriteOutcome& outcome) {
  if (WriteWholeFile(path, calibrationText)) outcome.calibrationWritten = true;
  else outcome.unwritten.push_back(path);
}

}  // namespace

void WriteSimulatorCalibration(const std::string& key, const std::string& calibrationText,
                               vcl::System& system, WriteOutcome& outcome) {
  std::string value;
  if (!vcl::Registry(system, vcl::RegistryRoot::LocalMachine).ReadString(key, "Path", value))
    return;
  const std::string folder = AppPathFolder(value);
  if (folder.empty()) return;
  const std::string controllers = folder + "\\controllers";
  if (!vcl::DirectoryExists(controllers)) vcl::CreateDir(controllers);
  PutCalibration(controllers + "\\modern.lcm", calibrationText, outcome);
}

void WriteDeviceFolderCalibration(const std::string& mainProgramFolder,
                                  const std::string& calibrationText, WriteOutcome& outcome) {
  PutCalibration(mainProgramFolder + kCabDeviceFolder + "\\" + kCalibrationFileName, calibrationText,
                 outcome);
}

WriteOutcome WriteCalibrationFiles(const std::string& programFolder, const CalibrationResult& result,
                                   vcl::System& system) {
  WriteOutcome outcome;
  const std::string controllerFolder = programFolder + "\\controller";
  const std::string controllerFile = controllerFolder + "\\" + kControllerFileName;
  if (!WriteWholeFile(controllerFile, ControllerFileText(result.rows, result.ranges, result.marked)))
    outcome.unwritten.push_back(controllerFile);
  const std::string calibration = CalibrationFileText(result.leverNames, result.ranges);
  PutCalibration(controllerFolder + "\\" + kCalibrationFileName, calibration, outcome);

  std::string command;
  if (vcl::Registry(system, vcl::RegistryRoot::ClassesRoot).ReadString(kSimulatorDocumentCommand, "", command)) {
    const std::string folder = CommandFolder(command);
    if (!folder.empty()) {
      const std::string target = folder + "\\controller";
      if (!vcl::DirectoryExists(target)) vcl::CreateDir(target);
      const std::string copy = target + "\\" + kControllerFileName;
      if (!CopyFileOver(controllerFile, copy, TemporaryName::kUnique)) outcome.unwritten.push_back(copy);
    }
  }
  for (const char* key : kSimulatorKeys) WriteSimulatorCalibration(key, calibration, system, outcome);

  std::string mainProgram;
  if (vcl::Registry(system, vcl::RegistryRoot::LocalMachine).ReadString(kMainProgramKey, "", mainProgram) &&
      !RegistryFolder(mainProgram).empty())
    WriteDeviceFolderCalibration(RegistryFolder(mainProgram), calibration, outcome);
  return outcome;
}

}  // namespace cal
