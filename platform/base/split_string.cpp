#include "platform/base/split_string.h"

std::vector<std::size_t> SplitString(std::string_view text, std::string_view separators,
                                     std::vector<std::string>& pieces) {
  std::vector<std::size_t> starts;
  std::size_t pos = text.find_first_not_of(separators);
  while (pos != std::string_view::npos) {
    std::size_t end = text.find_first_of(separators, pos);
    if (end == std::string_view::npos) end = text.size();
    starts.push_back(pos);
    pieces.emplace_back(text.substr(pos, end - pos));
    pos = text.find_first_not_of(separators, end);
  }
  return starts;
}
