#pragma once
// Which key cap a group of keys pressed together makes: the user presses the keys under a newly
// installed cap, and the cap's kind follows from where those keys lie. A group is complete
// when no key of it is held any more.

#include <optional>
#include <set>
#include <vector>

#include "macros/model/key_records.h"

// The kind (double-wide, double-tall, quad) that keys with these rectangles make, in ascending
// key id order; kPlainKey when they make none. Two to four keys; the second must lie next to
// the first, a third and fourth in the square the first two start.
int KeyCapKindOf(const std::vector<RectF>& keysInIdOrder);

struct DetectedKeyCap {
  int kind = kPlainKey;
  std::vector<int> keyIds;  // ascending
};

// The keys pressed since the detection began or since the last complete group.
class KeyCapDetector {
 public:
  void Reset();
  // Keys without a record of the view are not counted: they cannot be under a cap.
  void KeyDown(int keyId, const std::vector<KeyRecord>& keys);
  // The cap the group makes once its last key is released. A group that makes none (too few or
  // too many keys, keys apart, a key already under a cap or a spacer) is forgotten, so that the
  // next one starts afresh.
  std::optional<DetectedKeyCap> KeyUp(int keyId, const std::vector<KeyRecord>& keys);

  const std::set<int>& Pressed() const { return pressed_; }
  const std::set<int>& Held() const { return held_; }

 private:
  std::set<int> pressed_;
  std::set<int> held_;
};
