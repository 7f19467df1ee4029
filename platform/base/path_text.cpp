#include "platform/base/path_text.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return {};
  std::string path = folder;
  if (path.back() != '\\') path += '\\';
  path += name;
  return path.size() > kMaxPathChars ? std::string() : path;
}

std::string CutAtLastBackslash(const std::string& path) {
  const auto sep = path.rfind('\\');
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string CutAfterLastBackslash(const std::string& path) {
  const auto sep = path.rfind('\\');
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}
