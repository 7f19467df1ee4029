#pragma once
// Where the legend editor puts its caption boxes: over the labels of the programming window's
// key records, or from a layout file of the user's choice, read by the editor's own rules
// (commas and equals signs separate too, numbers may be hexadecimal or octal, and a malformed
// number ends the reading with the boxes made so far). The layout file also tells the paper.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/key_records.h"

// A caption box in the window's client pixels.
struct CaptionBox {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const CaptionBox&) const = default;
};

inline constexpr std::size_t kLegendLineChars = 255;
// No keypad has more; a row count beyond it would only make windows without end.
inline constexpr std::size_t kMaxCaptionBoxes = 1024;

struct LegendLayout {
  std::vector<CaptionBox> boxes;
  bool dieCut = false;  // "paperType dieCut": the sheet is pre-cut, printed without outlines
};

LegendLayout ReadLegendLayout(std::string_view text);

struct KeyCaption {
  CaptionBox box;
  std::wstring text;
};
// One caption per key the window shows with a label of its own: plain keys and key caps (not
// the keys a cap covers, nor spacers), in record order, over the label rectangle (cut to whole
// pixels), or over the key itself when it has no label. The text is the key's Key Down macro
// of the green layer's default program layer, and its Key Up macro after a dashed line.
std::vector<KeyCaption> KeyCaptions(const std::vector<KeyRecord>& keys);
