#include "macros/model/script_writer.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <set>

#include "macros/model/custom_commands.h"
#include "macros/model/script_reader.h"
#include "macros/model/key_caps.h"
#include "macros/model/key_function_names.h"
#include "macros/model/key_functions.h"
#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_text.h"
#include "platform/base/file_access.h"

namespace {

constexpr std::string_view kToggleDownBody = "\n{\n\tToggleLedLayer();\n}\n";
constexpr std::string_view kEmptyKeyUpBody = "{\n\n\n}";
constexpr std::size_t kGuardAt = 2;  // just after the body's opening "{\n"

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02x", value & 0xFF);
  return text;
}

std::string Number(int value) { return std::to_string(value); }

int Truncated(float value) {
  if (!(value > static_cast<float>(INT_MIN))) return value != value ? 0 : INT_MIN;
  if (value >= static_cast<float>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

bool HasExact(const KeyFunctionList& list, std::uint8_t scan, KeyEvent event, LayerColour colour,
              std::string_view program) {
  return std::any_of(list.items.begin(), list.items.end(), [&](const KeyFunction& f) {
    return f.scan == scan && f.event == event && f.colour == colour && f.program == program;
  });
}

void AddTemporary(KeyFunctionList& list, std::uint8_t scan, KeyEvent event, LayerColour colour,
                  std::string_view body) {
  if (AddKeyFunction(list, scan, event, colour, kAnyProgramLayer, body)) list.items.back().temporary = true;
}

// Toggle keys swap the LED layer on press; shift keys on press and on release.
void AddLayerToggleFunctions(KeyFunctionList& list, const MacroContext& c) {
  for (const auto* keys : {&c.toggleKeys, &c.shiftKeys}) {
    const bool shift = keys == &c.shiftKeys;
    for (int key : *keys) {
      const auto scan = static_cast<std::uint8_t>(key);
      for (LayerColour colour : {LayerColour::Green, LayerColour::Red})
        for (KeyEvent event : {KeyEvent::Down, KeyEvent::Up}) {
          RemoveKeyFunction(list, scan, event, colour, kAnyProgramLayer);
          const bool down = event == KeyEvent::Down;
          AddTemporary(list, scan, event, colour, down || shift ? kToggleDownBody : kEmptyKeyUpBody);
        }
    }
  }
}

bool IsGuardLine(std::string_view line) {
  auto number = [](std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (line.starts_with("EnableKey(") && line.ends_with(");"))
    return number(line.substr(10, line.size() - 12));
  constexpr std::string_view kDown = "if(curScanCode != ";
  if (!line.starts_with(kDown)) return false;
  const std::size_t close = line.find(") DisableKey(");
  if (close == std::string_view::npos || !line.ends_with(");")) return false;
  const std::string_view first = line.substr(kDown.size(), close - kDown.size());
  const std::string_view second = line.substr(close + 13, line.size() - close - 15);
  return number(first) && first == second;
}

// Takes out the guard lines (and the empty line after them) that an earlier write put at the
// start of a body, so that a body read back gets them once.
void StripGuardLines(std::string& body) {
  std::size_t pos = kGuardAt;
  const std::size_t start = pos;
  bool any = false;
  for (;;) {
    const std::size_t end = body.find('\n', pos);
    if (end == std::string::npos || !IsGuardLine(std::string_view(body).substr(pos, end - pos))) break;
    pos = end + 1;
    any = true;
  }
  if (!any) return;
  if (pos < body.size() && body[pos] == '\n') ++pos;
  body.erase(start, pos - start);
}

// The functions of a key that is the id of exactly one key cap: Key Down keeps the other keys
// under the cap quiet until Key Up lets them go again.
void AddEnableKeyCode(KeyFunctionList& list, const MacroContext& c) {
  std::map<int, int> capsOfId;
  for (const KeyCapDefinition& cap : c.keyCaps) ++capsOfId[cap.capId];
  for (std::size_t i = 0; i < list.items.size(); ++i) {  // runs on over functions added here
    const std::uint8_t scan = list.items[i].scan;
    if (capsOfId[scan] != 1) continue;
    const KeyCapDefinition& cap =
        *std::find_if(c.keyCaps.begin(), c.keyCaps.end(), [&](const KeyCapDefinition& k) { return k.capId == scan; });
    list.items[i].keyCap = true;
    std::string guard;
    if (list.items[i].event == KeyEvent::Down) {
      const KeyFunction down = list.items[i];
      if (!HasExact(list, scan, KeyEvent::Up, down.colour, down.program) &&
          AddKeyFunction(list, scan, KeyEvent::Up, down.colour, down.program, kEmptyKeyUpBody))
        list.items.back().temporary = true;
      for (std::uint8_t k : cap.covered)
        guard += "if(curScanCode != " + Number(k) + ") DisableKey(" + Number(k) + ");\n";
    } else {
      for (std::uint8_t k : cap.covered) guard += "EnableKey(" + Number(k) + ");\n";
    }
    // Guards go after a body's opening "{" line, and only for a cap over keys.
    std::string& body = list.items[i].body;
    if (cap.covered.empty() || !body.starts_with("{\n")) continue;
    StripGuardLines(body);
    body.insert(kGuardAt, guard + "\n");
  }
}

struct LayerInfo {
  std::vector<std::string> names;  // distinct, sorted byte-wise: index = position
  int IndexOfToken(std::string_view token) const {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (LayerToken(names[i]) == token) return static_cast<int>(i);
    return -1;
  }
};

LayerInfo CollectProgramLayers(const MacroContext& c) {
  LayerInfo info;
  info.names = c.layerNames;
  std::sort(info.names.begin(), info.names.end(), [](const std::string& a, const std::string& b) {
    return CompareByName(a, b) < 0;
  });
  info.names.erase(std::unique(info.names.begin(), info.names.end()), info.names.end());
  return info;
}

struct CaseEntry {
  int scan;
  std::string call;  // the leaf: a function name with "()", or empty
};

class Writer {
 public:
  Writer(const MacroContext& c, const DeviceScriptSettings& s)
      : c_(c), s_(s), layers_(CollectProgramLayers(c)) {}

  void EventDispatcher(std::string& out, const KeyFunctionNode& event) {
    out += "void " + event.name + "(int scanCode)\n{\n\tcurScanCode = scanCode;\n\tledLayer = ((QpadLEDs&" +
           Hex2(s_.redLedMask) + ") == 0)?0:1;\n\tswitch(ledLayer)\n\t{\n";
    // Green is the layer while the red LED is off, whatever colours have functions.
    for (const auto& [layer, number] : {std::pair{LayerColour::Green, 0}, std::pair{LayerColour::Red, 1}}) {
      const std::string_view colour = LayerColourName(layer);
      if (!event.Child(colour)) continue;
      out += "\tcase " + Number(number) + ":\n\t\t" + event.name;
      out.append(colour).append("(scanCode);\n\t\tbreak;\n");
    }
    out += "\t}\n}\n\n\n";
    const KeyFunctionNode* any = event.Child(kAnyColourLayer);
    const bool wildcard = any && (any->Child(kAnyProgramLayer) || any->Child(kDefaultProgramLayer));
    for (const auto& colour : event.children)
      if (colour->name != kAnyColourLayer) LayerDispatcher(out, event, *colour, wildcard);
  }

 private:
  void LayerDispatcher(std::string& out, const KeyFunctionNode& event, const KeyFunctionNode& colour,
                       bool wildcard) {
    out += "void " + event.name + colour.name +
           "(int scanCode)\n{\n\n\tbool done = true;\n\tswitch(GetCurrentProgramLayer())\n\t{\n\n";
    std::vector<const KeyFunctionNode*> programs;
    for (const auto& p : colour.children)
      if (p->name != kAnyProgramLayer && p->name != kDefaultProgramLayer) programs.push_back(p.get());
    std::sort(programs.begin(), programs.end(),
              [](const KeyFunctionNode* a, const KeyFunctionNode* b) { return CompareByText(*a, *b) < 0; });
    for (const KeyFunctionNode* p : programs) {
      // A layer that is no more can never be chosen: its functions get no case.
      const int index = layers_.IndexOfToken(p->name);
      if (index < 0) continue;
      out += "\n\tcase " + Number(index) + "://" + p->name + "\n\t\tswitch(scanCode)\n\t\t{\n";
      KeyCases(out, event, colour, *p, true);
      out += "\t\t}\n\t\tbreak;\n";
    }
    const KeyFunctionNode* plain = colour.Child(kDefaultProgramLayer);
    if (plain || colour.Child(kAnyProgramLayer) || wildcard) {
      out += "\tcase -99://DO NOT DELETE THIS CASE\n\t\tbreak;\n";
      out += "\n\tdefault:\n\t\tdone = false;\n\t\tbreak;\n";
      out += "\n\t}\n\tif(!done)\n\t{\n\t\tswitch(scanCode)\n\t\t{\n";
      if (plain)
        KeyCases(out, event, colour, *plain, true);
      else
        KeyCases(out, event, colour, *colour.children.back(), false);
      out += "\t\t}\n";
    }
    out += "\t}\n}\n\n\n";
  }

  static void Gather(std::vector<CaseEntry>& entries, const KeyFunctionNode* program) {
    if (!program) return;
    for (const auto& scan : program->children)
      entries.push_back({std::atoi(scan->name.c_str()), scan->children.empty() ? "" : scan->children[0]->name});
  }

  // The cases of one switch over the scan code: the program node's own entries, then those
  // for any program layer, then those for any colour layer. Each code once; a key cap's case
  // comes with cases for the keys under it, which call the cap's function.
  void KeyCases(std::string& out, const KeyFunctionNode& event, const KeyFunctionNode& colour,
                const KeyFunctionNode& program, bool own) {
    std::vector<CaseEntry> entries;
    if (own) Gather(entries, &program);
    Gather(entries, colour.Child(kAnyProgramLayer));
    if (const KeyFunctionNode* any = event.Child(kAnyColourLayer)) {
      Gather(entries, any->Child(kAnyProgramLayer));
      if (program.name != kAnyProgramLayer) Gather(entries, any->Child(program.name));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CaseEntry& a, const CaseEntry& b) { return a.scan < b.scan; });
    std::set<int> capIds, covered;
    for (const CaseEntry& e : entries)
      for (const KeyCapDefinition& cap : c_.keyCaps)
        if (cap.capId == e.scan) {
          capIds.insert(e.scan);
          for (std::uint8_t k : cap.covered)
            if (k != e.scan) covered.insert(k);
        }
    std::set<int> written;
    auto write = [&](int scan, const std::string& call) {
      if (!written.insert(scan).second) return;
      out += "\t\tcase " + Number(scan) + ":\n\t\t\t" + call + ";\n\t\t\tbreak;\n";
    };
    for (const CaseEntry& e : entries) {
      // A key under a cap belongs to the cap, even when it has a function of its own.
      if (written.count(e.scan) || (covered.count(e.scan) && !capIds.count(e.scan))) continue;
      for (const KeyCapDefinition& cap : c_.keyCaps)
        if (cap.capId == e.scan)
          for (std::uint8_t k : cap.covered)
            if (k != e.scan) write(k, e.call);
      write(e.scan, e.call);
    }
    if (own) out += "\t\tdefault:\n\t\t\tdone = false;\n\t\t\tbreak;\n";
  }

  const MacroContext& c_;
  const DeviceScriptSettings& s_;

 public:
  LayerInfo layers_;
};

void WriteProgramLayerFunction(std::string& out, const MacroContext& c, const LayerInfo& layers) {
  out += "\tcurrentProgramName = \"Pnr\";\n";
  if (!layers.names.empty()) {
    out += "\tint\tlayerIndex = 0;\n\tstring\texeName;\n\n\tGetTopWindowExeName(exeName);\n\n";
    for (const std::string& name : layers.names) {
      std::string program;
      for (std::size_t i = 0; i < c.layerNames.size(); ++i)
        if (CompareNames(c.layerNames[i], name) == 0) {
          program = i < c.layerPrograms.size() ? c.layerPrograms[i] : std::string();
          break;
        }
      out += "\t//ORVX:Layer " + LayerMarkerName(name) + "," + LayerMarkerProgram(program) + "\n";
      out += "\tif(\"" + EscapeScriptString(program) + "\" == exeName)\n\t{\n\t\tcurrentProgramName = \"" +
             EscapeScriptString(LayerToken(name)) + "\";\n\t\treturn(layerIndex);\n\t}\n";
      out += "\t//ORVX:End_Layer\n\tlayerIndex++;\n";
    }
  }
  out += "\treturn(-1);\n";
}

void NumberLines(std::string& out, const std::set<int>& numbers) {
  for (int n : numbers) out += "//" + Number(n) + "\n";
}

FileAccess*& DefaultFiles() {
  static FileAccess* files = nullptr;
  return files;
}

}  // namespace

std::string GenerateScriptText(const MacroContext& c, const DeviceScriptSettings& s,
                               const std::optional<std::string>& deviceSpecific) {
  // The write works on a copy: temporary functions never reach the context.
  KeyFunctionList work;
  for (const KeyFunction& f : c.functions.items)
    if (!f.body.empty()) AddKeyFunction(work, f.scan, f.event, f.colour, f.program, f.body);
  AddLayerToggleFunctions(work, c);
  AddEnableKeyCode(work, c);
  std::unique_ptr<KeyFunctionNode> tree = BuildKeyFunctionTree(work.items);
  for (const KeyFunction& f : work.items) {
    if (f.event != KeyEvent::Down || f.program == kDefaultProgramLayer) continue;
    if (HasExact(work, f.scan, KeyEvent::Up, f.colour, f.program)) continue;
    KeyFunction up = f;
    up.event = KeyEvent::Up;
    up.body = std::string(kEmptyBody);
    InsertKeyFunctionNode(*tree, up);
  }

  std::string out;
  out += "bits8 QpadLEDs = " + Hex2(s.greenLedMask) + ";\nint curScanCode;\nint ledLayer = 0;\n\n";
  // The includes of the commands that the written functions run, as their steps name them (the
  // include map of a layout made in the editor holds the same).
  std::map<int, std::string> includes;
  for (const KeyFunction& f : work.items) CustomCommandsOfBody(f.body, includes);
  for (const auto& [id, file] : includes)
    out += "#define __CMD_ID__ " + Number(id) + "\n#include \"" + file + "\"\n\n";

  out += "void QpadInit()\n{\n";
  if (s.backlightsAvailable)
    out += s.backlightsOn ? "//ORVX: Backlights true\nSetBacklights(true);\n"
                          : "//ORVX: Backlights false\nSetBacklights(false);\n";
  if (s.keyswitchAvailable)
    out += s.keyswitchOn ? "//ORVX: Keyswitch Mode true\nSetBacklights(true);\n"
                         : "//ORVX: Keyswitch Mode false\nSetBacklights(false);\n";
  for (int spacer : c.spacers) out += "DisableKey(" + Number(spacer) + ");\n";
  out += "}\n\n\n";

  Writer writer(c, s);
  if (!tree->children.empty()) {
    for (const auto& event : tree->children) writer.EventDispatcher(out, *event);
    // The device thread calls both: an event without functions gets an empty one.
    for (KeyEvent e : {KeyEvent::Down, KeyEvent::Up})
      if (const std::string_view name = KeyEventName(e); !tree->Child(name))
        out += "\nvoid " + std::string(name) + "(int scanCode)\n{\n}\n\n";
    out += "/******BEGINNING OF FUNCTIONS******/\n\n\n";
    for (const KeyFunction& f : work.items)
      out += "//fstart\nvoid " + KeyFunctionName(f) + "\n" + f.body + "//fend\n\n\n";
  }

  out += "//ORVX: Toggle Keys\n";
  NumberLines(out, c.toggleKeys);
  out += "//ORVX: End\n//ORVX: Shift Keys\n";
  NumberLines(out, c.shiftKeys);
  out += "//ORVX: End\n";
  for (const KeyCapDefinition& cap : c.keyCaps) {
    out += "//ORVX: KeyCaps\n";
    for (int n : {cap.kind, static_cast<int>(cap.capId), Truncated(cap.left), Truncated(cap.top),
                  Truncated(cap.height), Truncated(cap.width)})
      out += "//" + Number(n) + "\n";
    for (std::uint8_t k : cap.covered) out += "//" + Number(k) + "\n";
    out += "//ORVX: End\n";
  }
  if (!c.spacers.empty()) {
    out += "//ORVX: Spacers\n";
    NumberLines(out, c.spacers);
    out += "//ORVX: End\n";
  }

  if (deviceSpecific)
    out += "\n\n/******BEGINNING OF DEVICE SPECIFIC******/\n\n\n" + *deviceSpecific + "\n";

  out += "void ToggleLedLayer()\n{\n\tQpadLEDs ^= " + Hex2(s.greenLedMask | s.redLedMask) +
         ";\n\tledLayer = ((QpadLEDs&" + Hex2(s.redLedMask) +
         ") == 0)?0:1;\n\tSendOutputReport(\"setLEDs\");\n}\n\n";
  out += "string currentProgramName;\n\nint GetCurrentProgramLayer()\n{\n";
  WriteProgramLayerFunction(out, c, writer.layers_);
  out += "}";
  return out;
}

bool IsPlainScriptPath(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  std::transform(name.begin(), name.end(), name.begin(), [](char ch) { return ch >= 'A' && ch <= 'Z' ? ch + 32 : ch; });
  return name == "script.oxs";
}

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char ch : text) {
    if (ch == '\n') out += '\r';
    out += ch;
  }
  return out;
}

