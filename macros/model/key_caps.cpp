#include "macros/model/key_caps.h"

#include <algorithm>

#include "macros/model/macro_context.h"
#include "macros/model/macro_steps.h"

namespace {

// The id a cap's record has until the merge gives it the cap's own.
constexpr std::uint8_t kNewCapRecordId = 90;

bool IsCapRecord(const KeyRecord& k) {
  return k.capKind == kDoubleWideCap || k.capKind == kDoubleTallCap || k.capKind == kQuadCap;
}

// Spacers read from a script look and act as spacers, like those installed while the window
// is open.
void BuildSpacerViews(MacroContext& context) {
  for (KeyRecord& key : context.keys) {
    if (key.capKind != kSpacerKey || context.spacers.count(key.keyId)) continue;
    key.capKind = kPlainKey;
    key.images[kNormalImage].reset();
  }
  for (int id : context.spacers) context.events.ShowSpacer(context, id);
}

}  // namespace

void RebuildKeyCaps(MacroContext& context) {
  for (KeyRecord& key : context.keys) key.entries.clear();
  for (const KeyFunction& f : context.functions.items) {
    const int index = FindKeyIndex(context.keys, f.scan);
    if (index < 0) continue;
    MacroEntry entry;
    entry.event = f.event;
    entry.colour = f.colour;
    entry.program = f.program;
    entry.functionLink = f.index;
    SplitMacroSteps(entry, f);
    context.keys[index].entries.push_back(std::move(entry));
  }
}

void BuildKeyCapViews(MacroContext& context) {
  std::erase_if(context.keys, IsCapRecord);
  for (KeyRecord& key : context.keys) {
    if (key.capKind != kCoveredByCap) continue;
    key.capKind = kPlainKey;
    key.pairedId = 0;
  }
  for (const KeyCapDefinition& def : context.keyCaps) {
    KeyRecord cap;
    cap.keyId = kNewCapRecordId;
    cap.pairedId = def.capId;
    cap.key = {def.left, def.top, def.width, def.height};
    std::vector<int> covered;
    for (std::uint8_t code : def.covered) {
      const int index = FindKeyIndex(context.keys, code);
      if (index >= 0) covered.push_back(index);
    }
    context.events.ChangeKeyCap(context, cap, covered, def.kind, false);
  }
  BuildSpacerViews(context);
}
