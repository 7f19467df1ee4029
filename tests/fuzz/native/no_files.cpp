// The native fuzz build has no file system of the calibration program's kind: no folder is
// there and nothing can be written, so every destination of a calibration is one that failed.
#include "calibration/vcl/files.h"

namespace vcl {

std::string ExeFolder() { return "C:\\nowhere"; }
bool FileExists(const std::string&) { return false; }
bool DirectoryExists(const std::string&) { return false; }
bool CreateDir(const std::string&) { return false; }
bool ReplaceFileWith(const std::string&, std::string_view) { return false; }
bool CopyFileOver(const std::string&, const std::string&) { return false; }

}  // namespace vcl
