// Names of the program and device folders: plain text work, no file system.
#include <cstdio>

#include "runtime/device/device_folders.h"

std::string ProgramFolderFromCommandLine(const std::string& commandLine) {
  std::string token;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const auto close = commandLine.find('"', 1);
    token = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  } else {
    token = commandLine.substr(0, commandLine.find_first_of(" \t"));
  }
  const auto sep = token.find_last_of("\\:");
  return sep == std::string::npos ? std::string() : token.substr(0, sep + 1);
}

std::string DeviceFolderName(const std::string& root, int vendorId, int productId, int version,
                             bool upperCase) {
  char name[40];
  if (version > 0) {
    std::snprintf(name, sizeof name, upperCase ? "Vid%04XPid%04Xv%04X" : "Vid%04xPid%04xv%04x",
                  vendorId & 0xFFFF, productId & 0xFFFF, version & 0xFFFF);
  } else {
    std::snprintf(name, sizeof name, upperCase ? "Vid%04XPid%04X" : "Vid%04xPid%04x",
                  vendorId & 0xFFFF, productId & 0xFFFF);
  }
  return JoinPath(root, name);
}
