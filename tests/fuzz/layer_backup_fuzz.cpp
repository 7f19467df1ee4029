// Fuzz target: a layer backup over arbitrary text. It ends; what it reads, written as a backup
// file again (CR LF), reads back to the same layer, program and functions after one round; and the
// functions taken into a layout get command ids above the layout's own, which stay as they
// were.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "macros/model/custom_commands.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_writer.h"
#include "tests/fuzz/fuzz_check.h"
#include "ui/layers/layer_backup.h"

namespace {

bool Same(const LayerBackup& a, const LayerBackup& b) {
  if (a.layer != b.layer || a.exe != b.exe || a.functions.size() != b.functions.size()) return false;
  for (std::size_t i = 0; i < a.functions.size(); ++i) {
    const KeyFunction& f = a.functions[i];
    const KeyFunction& g = b.functions[i];
    if (f.scan != g.scan || f.event != g.event || f.colour != g.colour || f.program != g.program || f.body != g.body)
      return false;
  }
  return true;
}

LayerBackup Cycle(const LayerBackup& backup) {
  // As the file is written: CR LF.
  return ReadLayerBackup(ToCrLf(LayerBackupText(backup.layer, backup.exe, backup.functions)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const LayerBackup first = ReadLayerBackup(text);
  Check(first.layer.find('\n') == std::string::npos && first.exe.find('\n') == std::string::npos);
  const LayerBackup second = Cycle(first);
  Check(second.functions.size() == first.functions.size());
  Check(Same(Cycle(second), second));

  MacroContext c;
  c.includes[1] = "Kept.oxc";
  c.customCommandCount = 1;
  for (const KeyFunction& f : first.functions) AdoptLayerFunctions(c, f.program, first.functions);
  for (const auto& [id, file] : c.includes) Check(id > 0 && id <= c.customCommandCount);
  Check(c.includes.count(1) && c.includes[1] == "Kept.oxc");
  return 0;
}
