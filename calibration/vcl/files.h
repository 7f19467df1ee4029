// File and folder helpers of the class-library stand-in (the run-time library's file functions).
#pragma once
#include <string>
#include <string_view>

#include "calibration/vcl/file_names.h"

namespace vcl {

// The folder of the running program, without a trailing backslash.
std::string ExeFolder();
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder level; false when it cannot (a missing parent included).
bool CreateDir(const std::string& path);
// Creates or replaces the file with exactly these bytes. They go into a temporary file beside
// it first, which then takes the file's place in one step: on any failure the old file stays
// whole and the temporary file is gone.
bool ReplaceFileWith(const std::string& path, std::string_view bytes);
// Copies, replacing the target in the same way.
bool CopyFileOver(const std::string& from, const std::string& to);

}  // namespace vcl
