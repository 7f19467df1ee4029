#include "ui/layers/layer_backup.h"

#include <map>

#include "macros/model/custom_commands.h"
#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_reader.h"
#include "runtime/functions/date_text.h"
#include "ui/layers/layer_list.h"

namespace {

constexpr std::string_view kNameLine = "//NAME: ";
constexpr std::string_view kExeLine = "//EXE: ";

bool IsFileNameChar(unsigned char c) {
  return c >= 32 && std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) == std::string_view::npos;
}

std::string_view LeftTrimmed(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

// The text after a header's marker ("//NAME:" and its blank); the blank may be missing.
std::string HeaderValue(std::string_view line, std::string_view marker) {
  line = LeftTrimmed(line).substr(marker.size() - 1);
  if (line.starts_with(' ')) line.remove_prefix(1);
  return std::string(line);
}

bool IsHeader(std::string_view line, std::string_view marker) {
  return LeftTrimmed(line).starts_with(marker.substr(0, marker.size() - 1));
}

// The body with each "#define __CMD_ID__ n" line given the next id.
std::string WithNewCommandIds(std::string_view body, int& lastId) {
  std::string out;
  std::size_t pos = 0;
  while (pos < body.size()) {
    std::size_t end = body.find('\n', pos);
    end = end == std::string_view::npos ? body.size() : end + 1;
    const std::string_view line = body.substr(pos, end - pos);
    const std::string_view trimmed = LeftTrimmed(line);
    if (trimmed.starts_with(kCommandIdDefine)) {
      out.append(line.substr(0, line.size() - trimmed.size()));
      out += std::string(kCommandIdDefine) + std::to_string(++lastId);
      std::size_t rest = kCommandIdDefine.size();
      while (rest < trimmed.size() && trimmed[rest] >= '0' && trimmed[rest] <= '9') ++rest;
      out.append(trimmed.substr(rest));
    } else {
      out.append(line);
    }
    pos = end;
  }
  return out;
}

}  // namespace

std::string LayerBackupFileName(std::string_view layer, const ClockTime& day, int copy) {
  std::string name;
  for (char c : layer) name += IsFileNameChar(static_cast<unsigned char>(c)) ? c : '_';
  name += " " + FormatDateText("MM-DD-YYYY", day);
  if (copy > 1) name += " (" + std::to_string(copy) + ")";
  return name + ".oxs";
}

std::string LayerBackupText(std::string_view layer, std::string_view exe,
                            const std::vector<KeyFunction>& functions) {
  std::string text = std::string(kNameLine) + std::string(layer) + "\n" + std::string(kExeLine) + std::string(exe) + "\n";
  for (const KeyFunction& f : functions) {
    // "//fend" on a line of its own; a body that ends its last line itself (read from a script
    // edited by hand) gets no empty line more, or it would grow by one with every backup.
    const bool ended = f.body.ends_with("\n");
    text += "\n//fstart\nvoid " + KeyFunctionName(f) + "\n" + f.body + (ended ? "" : "\n") + "//fend\n";
  }
  return text;
}

LayerBackup ReadLayerBackup(std::string_view text) {
  LayerBackup backup;
  std::string body;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    std::string_view bare = line;
    while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r')) bare.remove_suffix(1);
    if (IsHeader(bare, kNameLine))
      backup.layer = HeaderValue(bare, kNameLine);
    else if (IsHeader(bare, kExeLine))
      backup.exe = HeaderValue(bare, kExeLine);
    else
      body.append(line);
  }
  MacroContext scratch;
  ReadScriptText(scratch, body, DeviceEffects::None);
  // Only the function blocks: marker sections give toggle and shift keys empty functions.
  for (KeyFunction& f : scratch.functions.items)
    if (!f.body.empty()) backup.functions.push_back(std::move(f));
  return backup;
}

int AdoptLayerFunctions(MacroContext& c, std::string_view layer, const std::vector<KeyFunction>& functions) {
  int added = 0;
  for (const KeyFunction& f : functions) {
    if (!LayerOwnsFunction(layer, f)) continue;
    if (FindKeyFunction(c.functions, f.scan, f.event, f.colour, f.program) >= 0) continue;
    const std::string body = WithNewCommandIds(f.body, c.customCommandCount);
    AddKeyFunction(c.functions, f.scan, f.event, f.colour, f.program, body);
    CustomCommandsOfBody(body, c.includes);
    ++added;
  }
  return added;
}

std::vector<int> CustomCommandIdsOf(const std::vector<KeyFunction>& functions) {
  std::map<int, std::string> includes;
  for (const KeyFunction& f : functions) CustomCommandsOfBody(f.body, includes);
  std::vector<int> ids;
  for (const auto& entry : includes) ids.push_back(entry.first);
  return ids;
}
