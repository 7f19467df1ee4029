#pragma once
// What the macro model reaches of the windows and device code above it: the programming window
// and the on-board memory code fill these in once; each may be left null (the step is then
// skipped).

#include <string>
#include <vector>

struct MacroContext;
struct KeyRecord;

struct MacroModelHooks {
  // The programming window's key painter: draws the key of that index in its normal state.
  void (*drawKey)(MacroContext& context, int keyIndex) = nullptr;
  // The key-cap merge: the cap's record, the indexes of the records of the keys under it (in
  // the order of the cap's covered codes) and the cap kind; with store false the cap is only
  // shown, not stored again.
  void (*changeKeyCap)(MacroContext& context, const KeyRecord& cap, const std::vector<int>& covered,
                       int kind, bool store) = nullptr;
  // A key of the spacer set shown and kept quiet as a spacer while the view is built (a spacer
  // read from the script); without it the key only gets the spacer kind.
  void (*showSpacer)(MacroContext& context, int keyId) = nullptr;
  // The reader's window side: the program layers leave the Layer menu; one layer is added to
  // the window (its lists and menu); the keyswitch item gets or loses its check mark.
  void (*removeLayerMenus)(MacroContext& context) = nullptr;
  void (*addLayer)(MacroContext& context, const std::string& name, const std::string& program) = nullptr;
  void (*checkKeyswitch)(MacroContext& context, bool on) = nullptr;
  // Teardown: the window's display state and its plug-in library go; the context leaves the
  // device thread's table of open contexts.
  void (*releaseWindowState)(MacroContext& context) = nullptr;
  void (*unloadPlugin)(MacroContext& context) = nullptr;
  void (*removeMacroContext)(MacroContext& context) = nullptr;
  // On-board macros: packs the context's macros into the device's memory image (true when it
  // fits and a write is due), and writes that image to the device.
  bool (*buildOnboardImage)(MacroContext& context) = nullptr;
  void (*writeOnboardImage)(MacroContext& context) = nullptr;
  // The programming window's New: starts an empty layout (before on-board macros are imported
  // into the context).
  void (*startNewLayout)(MacroContext& context) = nullptr;
};
void SetMacroModelHooks(const MacroModelHooks& hooks);
const MacroModelHooks& GetMacroModelHooks();
