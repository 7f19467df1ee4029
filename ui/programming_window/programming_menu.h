#pragma once
// The programming window's menu bar: its changes at creation and when a layer is chosen, and
// the items greyed when a popup opens. The bar's popups are found by position (File, Layer,
// View, then Key Caps unless the layout takes none, Help last); the View items that the device
// may lack are changed by their command ids, so that a missing one never shifts another.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

inline constexpr int kFilePopup = 0;
inline constexpr int kLayerPopup = 1;
inline constexpr int kViewPopup = 2;
inline constexpr int kKeyCapsPopup = 3;
inline constexpr int kAdvancedPosition = 4;   // in File
inline constexpr int kGreenLayerPosition = 0;  // in Layer
inline constexpr int kRedLayerPosition = 1;
inline constexpr int kFirstProgramLayerPosition = 2;
inline constexpr int kHiddenModePosition = 1;  // in View

struct ProgrammingMenuFacts {
  bool backlightsAvailable = false;
  bool backlightsOn = false;
  bool keyswitchAvailable = false;
  bool keyswitchOn = false;
  bool hiddenMode = false;
  bool red = false;
  bool noKeyCap = false;
};
// The changes at creation (the program layers are added by their own code afterwards).
void AdjustProgrammingMenu(HMENU bar, const ProgrammingMenuFacts& facts);

// The colour items unchecked with their own texts and ids, and each program layer's items
// (popups with colour layers, plain items named by the layer without).
void SetLayerMenuTexts(HMENU bar, bool hasColourLayers, const std::vector<std::string>& layerNames);
// The default layer's colour item checked.
void CheckColourLayer(HMENU bar, bool red);
// Program layer n checked: its colour item with colour layers, its own item without.
void CheckProgramLayer(HMENU bar, int layer, bool red, bool hasColourLayers);

// A View item by command id checked or not (nothing when the device lacks it).
void CheckViewItem(HMENU bar, UINT command, bool checked);

struct ProgrammingPopupFacts {
  bool onboardProgramming = false;
  bool bootMode = false;
  bool hasColourLayers = false;
};
// The File popup's "Advanced" and its two items, and the Layer popup's "Red Layer".
void UpdateProgrammingPopups(HMENU bar, const ProgrammingPopupFacts& facts);
