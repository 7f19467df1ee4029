// Fuzz entry: the script editor's text of a script (each file's own text between include
// markers), its layout and its split back into files. Input: root text, then the two include
// files, separated by 0x01 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/memory_file_access.h"
#include "runtime/preprocessor/include_loader.h"
#include "ui/script_editor/script_source.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string_view Next(std::string_view& rest) {
  const std::size_t cut = rest.find('\x01');
  std::string_view part = rest.substr(0, cut);
  rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
  return part;
}

bool HasMarkers(std::string_view text) {
  return text.find(kIncludeBeginMarker) != std::string_view::npos ||
         text.find(kIncludeEndMarker) != std::string_view::npos || text.find('\0') != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view root = Next(rest), lib = Next(rest), cc = Next(rest);
  MemoryFileAccess files;
  files.Put("C:\\d\\lib.oxs", std::string(lib));
  files.Put("C:\\d\\cc.oxc", std::string(cc));
  const ScriptSourceOrigin origin{"Mod", "C:\\d", {}, "C:\\d\\Script_1.oxs"};
  const std::string text = ComposeScriptSource(origin, root, files);

  const SourceLayout layout = ParseSourceLayout(text);
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  Check(layout.lines.size() == breaks + 1);
  for (int b : {0, 1, 7, 1000}) {
    const int line = SourceLineOfFileLine(layout, "Mod", "C:\\d\\lib.oxs", b);
    Check(line >= -1 && line < static_cast<int>(layout.lines.size()));
  }

  // A script of plain text comes back as it was, and files nobody changed are not written.
  const SplitSource split = SplitScriptSource(text, &files);
  if (!HasMarkers(root) && !HasMarkers(lib) && !HasMarkers(cc)) {
    Check(split.rootText == AddCarriageReturns(root));
    Check(files.WriteLog().empty());
  }
  return 0;
}
