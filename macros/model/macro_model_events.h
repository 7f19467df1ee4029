#pragma once
// What the macro model tells the windows above it while it reads, builds and closes a layout:
// the programming window's key painter and menus, the key-cap merge, the program layers, the
// plug-in libraries and the on-board memory. A context is made with the events of whoever
// shows it; one that no window shows gets the do-nothing events.

#include <string>
#include <vector>

struct MacroContext;
struct KeyRecord;

class MacroModelEvents {
 public:
  virtual ~MacroModelEvents() = default;

  // The programming window's key painter: draws the key of that index in its normal state.
  virtual void DrawKey(MacroContext&, int /*keyIndex*/) {}
  // The key-cap merge: the cap's record, the indexes of the records of the keys under it (in
  // the order of the cap's covered codes) and the cap kind; with store false the cap is only
  // shown, not stored again. Without a merge no cap gets a record.
  virtual void ChangeKeyCap(MacroContext&, const KeyRecord& /*cap*/, const std::vector<int>& /*covered*/,
                            int /*kind*/, bool /*store*/) {}
  // A key of the spacer set shown and kept quiet as a spacer while the view is built (a spacer
  // read from the script). Without a window the key only gets the spacer kind.
  virtual void ShowSpacer(MacroContext& context, int keyId);

  // The reader's window side, while a window shows the context: the program layers leave the
  // Layer menu; one layer is added to the window (its lists and menu; without a window only to
  // the lists, once by name); the keyswitch item gets or loses its check mark.
  virtual void RemoveLayerMenus(MacroContext&) {}
  virtual void AddLayer(MacroContext& context, const std::string& name, const std::string& program);
  virtual void CheckKeyswitch(MacroContext&, bool /*on*/) {}

  // Teardown: the window's display state and its plug-in library go; the context leaves the
  // device thread's table of open contexts.
  virtual void ReleaseWindowState(MacroContext&) {}
  virtual void UnloadPlugin(MacroContext&) {}
  virtual void RemoveMacroContext(MacroContext&) {}

  // On-board macros: packs the context's macros into the device's memory image (true when it
  // fits and a write is due), and writes that image to the device.
  virtual bool BuildOnboardImage(MacroContext&) { return false; }
  virtual void WriteOnboardImage(MacroContext&) {}
  // The programming window's New: starts an empty layout (before on-board macros are imported
  // into the context).
  virtual void StartNewLayout(MacroContext&) {}
};

// The events of a context that no window shows (a regeneration, a scratch reading, a test).
MacroModelEvents& NoMacroModelEvents();

// The model's own answers, which the do-nothing events give: the key of the id made a spacer
// when it is a plain key; the layer added to the context's lists unless one of its name is.
void MarkSpacerKey(MacroContext& context, int keyId);
void ListLayer(MacroContext& context, const std::string& name, const std::string& program);
