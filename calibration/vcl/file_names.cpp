#include "calibration/vcl/file_names.h"

namespace vcl {

std::string FolderOf(const std::string& path) {
  const size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace vcl
