#include "ui/programming_window/script_file_names.h"

namespace {

constexpr std::string_view kExtension = ".oxs";

std::size_t FileNameStart(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool IsScriptFilePath(std::string_view path) {
  if (path.size() - FileNameStart(path) <= kExtension.size()) return false;
  const std::string_view tail = path.substr(path.size() - kExtension.size());
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (Lower(tail[i]) != kExtension[i]) return false;
  return true;
}

std::string ScriptFileSuggestion(std::string_view path) {
  const std::size_t start = FileNameStart(path);
  const std::size_t dot = path.find_last_of('.');
  // A dot at the start of the file name begins its name, not an extension.
  const bool hasExtension = dot != std::string_view::npos && dot > start;
  return std::string(path.substr(0, hasExtension ? dot : path.size())) + std::string(kExtension);
}

std::string FolderOfPath(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}
