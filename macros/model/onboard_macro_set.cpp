#include "macros/model/onboard_macro_set.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "macros/model/macro_steps.h"
#include "macros/model/onboard_conversion.h"
#include "macros/model/script_writer.h"

namespace {

const DeviceCodes kToggleLayer = {kToggleLayerCode, 0};

// The tables of an entry's colour layer; any colour layer stands for both.
std::vector<int> ColourTables(LayerColour colour, KeyEvent event) {
  const bool down = event == KeyEvent::Down;
  const int green = down ? kKeyDownGreen : kKeyUpGreen;
  const int red = down ? kKeyDownRed : kKeyUpRed;
  switch (colour) {
    case LayerColour::Green: return {green};
    case LayerColour::Red: return {red};
    case LayerColour::Any: return {green, red};
  }
  return {};
}

// Key Down and Key Up strings of a single step that the keypad holds while its key is down:
// one typed character, or modifiers alone in braces.
std::optional<std::pair<DeviceCodes, DeviceCodes>> HeldKeyCodes(std::wstring_view step) {
  if (const std::uint8_t bits = ModifierOnlyCombination(step))
    return std::pair<DeviceCodes, DeviceCodes>{{kModifierCode, bits, 0}, {kModifierCode, 0x00, 0}};
  if (step.size() > 1 && (step[0] == L'_' || step[0] == L'-')) return std::nullopt;  // held or released
  if (step.starts_with(L'/')) step.remove_prefix(1);
  if (step.size() != 1) return std::nullopt;
  const std::uint8_t k = DeviceKeyCodeOf(step);
  if (!k) return std::nullopt;
  if (!IsShiftedCharacter(step[0])) return std::pair<DeviceCodes, DeviceCodes>{{k, 0}, {kReleaseCode, k, 0}};
  return std::pair<DeviceCodes, DeviceCodes>{{kModifierCode, 0x02, k, kModifierCode, 0x00, 0},
                                             {kModifierCode, 0x02, kReleaseCode, k, kModifierCode, 0x00, 0}};
}

void ConvertEntry(const MacroContext& context, const KeyRecord& key, const MacroEntry& entry,
                  DeviceMacroSet& set) {
  if (entry.program != kDefaultProgramLayer && entry.program != kAnyProgramLayer) return;
  const std::vector<std::wstring> steps = DeviceStepTexts(entry);
  if (steps.empty()) return;
  if (entry.event == KeyEvent::Down && steps.size() == 1 &&
      !FindKeyEvent(context.keys, key.keyId, KeyEvent::Up, entry.colour, entry.program)) {
    if (auto held = HeldKeyCodes(steps[0])) {
      for (int table : ColourTables(entry.colour, KeyEvent::Down))
        if (DeviceCodes* slot = set.Slot(table, key.keyId)) *slot = held->first;
      for (int table : ColourTables(entry.colour, KeyEvent::Up))
        if (DeviceCodes* slot = set.Slot(table, key.keyId)) *slot = held->second;
      return;
    }
  }
  DeviceCodes codes = MacroTextToDeviceCodes(steps);
  if (codes.empty()) return;
  for (int table : ColourTables(entry.colour, entry.event))
    if (DeviceCodes* slot = set.Slot(table, key.keyId)) *slot = codes;
}

// A Key Down that only presses what its Key Up only releases is one tap.
void MergeHeldPair(std::vector<std::wstring>& down, std::vector<std::wstring>& up) {
  if (down.size() != 1 || up.size() != 1) return;
  if (!down[0].starts_with(L'_') || !up[0].starts_with(L'-')) return;
  if (down[0].compare(1, std::wstring::npos, up[0], 1, std::wstring::npos) != 0) return;
  down[0].erase(0, 1);
  up.clear();
}

// What the programming window's New empties in the model; key caps and spacers stay.
void ClearLayout(MacroContext& context) {
  ClearKeyFunctions(context.functions);
  context.toggleKeys.clear();
  context.shiftKeys.clear();
  context.includes.clear();
  context.customCommandCount = 0;
  context.removedCommandIds.clear();
  context.layerNames.clear();
  context.layerPrograms.clear();
  context.layerMap.clear();
}

std::wstring StepCode(const std::wstring& step) {
  // Delays wait when the script runs, as the editor's own delay steps do.
  if (const int quarters = DelayStepQuarters(step)) return L"sleep(" + std::to_wstring(quarters * 250) + L");";
  return SendStringCode(step);
}

void AddImportedFunction(MacroContext& context, std::uint8_t key, KeyEvent event, LayerColour colour,
                         const std::vector<std::wstring>& steps) {
  if (steps.empty()) return;
  MacroEntry entry;
  entry.event = event;
  entry.colour = colour;
  entry.program = kDefaultProgramLayer;
  int position = 0;
  for (const std::wstring& step : steps) position = ParseMacroStep(entry, position, step, StepCode(step));
  AddKeyFunction(context.functions, key, event, colour, kDefaultProgramLayer, "");
  const int index = FindKeyFunction(context.functions, key, event, colour, kDefaultProgramLayer);
  if (index >= 0) MacroTextToScript(entry, context.functions.items[static_cast<std::size_t>(index)]);
}

}  // namespace

