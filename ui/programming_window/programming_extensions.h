#pragma once
// What the programming window reaches of the pieces built beside and after it: the "Macro
// Input" editor, program layers, key caps, the legend editor, the on-board macros, the About
// box and the script editor. Each is filled in once at start-up by whoever provides it and may
// stay null: the window then does nothing for it. (The macro model's own hooks, such as the
// plug-in library's unloading, stay the model's.)

#include <windows.h>

#include <string>

struct MacroContext;
struct DeviceRecord;

struct ProgrammingExtensions {
  // --- The "Macro Input" editor -------------------------------------------------------------
  // Opens the key's editor (by key index), or closes it when it is that key's.
  void (*toggleMacroEditor)(MacroContext& context, int keyIndex) = nullptr;
  // Registers the editor's window class (with the programming window's own).
  bool (*registerMacroEditorClass)() = nullptr;
  // Closes the editor open over the context as its Cancel does (a key that became a spacer).
  void (*cancelMacroEditor)(MacroContext& context) = nullptr;

  // --- Program layers ----------------------------------------------------------------------
  // The layers of the context's layer map into the Layer menu (after creation and reading).
  void (*rebuildLayerMenus)(MacroContext& context, HWND window) = nullptr;
  // Every program layer out of the menus and lists (New), without asking.
  void (*removeAllProgramLayers)(MacroContext& context, HWND window) = nullptr;
  void (*showProgramLayerDialog)(MacroContext& context, HWND window) = nullptr;
  void (*removeProgramLayer)(MacroContext& context, HWND window, int layer) = nullptr;

  // --- Key caps and spacers ----------------------------------------------------------------
  void (*addKeyCap)(MacroContext& context, HWND window) = nullptr;
  void (*removeKeyCap)(MacroContext& context, HWND window) = nullptr;
  // A spacer key made an ordinary key again (Open).
  void (*clearKeySpacer)(MacroContext& context, int keyId) = nullptr;
  // A device key of the context while key-cap dialogs may be open: true when its dialogs took
  // a press (the window then leaves it). Null: the window posts the keys to those dialogs of
  // GetKeyCapDialogs() that it owns.
  bool (*forwardKeyToKeyCapDialogs)(const MacroContext& context, int keyId, bool pressed) = nullptr;

  // --- The legend editor, on-board memory ---------------------------------------------------
  // Turns the window into the key-cap legend editor.
  void (*openLegendMaker)(MacroContext& context, HWND window) = nullptr;
  // With onboardMacros: the device's on-board macros into the context at opening.
  void (*importOnboardMacros)(MacroContext& context, DeviceRecord& device) = nullptr;

  // --- The program ---------------------------------------------------------------------------
  // The About box for the device's product id.
  void (*showAbout)(HWND owner, int productId) = nullptr;
  // A window opened for a script without a device has closed: the script editor forgets the
  // record's module (message 1040) and frees the record.
  void (*releaseUnsetDevice)(DeviceRecord& device) = nullptr;
};
// Each call replaces only the members that are set in `extensions`.
void AddProgrammingExtensions(const ProgrammingExtensions& extensions);
const ProgrammingExtensions& GetProgrammingExtensions();
void ResetProgrammingExtensions();