std::string FromCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

void SetDefaultMacroFiles(FileAccess* files) { DefaultFiles() = files; }

FileAccess& MacroFiles(const MacroContext& context) {
  if (context.files) return *context.files;
  return DefaultFiles() ? *DefaultFiles() : RealFiles();
}

std::string DeviceSpecificFilePath(MacroDevice& device) {
  std::string folder = device.ScriptFolder();
  if (folder.empty()) {
    const std::string own = device.OwnScriptPath();
    const std::size_t slash = own.find_last_of('\\');
    if (slash != std::string::npos) folder = own.substr(0, slash);
  }
  return folder.empty() ? std::string() : folder + "\\" + kDeviceSpecificFileName;
}

std::string ScriptFileBytes(const MacroContext& context, const DeviceScriptSettings& settings) {
  // The placeholders that the reader leaves for toggle and shift keys have no body.
  const bool hadFunctions = std::any_of(context.functions.items.begin(), context.functions.items.end(),
                                        [](const KeyFunction& f) { return !f.body.empty(); });
  std::optional<std::string> deviceSpecific;
  if (hadFunctions && context.device) {
    const std::string path = DeviceSpecificFilePath(*context.device);
    std::string bytes;
    if (!path.empty() && MacroFiles(context).Read(path, bytes, 16 << 20) == FileAccess::ReadResult::Ok)
      deviceSpecific = FromCrLf(bytes);
  }
  return ToCrLf(GenerateScriptText(context, settings, deviceSpecific));
}

bool WriteScriptFile(MacroContext& context, const std::string& path, const DeviceScriptSettings& settings) {
  if (IsPlainScriptPath(path)) return false;
  const bool written = MacroFiles(context).Write(path, ScriptFileBytes(context, settings));
  RebuildKeyCaps(context);
  return written;
}

bool WriteScriptFile(MacroContext& context, const std::string& path) {
  return WriteScriptFile(context, path, context.device ? context.device->Settings() : DeviceScriptSettings{});
}
