#include "ui/key_caps/key_cap_commands.h"

#include <algorithm>

#include "macros/model/macro_context.h"

const KeyCapQuestionText& TextOf(KeyCapQuestion question) {
  static const KeyCapQuestionText install{
      "Please install the double-key, quad-key, or spacer and then press ok.", "Install Your Key-Cap", false};
  static const KeyCapQuestionText detected{
      "Orvane has detected one or more new spacers installed.  Is this correct?", "Spacers Detected", true};
  static const KeyCapQuestionText removed{
      "Orvane has detected one or more spacers have been removed.  Is this correct?", "Spacers Removed", true};
  switch (question) {
    case KeyCapQuestion::kInstall:
      return install;
    case KeyCapQuestion::kSpacersDetected:
      return detected;
    case KeyCapQuestion::kSpacersRemoved:
      break;
  }
  return removed;
}

namespace {

// The held keys, with every cap counting those under it.
std::vector<int> Flush(MacroContext& context, KeyCapCommandPort& port) {
  std::vector<int> held = port.FlushHeldKeys();
  RecountCapPresses(context, held);
  return held;
}

}  // namespace

void AddKeyCapsCommand(MacroContext& c, KeyCapCommandPort& port) {
  if (!port.Ask(KeyCapQuestion::kInstall)) return;
  bool added = false;
  bool asked = false;
  for (int key : Flush(c, port)) {
    if (c.spacers.count(key)) continue;
    // Only a plain key of the view can be a new spacer (a held key under a cap is the cap).
    const int index = FindKeyIndex(c.keys, key);
    if (index < 0 || c.keys[index].capKind != kPlainKey) continue;
    if (!asked) {
      asked = true;
      if (!port.Ask(KeyCapQuestion::kSpacersDetected)) break;
    }
    added |= SetKeySpacer(c, key, true, port);
  }
  if (added) {
    port.WriteScript();
    return;
  }
  port.OpenDetectionDialog();
}

void RemoveKeyCapsCommand(MacroContext& c, KeyCapCommandPort& port) {
  const std::vector<int> held = Flush(c, port);
  std::vector<int> gone;
  for (int spacer : c.spacers)
    if (std::find(held.begin(), held.end(), spacer) == held.end()) gone.push_back(spacer);
  if (!gone.empty() && port.Ask(KeyCapQuestion::kSpacersRemoved)) {
    for (int key : gone) ClearKeySpacer(c, key, port);
    port.WriteScript();
    return;
  }
  port.OpenRemovalDialog();
  Flush(c, port);
}

bool MakeDetectedKeyCap(MacroContext& c, const DetectedKeyCap& detected, KeyCapServices& services) {
  std::vector<int> covered;
  for (int id : detected.keyIds) {
    const int index = FindKeyIndex(c.keys, id);
    if (index < 0) return false;
    covered.push_back(index);
  }
  return ChangeKeyCap(c, KeyRecord{}, covered, detected.kind, true, services) != 0;
}
