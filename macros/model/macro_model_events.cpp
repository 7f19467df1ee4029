#include "macros/model/macro_model_events.h"

#include "macros/model/layer_names.h"
#include "macros/model/macro_context.h"

void MacroModelEvents::ShowSpacer(MacroContext& context, int keyId) { MarkSpacerKey(context, keyId); }

void MacroModelEvents::AddLayer(MacroContext& context, const std::string& name, const std::string& program) {
  ListLayer(context, name, program);
}

MacroModelEvents& NoMacroModelEvents() {
  static MacroModelEvents none;
  return none;
}

void MarkSpacerKey(MacroContext& context, int keyId) {
  const int index = FindKeyIndex(context.keys, keyId);
  if (index >= 0 && context.keys[index].capKind == kPlainKey) context.keys[index].capKind = kSpacerKey;
}

void ListLayer(MacroContext& context, const std::string& name, const std::string& program) {
  for (const std::string& known : context.layerNames)
    if (CompareNames(known, name) == 0) return;
  context.layerNames.push_back(name);
  context.layerPrograms.push_back(program);
}
