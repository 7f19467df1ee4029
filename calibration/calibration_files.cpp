// The files written at the end of a calibration, and where they go.
#include "calibration/calibration_files.h"

#include "calibration/vcl/files.h"
#include "calibration/vcl/ini_file.h"

namespace cal {

const char* const kSimulatorKeys[4] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\trainz.exe",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TRS2004.exe",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TRS2006.exe",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TC.exe",
};

std::string CommandFolder(const std::string& command) {
  // Open commands are usually quoted ("C:\...\x.exe" "%1"), and their arguments may hold
  // backslashes: only the program's own path names the folder.
  size_t i = command.find_first_not_of(' ');
  if (i == std::string::npos) return {};
  std::string program;
  if (command[i] == '"') {
    const size_t close = command.find('"', i + 1);
    program = command.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
  } else {
    const size_t blank = command.find(' ', i);
    program = command.substr(i, blank == std::string::npos ? std::string::npos : blank - i);
  }
  return vcl::FolderOf(program);
}

std::string RegistryFolder(const std::string& value) {
  // A quote can be no part of a Windows path: every quote goes, wherever the installer put it
  // ("C:\Program Files\X" or "C:\Program Files\X\").
  std::string folder;
  for (char c : value)
    if (c != '"') folder += c;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!folder.empty() && (blank(folder.back()) || folder.back() == '\\')) folder.pop_back();
  size_t start = 0;
  while (start < folder.size() && blank(folder[start])) ++start;
  return folder.substr(start);
}

std::string AppPathFolder(const std::string& value) {
  // "Path" is a search list; the program's own folder comes first.
  bool quoted = false;
  size_t end = 0;
  for (; end < value.size() && (quoted || value[end] != ';'); ++end)
    if (value[end] == '"') quoted = !quoted;
  return RegistryFolder(value.substr(0, end));
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  // The bytes as they are: the files hold single line feeds, as their readers expect. A reader
  // (another program, a simulator) sees the old file or the new one, never half of one.
  return vcl::ReplaceFileWith(path, bytes);
}

void WriteSimulatorCalibration(const std::string& key, const std::string& calibrationText,
                               vcl::System& system) {
  std::string value;
  if (!vcl::Registry(system, vcl::RegistryRoot::LocalMachine).ReadString(key, "Path", value))
    return;
  const std::string folder = AppPathFolder(value);
  if (folder.empty()) return;
  const std::string controllers = folder + "\\controllers";
  if (!vcl::DirectoryExists(controllers)) vcl::CreateDir(controllers);
  WriteWholeFile(controllers + "\\modern.lcm", calibrationText);
}

void WriteDeviceFolderCalibration(const std::string& mainProgramFolder,
                                  const std::string& calibrationText) {
  WriteWholeFile(mainProgramFolder + kCabDeviceFolder + "\\" + kCalibrationFileName,
                 calibrationText);
}

void WriteCalibrationFiles(const std::string& programFolder, const CalibrationResult& result,
                           vcl::System& system) {
  const std::string controllerFolder = programFolder + "\\controller";
  const std::string controllerFile = controllerFolder + "\\" + kControllerFileName;
  WriteWholeFile(controllerFile, ControllerFileText(result.rows, result.ranges, result.marked));
  const std::string calibration = CalibrationFileText(result.leverNames, result.ranges);
  WriteWholeFile(controllerFolder + "\\" + kCalibrationFileName, calibration);

  std::string command;
  if (vcl::Registry(system, vcl::RegistryRoot::ClassesRoot).ReadString(kSimulatorDocumentCommand, "", command)) {
    const std::string folder = CommandFolder(command);
    if (!folder.empty()) {
      const std::string target = folder + "\\controller";
      if (!vcl::DirectoryExists(target)) vcl::CreateDir(target);
      vcl::CopyFileOver(controllerFile, target + "\\" + kControllerFileName);
    }
  }
  for (const char* key : kSimulatorKeys) WriteSimulatorCalibration(key, calibration, system);

  std::string mainProgram;
  if (vcl::Registry(system, vcl::RegistryRoot::LocalMachine).ReadString(kMainProgramKey, "", mainProgram) &&
      !RegistryFolder(mainProgram).empty())
    WriteDeviceFolderCalibration(RegistryFolder(mainProgram), calibration);
}

}  // namespace cal
