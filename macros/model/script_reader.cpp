#include "macros/model/script_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "macros/model/custom_commands.h"
#include "macros/model/key_function_names.h"
#include "macros/model/key_functions.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/macro_text.h"
#include "macros/model/script_writer.h"
#include "macros/model/text_code_page.h"
#include "platform/base/file_access.h"

namespace {

// The text's lines without their line ends (a CR before the LF goes too).
class Lines {
 public:
  explicit Lines(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find('\n', pos);
      const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(pos, end - pos);
      if (line.ends_with('\r')) line.remove_suffix(1);
      lines_.push_back(line);
      pos = next;
    }
  }
  bool AtEnd() const { return next_ >= lines_.size(); }
  std::string_view Take() { return lines_[next_++]; }
  std::string_view Peek() const { return lines_[next_]; }
  void Back() { --next_; }

 private:
  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;
};

std::string_view LeftTrimmed(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

bool Has(std::string_view line, std::string_view marker) { return line.find(marker) != std::string_view::npos; }

// The writer puts every marker at the start of its line (after blanks or tabs): a marker word
// inside other text (a file name, a string) is no marker.
bool Starts(std::string_view line, std::string_view marker) { return LeftTrimmed(line).starts_with(marker); }

// "//" and a decimal number; anything else reads as 0.
int NumberLine(std::string_view line) {
  if (line.size() < 2) return 0;
  const std::string rest(line.substr(2));
  return static_cast<int>(std::strtol(rest.c_str(), nullptr, 10));
}

// Number lines up to "//ORVX: End"; none when the text ends first (its last number may be
// cut short).
std::vector<int> NumberLines(Lines& lines) {
  std::vector<int> numbers;
  while (!lines.AtEnd()) {
    const std::string_view line = lines.Take();
    if (Starts(line, "//ORVX: End")) return numbers;
    numbers.push_back(NumberLine(line));
  }
  return {};
}

struct FunctionName {
  KeyEvent event = KeyEvent::Down;
  LayerColour colour = LayerColour::Green;
  std::string program;
  std::uint8_t scan = 0;
};

bool IsWord(std::string_view text) {
  if (text.empty()) return false;
  for (char ch : text)
    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_') return false;
  return true;
}

// "Event_scan_Colour_Program()": an event and a colour layer the writer names, and a program
// layer it can put into a name again. False when the name has not that shape.
bool ParseFunctionName(std::string_view name, FunctionName& out) {
  const std::size_t a = name.find('_');
  if (a == std::string_view::npos) return false;
  const std::size_t b = name.find('_', a + 1);
  if (b == std::string_view::npos) return false;
  const std::size_t c = name.find('_', b + 1);
  if (c == std::string_view::npos) return false;
  const std::size_t paren = name.find('(', c + 1);
  if (paren == std::string_view::npos) return false;
  const std::optional<KeyEvent> event = KeyEventOfName(name.substr(0, a));
  const std::string scan(name.substr(a + 1, b - a - 1));
  const std::optional<LayerColour> colour = LayerColourOfName(name.substr(b + 1, c - b - 1));
  out.program = std::string(name.substr(c + 1, paren - c - 1));
  if (!event || !colour || !IsWord(out.program) || scan.empty() ||
      !std::all_of(scan.begin(), scan.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    return false;
  out.event = *event;
  out.colour = *colour;
  out.scan = static_cast<std::uint8_t>(std::strtol(scan.c_str(), nullptr, 10) & 0xFF);
  return true;
}

// The two words after "//fstart" ("void" and the name), on its line or the next ones.
bool FunctionHeader(std::string_view rest, Lines& lines, std::string& name) {
  std::vector<std::string_view> words;
  for (;;) {
    std::size_t pos = 0;
    constexpr std::string_view kBlanks = " \t\r\v\f";
    while (words.size() < 2 && (pos = rest.find_first_not_of(kBlanks, pos)) != std::string_view::npos) {
      const std::size_t end = rest.find_first_of(kBlanks, pos);
      words.push_back(rest.substr(pos, end == std::string_view::npos ? end : end - pos));
      pos = end;
    }
    if (words.size() >= 2) break;
    if (lines.AtEnd()) return false;
    rest = lines.Take();
  }
  name = std::string(words[1]);
  return true;
}

// A step marker of a custom command: its include file and, from the next line, its id.
void ReadCustomCommand(std::map<int, std::string>& includes, std::string_view marker, Lines& lines) {
  constexpr std::string_view kStart = "//ORVX: \"[CC: ";
  if (!LeftTrimmed(marker).starts_with(kStart)) return;  // typed text is no command
  std::string_view name = LeftTrimmed(marker).substr(kStart.size());
  if (!name.ends_with("]\"")) return;
  name.remove_suffix(2);
  if (lines.AtEnd() || !lines.Peek().starts_with(kCommandIdDefine)) return;
  const int id = CustomCommandIdOf(lines.Peek());
  if (id <= 0) return;
  includes[id] = NarrowText(DecodeMacroText(WidenText(name))) + ".oxc";
}

// One function block after its "//fstart" line: the body up to "//fend", added when one of its
// lines is a step marker. An unfinished function (the end of the text, or the next "//fstart")
// is dropped.
void ReadFunction(MacroContext& c, std::string_view header, Lines& lines) {
  std::string name;
  if (!FunctionHeader(header.substr(header.find("//fstart") + 8), lines, name) || lines.AtEnd()) return;
  std::string body(lines.Take());  // the first body line is not examined
  body += '\n';
  bool marked = false;
  for (;;) {
    if (lines.AtEnd()) return;
    const std::string_view line = lines.Take();
    if (line.starts_with("//fend")) break;
    if (line.starts_with("}//fend")) {
      body += '}';
      break;
    }
    if (Starts(line, "//fstart")) {
      lines.Back();
      return;
    }
    if (line == "}") {
      if (!lines.AtEnd() && lines.Peek().starts_with("//fend")) {
        lines.Take();
        body += '}';
        break;
      }
      body += "}\n";
      continue;
    }
    if (Starts(line, "//ORVX")) marked = true;
    body.append(line).append("\n");
  }
  FunctionName f;
  if (marked && ParseFunctionName(name, f)) AddKeyFunction(c.functions, f.scan, f.event, f.colour, f.program, body);
}

// The includes of the custom commands that the context's functions run (those read now and
// those it held): each command step's file and id. Ids are never used twice: the count is the
// highest id in use.
void CollectCustomCommands(MacroContext& c) {
  for (const KeyFunction& f : c.functions.items) CustomCommandsOfBody(f.body, c.includes);
  for (const auto& entry : c.includes)
    if (entry.first > c.customCommandCount) c.customCommandCount = entry.first;
}

}  // namespace

void ReadScriptText(MacroContext& c, std::string_view text, DeviceEffects effects) {
  MacroModelEvents& events = c.events;
  c.shiftKeys.clear();
  c.toggleKeys.clear();
  c.keyCaps.clear();
  c.includes.clear();
  c.customCommandCount = 0;
  if (c.windowOpen && !c.layerNames.empty()) {
    events.RemoveLayerMenus(c);
    c.layerNames.clear();
    c.layerPrograms.clear();
  }

  Lines lines(text);
  bool backlightApplied = false;
  while (!lines.AtEnd()) {
    const std::string_view line = lines.Take();
    if (Starts(line, "//fstart")) {
      ReadFunction(c, line, lines);
    } else if (Starts(line, "//ORVX:Layer")) {
      std::string_view rest = line.substr(line.find("//ORVX:Layer") + 12);
      if (rest.starts_with(' ')) rest.remove_prefix(1);
      const std::size_t comma = rest.find(',');
      while (!lines.AtEnd() && !Starts(lines.Take(), "//ORVX:End_Layer")) {
      }
      if (comma != std::string_view::npos && comma > 0)  // a layer line needs a name and its ","
        c.layerMap[LayerMarkerName(rest.substr(0, comma))] = LayerMarkerProgram(rest.substr(comma + 1));
    } else if (Starts(line, "//ORVX: Toggle Keys") || Starts(line, "//ORVX: Shift Keys")) {
      const bool shift = Starts(line, "//ORVX: Shift Keys");
      for (int key : NumberLines(lines)) {
        (shift ? c.shiftKeys : c.toggleKeys).insert(key);
        const auto scan = static_cast<std::uint8_t>(key);
        for (KeyEvent event : {KeyEvent::Down, KeyEvent::Up}) {
          if (!shift && event == KeyEvent::Up) continue;
          for (LayerColour colour : {LayerColour::Green, LayerColour::Red})
            AddKeyFunction(c.functions, scan, event, colour, kAnyProgramLayer, "");
        }
      }
    } else if (Starts(line, "//ORVX: KeyCap")) {
      const std::vector<int> numbers = NumberLines(lines);
      if (numbers.size() < 6) continue;  // a cap cut short is no cap
      KeyCapDefinition cap;
      cap.kind = numbers[0];
      cap.capId = static_cast<std::uint8_t>(numbers[1]);
      cap.left = static_cast<float>(numbers[2]);
      cap.top = static_cast<float>(numbers[3]);
      cap.height = static_cast<float>(numbers[4]);
      cap.width = static_cast<float>(numbers[5]);
      for (std::size_t i = 6; i < numbers.size(); ++i) cap.covered.push_back(static_cast<std::uint8_t>(numbers[i]));
      c.keyCaps.push_back(std::move(cap));
    } else if (Starts(line, "//ORVX: Spacers")) {
      for (int key : NumberLines(lines)) c.spacers.insert(key);
    } else if (Starts(line, "//ORVX: Backlights")) {
      c.scriptBacklights = Has(line, "true");
      if (effects == DeviceEffects::Apply && c.device && !c.device->Settings().backlightStateKnown) {
        c.device->SetBacklights(*c.scriptBacklights);
        backlightApplied = true;
      }
    } else if (Starts(line, "//ORVX: Keyswitch Mode")) {
      c.scriptKeyswitch = Has(line, "true");
      if (effects == DeviceEffects::Apply && c.device) c.device->SetKeyswitchMode(*c.scriptKeyswitch);
      if (c.windowOpen) events.CheckKeyswitch(c, *c.scriptKeyswitch);
    }
  }

  if (effects == DeviceEffects::Apply && !backlightApplied && c.device) {
    const DeviceScriptSettings s = c.device->Settings();
    if (s.backlightsAvailable && !s.backlightStateKnown) c.device->SetBacklights(true);
  }
  CollectCustomCommands(c);
  if (!c.functions.tree) RebuildKeyFunctionTree(c.functions);
  for (const auto& [name, program] : c.layerMap) {
    if (c.windowOpen)
      events.AddLayer(c, name, program);
    else
      ListLayer(c, name, program);
  }
}

void CustomCommandsOfBody(std::string_view body, std::map<int, std::string>& includes) {
  Lines lines(body);
  while (!lines.AtEnd()) {
    const std::string_view line = lines.Take();
    if (Starts(line, "//ORVX")) ReadCustomCommand(includes, line, lines);
  }
}

bool ReadScriptFile(MacroContext& context, const std::string& path, DeviceEffects effects) {
  std::string bytes;
  const bool read = MacroFiles(context).Read(path, bytes, 64u << 20) == FileAccess::ReadResult::Ok;
  ReadScriptText(context, read ? std::string_view(bytes) : std::string_view(), effects);
  return read;
}
