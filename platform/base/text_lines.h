#pragma once
// Device data files are read line by line through a fixed line buffer; these helpers give the
// same lines from the whole text, so the parsers work on plain strings.

#include <cstddef>
#include <string_view>
#include <vector>

// The lines a reader with room for `maxChars` characters per line sees: each ends after its
// line feed or after `maxChars` characters (the rest of a longer line is the next line), and
// nothing after a zero byte in a line counts.
std::vector<std::string_view> SplitFileLines(std::string_view text, std::size_t maxChars);

#include <cstdio>
#include <string>

// The rest of an open file.
std::string ReadAllText(std::FILE* file);
