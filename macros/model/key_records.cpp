#include "macros/model/key_records.h"

#include <cmath>

#include "macros/model/layer_names.h"

const std::array<std::array<const char*, 3>, 4> kViewImageNames = {{
    {"key_GreenLayer.png", "keyOver_GreenLayer.png", "keyPressed_GreenLayer.png"},
    {"key_RedLayer.png", "keyOver_RedLayer.png", "keyPressed_RedLayer.png"},
    {"GreenLED.png", "GreenLED_Over.png", "GreenLED_Pressed.png"},
    {"RedLED.png", "RedLED_Over.png", "RedLED_Pressed.png"},
}};

int RoundToInt(float value) {
  const float whole = std::trunc(value);
  const float fraction = value - whole;
  int result = static_cast<int>(whole);
  if (fraction >= 0.5f) ++result;
  if (fraction <= -0.5f) --result;
  return result;
}

int FindKeyIndex(const std::vector<KeyRecord>& keys, int id) {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i].keyId == id) return static_cast<int>(i);
  return -1;
}

std::uint8_t FindFreeKeyId(const std::vector<KeyRecord>& keys) {
  bool used[256] = {};
  for (const KeyRecord& k : keys) used[k.keyId] = true;
  for (int id = 1; id <= 255; ++id)
    if (!used[id]) return static_cast<std::uint8_t>(id);
  return 0;
}

bool FindKeyEvent(const std::vector<KeyRecord>& keys, int id, KeyEvent event, LayerColour colour,
                  std::string_view program) {
  const int index = FindKeyIndex(keys, id);
  if (index < 0) return false;
  for (const MacroEntry& e : keys[index].entries)
    if (e.event == event && e.colour == colour && CompareNames(e.program, program) == 0 && !e.steps.empty())
      return true;
  return false;
}

void LowerCaseInPlace(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}
