#pragma once
// Cutting a text into the words between runs of separator characters.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Appends to `pieces` the parts of `text` between runs of characters of `separators` (a run
// gives no empty piece) and returns the start position of each part, in order.
std::vector<std::size_t> SplitString(std::string_view text, std::string_view separators,
                                     std::vector<std::string>& pieces);
