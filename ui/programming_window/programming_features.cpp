#include "ui/programming_window/programming_features.h"

#include "macros/model/macro_context.h"
#include "macros/model/macro_model_events.h"

void ProgrammingFeatures::RebuildLayerMenus(MacroContext& context, HWND) {
  for (const auto& [name, program] : context.layerMap) ListLayer(context, name, program);
}

ProgrammingFeatures& NoProgrammingFeatures() {
  static ProgrammingFeatures none;
  return none;
}
