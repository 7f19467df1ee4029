// File and folder helpers of the class-library stand-in (the run-time library's file functions).
#pragma once
#include <string>

#include "calibration/vcl/file_names.h"

namespace vcl {

// The folder of the running program, without a trailing backslash.
std::string ExeFolder();
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder level; false when it cannot (a missing parent included).
bool CreateDir(const std::string& path);

}  // namespace vcl
