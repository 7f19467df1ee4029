#include "macros/model/macro_context.h"

#include "macros/model/layer_names.h"

MacroEntry* FindMacroEntry(MacroContext& context) {
  const int index = FindKeyIndex(context.keys, context.currentKey);
  if (index < 0) return nullptr;
  const std::string program = LayerToken(context.currentProgram);
  std::vector<MacroEntry>& entries = context.keys[index].entries;
  for (MacroEntry& entry : entries)
    if (entry.event == context.currentEvent && entry.colour == context.currentColour && entry.program == program)
      return &entry;
  MacroEntry entry;
  entry.event = context.currentEvent;
  entry.colour = context.currentColour;
  entry.program = program;
  entries.push_back(std::move(entry));
  return &entries.back();
}

std::wstring TrimWide(std::wstring_view text) {
  const std::size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = text.find_last_not_of(L' ');
  return std::wstring(text.substr(first, last - first + 1));
}

void RedrawAllKeys(MacroContext& context) {
  for (int id : context.spacers) {
    const int index = FindKeyIndex(context.keys, id);
    if (index >= 0) context.events.DrawKey(context, index);
  }
}
