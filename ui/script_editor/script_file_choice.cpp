#include "ui/script_editor/script_file_choice.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

ChosenFileKind ClassifyChosenFile(std::string_view path) {
  if (path.size() < 4) return ChosenFileKind::Other;
  std::string last;
  for (char c : path.substr(path.size() - 4)) last += Lower(c);
  if (last == ".oxs") return ChosenFileKind::Script;
  if (last == ".q11" || (last.starts_with(".qp") && last[3] >= '0' && last[3] <= '9'))
    return ChosenFileKind::OldLayout;
  return ChosenFileKind::Other;
}

std::optional<std::string> FreeTempScriptName(std::string folder,
                                              const std::function<bool(const std::string&)>& exists) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  for (char digit = '0'; digit <= '9'; ++digit) {
    std::string name = folder + "tempScript" + digit + ".oxs";
    if (!exists(name)) return name;
  }
  return std::nullopt;
}
