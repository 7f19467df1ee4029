// Fuzz entry: one build message line of the script engine or the preprocessor, read into its
// place, position, severity and text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/script_editor/compile_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool fromEngine = data[0] & 1;
  std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
  const CompileMessage m = ParseCompileMessageLine(line, fromEngine);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (m.hasPosition) {
    if (line.substr(0, m.place.size()) != m.place) std::abort();
    if (m.line < 0 || m.column < 0 || (fromEngine ? m.section < 0 : m.section != -1)) std::abort();
  }
  if (line.size() < m.message.size() || line.substr(line.size() - m.message.size()) != m.message)
    std::abort();
  return 0;
}
