#pragma once
// Keys, labels and key caps of the keypad view, its LEDs, and the lookups on them that the
// programming window, the key caps, the editor and the script reader share.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/macro_records.h"
#include "macros/model/view_images.h"

struct RectF {
  float x = 0, y = 0, w = 0, h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  bool operator==(const RectF&) const = default;
};

// The five pictures of a key of its own.
enum KeyImageSlot : int {
  kGreenOverImage = 0,
  kGreenPressedImage = 1,
  kRedOverImage = 2,
  kRedPressedImage = 3,
  kNormalImage = 4,
};

// One key, label or key cap of the view. Copies share the pictures.
struct KeyRecord {
  std::vector<MacroEntry> entries;
  std::uint8_t keyId = 0;     // the key's scan code; a cap's id of its own
  std::uint8_t pairedId = 0;  // on a covered key and on its cap: the cap's id
  int capKind = kPlainKey;
  int pressCount = 0;  // on a cap: the keys under it held down
  RectF key;
  RectF label;
  int state = kStateNormal;
  std::string plugin;  // plug-in library of the key; empty for none
  std::array<std::shared_ptr<ViewImage>, 5> images;  // null: the view's generic picture
};

struct LayoutLed {
  int state = kStateNormal;
  bool indicator = false;  // shows the current colour layer
  bool red = false;
  float x = 0, y = 0, w = 0, h = 0;
};

// The integer part, plus 1 when the fraction is at least one half (away from zero below 0).
int RoundToInt(float value);
// Index of the first record with that id, or -1.
int FindKeyIndex(const std::vector<KeyRecord>& keys, int id);
// The lowest id from 1 to 255 that no record uses; 0 when all are taken.
std::uint8_t FindFreeKeyId(const std::vector<KeyRecord>& keys);
// The record's entry for these selectors (the program compared as a layer name) that holds
// steps.
bool FindKeyEvent(const std::vector<KeyRecord>& keys, int id, KeyEvent event, LayerColour colour,
                  std::string_view program);
void LowerCaseInPlace(std::string& text);
