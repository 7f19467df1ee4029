#include "ui/programming_window/dropped_files.h"

#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"
#include "macros/model/macro_text.h"
#include "macros/model/text_code_page.h"
#include "ui/programming_window/layer_choice.h"

namespace {

std::wstring_view FileNameOf(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<OpenFileStep> OpenFileStepFor(std::wstring_view path) {
  const std::string narrow = NarrowText(path);
  if (path.empty() || WidenText(narrow) != path) return std::nullopt;
  OpenFileStep step;
  step.text = L"[Open: " + std::wstring(FileNameOf(path)) + L"]";
  step.code = L"\tShellExecute(0,\"Open\",\"" + WidenText(EscapeScriptString(narrow)) +
              L"\",\"\",\"\",1);\n";
  return step;
}

bool IsShortcutPath(std::wstring_view path) {
  if (path.size() < 4) return false;
  std::wstring tail(path.substr(path.size() - 4));
  for (wchar_t& ch : tail)
    if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
  return tail == L".lnk";
}

bool AddDroppedFiles(MacroContext& c, int keyIndex, bool red, const std::vector<std::wstring>& paths) {
  if (keyIndex < 0 || keyIndex >= static_cast<int>(c.keys.size())) return false;
  const int keyId = c.keys[keyIndex].keyId;
  if (c.toggleKeys.count(keyId) || c.shiftKeys.count(keyId)) return false;
  c.currentKey = keyId;
  c.currentEvent = KeyEvent::Down;
  c.currentColour = ColourLayerOf(red);
  c.currentProgram = ProgramLayerTokenShown(c);
  bool added = false;
  for (const std::wstring& path : paths)
    if (const auto step = OpenFileStepFor(path)) added |= InsertMacroText(c, step->text, &step->code, nullptr);
  if (!added) return false;

  // Every entry of the key becomes its key function (new ones added, existing ones rewritten).
  const std::vector<MacroEntry> entries = c.keys[keyIndex].entries;
  for (const MacroEntry& entry : entries) {
    if (entry.steps.empty()) continue;
    KeyFunction function;
    MacroTextToScript(entry, function);
    const auto scan = static_cast<std::uint8_t>(keyId);
    if (AddKeyFunction(c.functions, scan, entry.event, entry.colour, entry.program, function.body) == 0)
      UpdateKeyFunction(c.functions, scan, entry.event, entry.colour, entry.program, function.body);
  }
  return true;
}
