#pragma once
// What the macro model reaches of the windows above it: the programming window fills these in
// once; each may be left null (the step is then skipped).

struct MacroContext;

struct MacroModelHooks {
  // The programming window's key painter: draws the key of that index in its normal state.
  void (*drawKey)(MacroContext& context, int keyIndex) = nullptr;
  // Makes the key records of the context's key caps (after a layout is loaded).
  void (*buildKeyCapViews)(MacroContext& context) = nullptr;
  // Rebuilds the key records' macro entries from the function list (after a write).
  void (*rebuildKeyCaps)(MacroContext& context) = nullptr;
  // The programming window's New: starts an empty layout (before on-board macros are imported
  // into the context).
  void (*startNewLayout)(MacroContext& context) = nullptr;
};
void SetMacroModelHooks(const MacroModelHooks& hooks);
const MacroModelHooks& GetMacroModelHooks();
