// The native fuzz build has no file system of the calibration program's kind: no folder is
// there and nothing can be written, so every destination of a calibration is one that failed.
#include "calibration/vcl/files.h"
#include "platform/base/file_replace.h"

namespace vcl {

std::string ExeFolder() { return "C:\\nowhere"; }
bool FileExists(const std::string&) { return false; }
bool DirectoryExists(const std::string&) { return false; }
bool CreateDir(const std::string&) { return false; }

}  // namespace vcl

bool ReplaceFileWith(const std::string&, std::string_view, TemporaryName) { return false; }
bool CopyFileOver(const std::string&, const std::string&, TemporaryName) { return false; }