bool IsOnboardKey(const MacroContext& context, const KeyRecord& key) {
  return key.plugin.empty() && key.pairedId == 0 && key.capKind != kSpacerKey &&
         !context.spacers.contains(key.keyId);
}

std::uint8_t OnboardHighestKey(const MacroContext& context) {
  std::uint8_t highest = 0;
  for (const KeyRecord& key : context.keys)
    if (IsOnboardKey(context, key) && key.keyId > highest) highest = key.keyId;
  return highest;
}

DeviceMacroSet BuildDeviceMacroSet(const MacroContext& context) {
  DeviceMacroSet set;
  set.highestKey = OnboardHighestKey(context);
  set.Resize(MacroTableSize(set.highestKey));
  for (const KeyRecord& key : context.keys) {
    if (!IsOnboardKey(context, key)) continue;
    const bool toggle = context.toggleKeys.contains(key.keyId);
    const bool shift = context.shiftKeys.contains(key.keyId);
    if (toggle || shift) {
      for (int table : {kKeyDownGreen, kKeyDownRed, kKeyUpGreen, kKeyUpRed})
        if (shift || table == kKeyDownGreen || table == kKeyDownRed)
          if (DeviceCodes* slot = set.Slot(table, key.keyId)) *slot = kToggleLayer;
      continue;
    }
    for (const MacroEntry& entry : key.entries) ConvertEntry(context, key, entry, set);
  }
  return set;
}

bool ImportDeviceMacros(MacroContext& context, const DeviceMacroSet& set) {
  context.events.StartNewLayout(context);
  ClearLayout(context);
  std::vector<std::uint8_t> ids;
  for (const KeyRecord& key : context.keys)
    if (IsOnboardKey(context, key)) ids.push_back(key.keyId);

  for (std::uint8_t id : ids) {
    const DeviceCodes* downGreen = set.Find(kKeyDownGreen, id);
    if (downGreen && (*downGreen)[0] == kToggleLayerCode) {
      const DeviceCodes* upGreen = set.Find(kKeyUpGreen, id);
      (upGreen && (*upGreen)[0] == kToggleLayerCode ? context.shiftKeys : context.toggleKeys).insert(id);
      continue;
    }
    std::array<std::vector<std::wstring>, kDeviceMacroTables> steps;
    for (int table = 0; table < kDeviceMacroTables; ++table)
      if (const DeviceCodes* codes = set.Find(table, id)) steps[table] = DeviceCodesToMacroText(*codes);
    MergeHeldPair(steps[kKeyDownGreen], steps[kKeyUpGreen]);
    MergeHeldPair(steps[kKeyDownRed], steps[kKeyUpRed]);
    AddImportedFunction(context, id, KeyEvent::Down, LayerColour::Green, steps[kKeyDownGreen]);
    AddImportedFunction(context, id, KeyEvent::Up, LayerColour::Green, steps[kKeyUpGreen]);
    AddImportedFunction(context, id, KeyEvent::Down, LayerColour::Red, steps[kKeyDownRed]);
    AddImportedFunction(context, id, KeyEvent::Up, LayerColour::Red, steps[kKeyUpRed]);
  }
  if (!context.device) return false;
  return WriteScriptFile(context, context.device->OwnScriptPath());
}
