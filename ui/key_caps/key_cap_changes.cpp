#include "ui/key_caps/key_cap_changes.h"

#include <algorithm>
#include <cstdint>

#include "macros/model/key_functions.h"
#include "macros/model/macro_context.h"

namespace {

bool IsCap(const KeyRecord& key) {
  return key.capKind == kDoubleWideCap || key.capKind == kDoubleTallCap || key.capKind == kQuadCap;
}

int LastKeyIndex(const std::vector<KeyRecord>& keys, int id) {
  for (int i = static_cast<int>(keys.size()) - 1; i >= 0; --i)
    if (keys[i].keyId == id) return i;
  return -1;
}

// The rectangle around the non-empty ones; `otherwise` when there is none.
RectF BoundingBox(const std::vector<RectF>& rects, const RectF& otherwise) {
  bool any = false;
  float left = 0, top = 0, right = 0, bottom = 0;
  for (const RectF& r : rects) {
    if (r.Empty()) continue;
    left = any ? std::min(left, r.x) : r.x;
    top = any ? std::min(top, r.y) : r.y;
    right = any ? std::max(right, r.x + r.w) : r.x + r.w;
    bottom = any ? std::max(bottom, r.y + r.h) : r.y + r.h;
    any = true;
  }
  return any ? RectF{left, top, right - left, bottom - top} : otherwise;
}

}  // namespace

std::vector<std::string> KeyCapImageNames(int kind) {
  const char* prefix = kind == kDoubleWideCap ? "2Wide" : kind == kDoubleTallCap ? "2Tall" : kind == kQuadCap ? "Quad" : nullptr;
  if (!prefix) return {};
  std::vector<std::string> names;
  for (const char* state : {"GreenOver", "GreenPressed", "RedOver", "RedPressed", "Key"})
    names.push_back(std::string(prefix) + state + ".png");
  return names;
}

int ChangeKeyCap(MacroContext& c, const KeyRecord& capIn, const std::vector<int>& coveredIndexes,
                 int kind, bool store, KeyCapServices& services) {
  const int id = capIn.pairedId != 0 ? capIn.pairedId : FindFreeKeyId(c.keys);
  // Id 0 is no cap: the keys under it would look uncovered and it could never be removed.
  if (id == 0) return 0;

  std::vector<int> covered;
  for (int index : coveredIndexes)
    if (index >= 0 && index < static_cast<int>(c.keys.size())) covered.push_back(index);
  std::vector<RectF> keyRects, labelRects;
  std::vector<std::uint8_t> coveredIds;
  for (int index : covered) {
    KeyRecord& key = c.keys[index];
    keyRects.push_back(key.key);
    labelRects.push_back(key.label);
    coveredIds.push_back(key.keyId);
    key.pairedId = static_cast<std::uint8_t>(id);
    key.capKind = kCoveredByCap;
  }
  std::sort(coveredIds.begin(), coveredIds.end());
  coveredIds.erase(std::unique(coveredIds.begin(), coveredIds.end()), coveredIds.end());

  KeyRecord cap = capIn;
  cap.keyId = static_cast<std::uint8_t>(id);
  cap.pairedId = static_cast<std::uint8_t>(id);
  cap.capKind = kind;
  cap.pressCount = 0;
  cap.key = BoundingBox(keyRects, capIn.key);
  cap.label = BoundingBox(labelRects, capIn.label);
  const std::vector<std::string> names = KeyCapImageNames(kind);
  for (std::size_t slot = 0; slot < names.size() && slot < cap.images.size(); ++slot)
    cap.images[slot] = services.CapImage(names[slot]);

  services.Redraw();
  c.keys.push_back(std::move(cap));
  if (store) {
    const KeyRecord& made = c.keys.back();
    c.keyCaps.push_back({kind, static_cast<std::uint8_t>(id), coveredIds, made.key.x, made.key.y, made.key.w,
                         made.key.h});
    services.WriteScript();
  }
  return id;
}

bool SetKeySpacer(MacroContext& c, int keyId, bool add, KeyCapServices& services) {
  const int index = LastKeyIndex(c.keys, keyId);
  // A key under a cap (or a cap) carries no spacer.
  if (index < 0 || (c.keys[index].capKind != kPlainKey && c.keys[index].capKind != kSpacerKey)) return false;
  if (add) c.spacers.insert(keyId);
  KeyRecord& key = c.keys[index];
  key.capKind = kSpacerKey;
  key.images[kNormalImage] = services.SpacerImage();
  // A key selected by its press or the mouse would keep that look, and its editor, as a blank.
  key.state = kStateNormal;
  if (c.hotKeyId == keyId) c.hotKeyId = kNoKeyId;
  if (c.pressedKeyId == keyId) c.pressedKeyId = kNoKeyId;
  if (c.editingEntry && c.currentKey == keyId) services.CancelEditor();
  services.SetKeyEnabled(keyId, false);
  services.Redraw();
  return true;
}

void ClearKeySpacer(MacroContext& c, int keyId, KeyCapServices& services) {
  c.spacers.erase(keyId);
  if (const int index = LastKeyIndex(c.keys, keyId); index >= 0 && c.keys[index].capKind == kSpacerKey) {
    c.keys[index].capKind = kPlainKey;
    c.keys[index].images[kNormalImage].reset();
  }
  services.SetKeyEnabled(keyId, true);
  services.Redraw();
}

bool RemoveKeyCapOver(MacroContext& c, int keyId, KeyCapServices& services) {
  const int index = FindKeyIndex(c.keys, keyId);
  if (index < 0 || c.keys[index].capKind != kCoveredByCap || c.keys[index].pairedId == 0) return false;
  const int capId = c.keys[index].pairedId;
  for (KeyRecord& key : c.keys) {
    if (key.pairedId != capId || key.capKind != kCoveredByCap) continue;
    key.pairedId = 0;
    key.capKind = kPlainKey;
  }
  std::erase_if(c.keys, [&](const KeyRecord& k) { return k.keyId == capId && IsCap(k); });
  // The cap's macros go with it.
  for (;;) {
    auto it = std::find_if(c.functions.items.begin(), c.functions.items.end(),
                           [&](const KeyFunction& f) { return f.scan == capId; });
    if (it == c.functions.items.end()) break;
    const KeyFunction f = *it;
    if (RemoveKeyFunction(c.functions, f.scan, f.event, f.colour, f.program) < 0) break;
  }
  const auto def = std::find_if(c.keyCaps.begin(), c.keyCaps.end(),
                                [&](const KeyCapDefinition& d) { return d.capId == capId; });
  if (def != c.keyCaps.end()) c.keyCaps.erase(def);
  if (c.hotKeyId == capId) c.hotKeyId = kNoKeyId;
  if (c.pressedKeyId == capId) c.pressedKeyId = kNoKeyId;
  services.WriteScript();
  services.Redraw();
  return true;
}

void RecountCapPresses(MacroContext& c, const std::vector<int>& heldKeys) {
  for (KeyRecord& cap : c.keys)
    if (IsCap(cap)) cap.pressCount = 0;
  for (int id : heldKeys) {
    const int index = FindKeyIndex(c.keys, id);
    if (index < 0 || c.keys[index].capKind != kCoveredByCap) continue;
    const int cap = FindKeyIndex(c.keys, c.keys[index].pairedId);
    if (cap >= 0 && IsCap(c.keys[cap])) ++c.keys[cap].pressCount;
  }
}
