// Fuzz entry: the desktop setup wizard's starter script for any name, address and e-mail
// address (the input as UTF-16LE code units, the three texts split at the first two zero
// units). Whatever the user typed, the file stays narrow text of whole lines, of the same
// shape, and each user text's statement holds one closed string literal.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/setup_wizard/starter_script.h"

namespace {

std::vector<std::string_view> Lines(std::string_view file) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = file.find("\r\n", start)) != std::string_view::npos; start = end + 2)
    lines.push_back(file.substr(start, end - start));
  if (start != file.size()) __builtin_trap();
  return lines;
}

// SendString("...") with every quote inside escaped and nothing after the literal but ");".
bool OneClosedLiteral(std::string_view line) {
  constexpr std::string_view head = "SendString(\"";
  if (line.substr(0, head.size()) != head) return false;
  std::size_t i = head.size();
  while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
  return i < line.size() && line.substr(i) == "\");";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring texts[3];
  int which = 0;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0 && which < 2)
      ++which;
    else
      texts[which] += unit;
  }
  const std::string file = StarterScriptFile({texts[0], texts[1], texts[2]});
  for (char c : file)
    if (c <= 0) __builtin_trap();
  static const size_t emptyLines = Lines(StarterScriptFile({})).size();
  const std::vector<std::string_view> lines = Lines(file);
  if (lines.size() != emptyLines) __builtin_trap();
  for (const char* head : {"void KeyDown_0_Green_Pnr()", "void KeyDown_16_Green_Pnr()",
                           "void KeyDown_32_Green_Pnr()"}) {
    size_t at = 0;
    while (at < lines.size() && lines[at] != head) ++at;
    if (at + 3 >= lines.size()) __builtin_trap();
    const std::string_view marker = lines[at + 2];
    if (marker.substr(0, 10) != "//ORVX: \"/" || marker.back() != '"') __builtin_trap();
    if (!OneClosedLiteral(lines[at + 3])) __builtin_trap();
  }
  return 0;
}
