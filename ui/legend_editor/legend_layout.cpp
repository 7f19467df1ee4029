#include "ui/legend_editor/legend_layout.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>

#include "macros/model/macro_records.h"
#include "macros/model/macro_steps.h"
#include "platform/base/split_string.h"
#include "platform/base/text_lines.h"

namespace {

enum class Keyword {
  LabelOffset, LabelSize, ButtonSize, ButtonLabel, ButtonLabelRow, LabelRow, ButtonLabelColumn,
  LabelColumn, RepeatRow, RepeatColumn, PaperType,
};

const std::map<std::string_view, Keyword>& Keywords() {
  static const std::map<std::string_view, Keyword> table = {
      {"labelOffset", Keyword::LabelOffset}, {"labelSize", Keyword::LabelSize},
      {"buttonSize", Keyword::ButtonSize}, {"buttonLabel", Keyword::ButtonLabel},
      {"buttonLabelRow", Keyword::ButtonLabelRow}, {"labelRow", Keyword::LabelRow},
      {"buttonLabelColumn", Keyword::ButtonLabelColumn}, {"labelColumn", Keyword::LabelColumn},
      {"repeatRow", Keyword::RepeatRow}, {"repeatColumn", Keyword::RepeatColumn},
      {"paperType", Keyword::PaperType},
  };
  return table;
}

// Commas and equals signs separate too: "labelSize = 40, 20" is "labelSize 40 20".
std::vector<std::string> Tokens(std::string_view line) {
  std::vector<std::string> tokens;
  SplitString(line, " \t,=\r\n", tokens);
  return tokens;
}

// Decimal, "0x" hexadecimal or leading-0 octal, wholly a number and within int.
std::optional<int> Number(std::string_view token) {
  const std::string text(token);
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

int Clamp(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// The label form places boxes at the row's own position; the button-label form adds the
// label's offset and steps by the button's size.
enum class Form { Label, ButtonLabel };

struct Run {
  long long x = 0, y = 0;
  long long gap = 0;
  long long count = 0;
};

struct Reader {
  int labelDx = 0, labelDy = 0;
  int labelW = 0, labelH = 0;
  int buttonW = 0, buttonH = 0;
  Form form = Form::ButtonLabel;
  Run row, column;
  LegendLayout layout;

  bool Full() const { return layout.boxes.size() >= kMaxCaptionBoxes; }

  void Box(long long x, long long y) {
    if (Full()) return;
    const bool label = labelW != 0 && labelH != 0;
    layout.boxes.push_back({Clamp(x), Clamp(y), label ? labelW : buttonW, label ? labelH : buttonH});
  }
  long long StepAcross() const { return form == Form::Label ? labelW : buttonW; }
  long long StepDown() const { return form == Form::Label ? labelH : buttonH; }
  long long Dx() const { return form == Form::ButtonLabel ? labelDx : 0; }
  long long Dy() const { return form == Form::ButtonLabel ? labelDy : 0; }

  void PlaceRow(const Run& r) {
    for (long long i = 0; i < r.count && !Full(); ++i)
      Box(r.x + i * (r.gap + StepAcross()) + Dx(), r.y + Dy());
  }
  void PlaceColumn(const Run& c) {
    for (long long i = 0; i < c.count && !Full(); ++i)
      Box(c.x + Dx(), c.y + i * (c.gap + StepDown()) + Dy());
  }
};

}  // namespace

LegendLayout ReadLegendLayout(std::string_view text) {
  Reader r;
  for (std::string_view line : SplitFileLines(text, kLegendLineChars)) {
    const std::vector<std::string> tokens = Tokens(line);
    if (tokens.empty() || tokens[0].front() == '#') continue;
    const auto keyword = Keywords().find(tokens[0]);
    if (keyword == Keywords().end()) continue;
    if (keyword->second == Keyword::PaperType) {
      if (tokens.size() < 2) break;
      if (tokens[1] == "dieCut") r.layout.dieCut = true;
      continue;
    }
    // Every other keyword takes numbers only; the first that is missing or malformed ends it.
    auto operands = [&](std::size_t n) -> std::optional<std::vector<int>> {
      std::vector<int> values;
      for (std::size_t i = 1; i <= n; ++i) {
        const std::optional<int> v = i < tokens.size() ? Number(tokens[i]) : std::nullopt;
        if (!v) return std::nullopt;
        values.push_back(*v);
      }
      return values;
    };
    const std::size_t needed = [&] {
      switch (keyword->second) {
        case Keyword::RepeatRow:
        case Keyword::RepeatColumn: return 1;
        case Keyword::ButtonLabelRow:
        case Keyword::LabelRow:
        case Keyword::ButtonLabelColumn:
        case Keyword::LabelColumn: return 4;
        default: return 2;
      }
    }();
    const std::optional<std::vector<int>> v = operands(needed);
    if (!v) break;
    const std::vector<int>& n = *v;
    switch (keyword->second) {
      case Keyword::LabelOffset: r.labelDx = n[0]; r.labelDy = n[1]; break;
      case Keyword::LabelSize: r.labelW = n[0]; r.labelH = n[1]; break;
      case Keyword::ButtonSize: r.buttonW = n[0]; r.buttonH = n[1]; break;
      case Keyword::ButtonLabel: r.Box(static_cast<long long>(n[0]) + r.labelDx, static_cast<long long>(n[1]) + r.labelDy); break;
      case Keyword::ButtonLabelRow:
      case Keyword::LabelRow:
        r.form = keyword->second == Keyword::LabelRow ? Form::Label : Form::ButtonLabel;
        r.row = {n[0], n[1], n[2], n[3]};
        r.PlaceRow(r.row);
        break;
      case Keyword::ButtonLabelColumn:
      case Keyword::LabelColumn:
        r.form = keyword->second == Keyword::LabelColumn ? Form::Label : Form::ButtonLabel;
        r.column = {n[0], n[1], n[2], n[3]};
        r.PlaceColumn(r.column);
        break;
      case Keyword::RepeatRow:
        r.row.y += n[0] + r.StepDown();
        r.PlaceRow(r.row);
        break;
      case Keyword::RepeatColumn:
        r.column.x += n[0] + r.StepAcross();
        r.PlaceColumn(r.column);
        break;
      case Keyword::PaperType: break;
    }
  }
  return std::move(r.layout);
}

std::vector<KeyCaption> KeyCaptions(const std::vector<KeyRecord>& keys) {
  std::vector<KeyCaption> captions;
  for (const KeyRecord& k : keys) {
    if (k.capKind >= kSpacerKey || (k.pairedId != 0 && k.pairedId != k.keyId)) continue;
    const RectF& r = k.label.Empty() ? k.key : k.label;
    KeyCaption c;
    c.box = {static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.w), static_cast<int>(r.h)};
    c.text = GetKeyDownMacroText(k.entries, LayerColour::Green, kDefaultProgramLayer);
    captions.push_back(std::move(c));
  }
  return captions;
}
