// Fuzz target: the legend editor's reading of a layout file. It makes no more boxes than its
// bound; a text cut after a line end reads as the first boxes of the whole text; commas,
// equals signs and tabs read as blanks; comment lines put between the lines change nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "ui/legend_editor/legend_layout.h"

namespace {

bool StartsWith(const LegendLayout& whole, const LegendLayout& part) {
  return part.boxes.size() <= whole.boxes.size() &&
         std::equal(part.boxes.begin(), part.boxes.end(), whole.boxes.begin()) &&
         (!part.dieCut || whole.dieCut);
}

bool Same(const LegendLayout& a, const LegendLayout& b) {
  return a.boxes == b.boxes && a.dieCut == b.dieCut;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const LegendLayout layout = ReadLegendLayout(text);
  Check(layout.boxes.size() <= kMaxCaptionBoxes);

  std::vector<std::size_t> lineEnds;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    lineEnds.push_back(at + 1);
  // A few cuts spread over the text keep a run short for long inputs.
  const std::size_t step = lineEnds.size() / 4 + 1;
  for (std::size_t i = 0; i < lineEnds.size(); i += step)
    Check(StartsWith(layout, ReadLegendLayout(std::string_view(text).substr(0, lineEnds[i]))));

  std::string blanks = text;
  std::replace_if(blanks.begin(), blanks.end(), [](char c) { return c == ',' || c == '=' || c == '\t'; }, ' ');
  Check(Same(layout, ReadLegendLayout(blanks)));

  std::string commented = "# a comment\n";
  for (char c : text) {
    commented += c;
    if (c == '\n') commented += "  #buttonLabel 1 1\n\n";
  }
  Check(Same(layout, ReadLegendLayout(commented)));
  return 0;
}
