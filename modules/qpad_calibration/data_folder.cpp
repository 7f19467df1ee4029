#include "modules/qpad_calibration/data_folder.h"

namespace qpadcal {

void CutAtLastSeparator(std::string& path) {
  std::size_t at = path.rfind('\\');
  if (at == std::string::npos) at = path.rfind('/');
  if (at != std::string::npos) path.erase(at);
}

std::string PicturePath(std::string_view folder, std::string_view file) {
  std::string path;
  path.reserve(folder.size() + 1 + file.size());
  path.append(folder).append("\\").append(file);
  return path;
}

}  // namespace qpadcal
