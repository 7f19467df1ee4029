#include "ui/key_caps/key_cap_detection.h"

#include <algorithm>

namespace {

// Edges count as inside.
bool Contains(const RectF& outer, const RectF& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

bool ContainsAll(const RectF& square, const std::vector<RectF>& keys) {
  for (std::size_t i = 2; i < keys.size(); ++i)
    if (!Contains(square, keys[i])) return false;
  return true;
}

}  // namespace

int KeyCapKindOf(const std::vector<RectF>& keys) {
  const std::size_t n = keys.size();
  if (n < 2 || n > 4) return kPlainKey;
  const RectF& a = keys[0];
  const RectF& b = keys[1];
  if (!Contains({a.x - a.w, a.y - a.h, 3 * a.w, 3 * a.h}, b)) return kPlainKey;
  const float left = std::min(a.x, b.x);
  const float top = std::min(a.y, b.y);
  const bool sameColumn = a.x == b.x;
  const bool sameRow = a.y == b.y;
  if (!sameColumn && !sameRow)  // diagonal neighbours span the square themselves
    return ContainsAll({left, top, 2 * a.w, 2 * a.h}, keys) ? kQuadCap : kPlainKey;
  if (n == 2) return sameColumn ? kDoubleTallCap : kDoubleWideCap;
  // A third and fourth key lie in the square on either side of the first two.
  const RectF first = sameColumn ? RectF{a.x - a.w, top, 2 * a.w, 2 * a.h}
                                 : RectF{left, a.y - a.h, 2 * a.w, 2 * a.h};
  const RectF second = sameColumn ? RectF{a.x, top, 2 * a.w, 2 * a.h} : RectF{left, a.y, 2 * a.w, 2 * a.h};
  return ContainsAll(first, keys) || ContainsAll(second, keys) ? kQuadCap : kPlainKey;
}

void KeyCapDetector::Reset() {
  pressed_.clear();
  held_.clear();
}

void KeyCapDetector::KeyDown(int keyId, const std::vector<KeyRecord>& keys) {
  if (FindKeyIndex(keys, keyId) < 0) return;
  pressed_.insert(keyId);
  held_.insert(keyId);
}

std::optional<DetectedKeyCap> KeyCapDetector::KeyUp(int keyId, const std::vector<KeyRecord>& keys) {
  held_.erase(keyId);
  if (!held_.empty()) return std::nullopt;
  DetectedKeyCap cap;
  cap.keyIds.assign(pressed_.begin(), pressed_.end());
  pressed_.clear();
  std::vector<RectF> rects;
  for (int id : cap.keyIds) {
    const int index = FindKeyIndex(keys, id);
    // A key under a cap, a cap or a spacer takes no second cap.
    if (index < 0 || keys[index].capKind != kPlainKey) return std::nullopt;
    rects.push_back(keys[index].key);
  }
  cap.kind = KeyCapKindOf(rects);
  if (cap.kind == kPlainKey) return std::nullopt;
  return cap;
}
