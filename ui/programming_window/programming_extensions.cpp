#include "ui/programming_window/programming_extensions.h"

namespace {

ProgrammingExtensions& Extensions() {
  static ProgrammingExtensions extensions;
  return extensions;
}

template <class T>
void Take(T& into, T from) {
  if (from) into = from;
}

}  // namespace

void AddProgrammingExtensions(const ProgrammingExtensions& e) {
  ProgrammingExtensions& x = Extensions();
  Take(x.toggleMacroEditor, e.toggleMacroEditor);
  Take(x.registerMacroEditorClass, e.registerMacroEditorClass);
  Take(x.cancelMacroEditor, e.cancelMacroEditor);
  Take(x.rebuildLayerMenus, e.rebuildLayerMenus);
  Take(x.removeAllProgramLayers, e.removeAllProgramLayers);
  Take(x.showProgramLayerDialog, e.showProgramLayerDialog);
  Take(x.removeProgramLayer, e.removeProgramLayer);
  Take(x.addKeyCap, e.addKeyCap);
  Take(x.removeKeyCap, e.removeKeyCap);
  Take(x.clearKeySpacer, e.clearKeySpacer);
  Take(x.forwardKeyToKeyCapDialogs, e.forwardKeyToKeyCapDialogs);
  Take(x.openLegendMaker, e.openLegendMaker);
  Take(x.importOnboardMacros, e.importOnboardMacros);
  Take(x.showAbout, e.showAbout);
  Take(x.releaseUnsetDevice, e.releaseUnsetDevice);
}

const ProgrammingExtensions& GetProgrammingExtensions() { return Extensions(); }

void ResetProgrammingExtensions() { Extensions() = ProgrammingExtensions{}; }
