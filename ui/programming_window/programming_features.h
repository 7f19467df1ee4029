#pragma once
// What the pieces built beside and after the programming window add to it: the "Macro Input"
// editor, program layers, key caps, the legend editor, the on-board macros, the About box and
// the script editor. The program passes its features in when it opens a window; the features
// here answer as a window without them does.

#include <windows.h>

struct MacroContext;
struct DeviceRecord;

class ProgrammingFeatures {
 public:
  virtual ~ProgrammingFeatures() = default;

  // --- The "Macro Input" editor -------------------------------------------------------------
  // Opens the key's editor (by key index), or closes it when it is that key's.
  virtual void ToggleMacroEditor(MacroContext&, int /*keyIndex*/) {}
  // Registers the editor's window class (with the programming window's own).
  virtual bool RegisterMacroEditorClass() { return true; }
  // Closes the editor open over the context as its Cancel does (a key that became a spacer).
  virtual void CancelMacroEditor(MacroContext&) {}

  // --- Program layers ----------------------------------------------------------------------
  // The layers of the context's layer map into the window (after creation and reading): here
  // into its lists by name, without menus.
  virtual void RebuildLayerMenus(MacroContext& context, HWND window);
  // Every program layer out of the menus and lists (New), without asking.
  virtual void RemoveAllProgramLayers(MacroContext&, HWND) {}
  virtual void ShowProgramLayerDialog(MacroContext&, HWND) {}
  virtual void RemoveProgramLayer(MacroContext&, HWND, int /*layer*/) {}

  // --- Key caps and spacers ----------------------------------------------------------------
  virtual void AddKeyCap(MacroContext&, HWND) {}
  virtual void RemoveKeyCap(MacroContext&, HWND) {}
  // A spacer key made an ordinary key again (Open).
  virtual void ClearKeySpacer(MacroContext&, int /*keyId*/) {}
  // A device key of the context: true when a key-cap dialog took the press (the window then
  // leaves it).
  virtual bool ForwardKeyToKeyCapDialogs(const MacroContext&, int /*keyId*/, bool /*pressed*/) { return false; }

  // --- The legend editor, on-board memory ---------------------------------------------------
  // Turns the window into the key-cap legend editor.
  virtual void OpenLegendMaker(MacroContext&, HWND) {}
  // With onboardMacros: the device's on-board macros into the context at opening; true when
  // they were taken (the window then reads its script again).
  virtual bool ImportOnboardMacros(MacroContext&, DeviceRecord&) { return false; }

  // --- The program ---------------------------------------------------------------------------
  // The About box for the device's product id.
  virtual void ShowAbout(HWND /*owner*/, int /*productId*/) {}
  // A window opened for a script without a device has closed: the script editor forgets the
  // record's module (message 1040) and frees the record.
  virtual void ReleaseUnsetDevice(DeviceRecord&) {}
};

// A window with none of the features (the tests' windows, a benchmark's).
ProgrammingFeatures& NoProgrammingFeatures();
