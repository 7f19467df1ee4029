#pragma once
// Key caps and spacers put on and taken off the keys of a layout: the key records of the view,
// the context's key-cap definitions and spacer set, and the device's disabled keys. What they
// need beyond the context (pictures, the device, the window, the script file) comes through
// KeyCapServices.

#include <memory>
#include <string>
#include <vector>

#include "macros/model/key_records.h"

struct MacroContext;

inline constexpr const char* kKeySpacerImageName = "KeySpacer.png";

class KeyCapServices {
 public:
  virtual ~KeyCapServices() = default;
  // A picture of the key-cap pictures' folder; null when it is missing.
  virtual std::shared_ptr<ViewImage> CapImage(const std::string& name) = 0;
  // The spacer's picture, found as the view's key pictures are; null when it is missing.
  virtual std::shared_ptr<ViewImage> SpacerImage() = 0;
  // The key of the window's device raises events (or not) from now on.
  virtual void SetKeyEnabled(int keyId, bool enabled) = 0;
  // The programming window draws its view anew.
  virtual void Redraw() = 0;
  // The device's script file is written from the context.
  virtual void WriteScript() = 0;
  // The "Macro Input" editor open over the context goes as its Cancel does.
  virtual void CancelEditor() = 0;
};

// The five picture names of a cap kind, in the order of the record's image slots (green over,
// green pressed, red over, red pressed, normal); none for another kind.
std::vector<std::string> KeyCapImageNames(int kind);

// Merges the keys (by record index) under a cap of that kind: the cap's record is appended
// with the keys' bounding rectangles (the given ones when no key has any) and its pictures,
// and the keys are marked as under it. The cap's id is cap.pairedId when set (a stored cap),
// else the lowest free one. With store the cap is also kept as a definition and the script
// written. Returns the cap's id; 0 when no id is free (nothing changes then).
int ChangeKeyCap(MacroContext& context, const KeyRecord& cap, const std::vector<int>& coveredIndexes,
                 int kind, bool store, KeyCapServices& services);

// Makes the key a spacer: its picture, no events from the device; with add it joins the
// spacer set. It is a blank at once: drawn in its normal state, no longer the key under the
// mouse or the one held with it, and an editor open for it is cancelled. False for a key the
// view has no record of, or one under a cap (nothing changes then).
bool SetKeySpacer(MacroContext& context, int keyId, bool add, KeyCapServices& services);
// Makes a spacer an ordinary key again and takes it out of the spacer set.
void ClearKeySpacer(MacroContext& context, int keyId, KeyCapServices& services);

// The cap over the key goes: the keys under it are plain keys again, and its record, its
// macros and its definition are dropped; the script is written. False when the key is under no
// cap (nothing changes then).
bool RemoveKeyCapOver(MacroContext& context, int keyId, KeyCapServices& services);

// Each cap counts as held the keys under it that are held now (after reports were discarded
// unseen, so that no lost release leaves a cap counted as held).
void RecountCapPresses(MacroContext& context, const std::vector<int>& heldKeys);
