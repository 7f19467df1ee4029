// Fuzz target: the script file reader over arbitrary text. It ends, and what it takes back
// writes a file that reads back and writes again the same (write(read(x)) is a fixed point of
// write(read(...)), files as they are written: CR LF).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "macros/model/key_caps.h"
#include "macros/model/macro_context.h"
#include "macros/model/script_reader.h"
#include "macros/model/script_writer.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Cycle(std::string_view text) {
  MacroContext c;
  KeyRecord key;
  key.keyId = 1;
  c.keys.push_back(key);
  ReadScriptText(c, text, DeviceEffects::None);
  RebuildKeyCaps(c);
  for (const MacroEntry& e : c.keys[0].entries) Check(e.steps.size() == e.codes.size());
  Check(c.functions.tree != nullptr);
  for (const auto& [id, file] : c.includes) Check(id > 0 && id <= c.customCommandCount);
  return ToCrLf(GenerateScriptText(c, DeviceScriptSettings{}, std::nullopt));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string once = Cycle(text);
  Check(Cycle(once) == once);
  return 0;
}
