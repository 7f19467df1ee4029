#include "ui/layers/exe_name_table.h"

#include <vector>

#include "platform/base/text_lines.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return text;
}

void ReadExeNameTable(std::string_view text, ExeNameTable& table, LowerCaseFunction lower) {
  for (std::string_view line : SplitFileLines(text, kExeNameTableLineChars)) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) continue;
    std::string_view name = line.substr(comma + 1);
    name = name.substr(0, name.find(','));
    const std::string_view exe = Trim(line.substr(0, comma));
    name = Trim(name);
    if (exe.empty() || name.empty()) continue;
    table[lower(std::string(exe))] = std::string(name);
  }
}
