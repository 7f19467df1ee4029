#include "platform/base/text_lines.h"

std::vector<std::string_view> SplitFileLines(std::string_view text, std::size_t maxChars) {
  std::vector<std::string_view> lines;
  if (maxChars == 0) return lines;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = 0;
    while (i + n < text.size() && n < maxChars) {
      ++n;
      if (text[i + n - 1] == '\n') break;
    }
    std::string_view line = text.substr(i, n);
    const std::size_t zero = line.find('\0');
    if (zero != std::string_view::npos) line = line.substr(0, zero);
    lines.push_back(line);
    i += n;
  }
  return lines;
}

std::string ReadAllText(std::FILE* file) {
  std::string text;
  if (!file) return text;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  return text;
}
