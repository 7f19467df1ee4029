#include "ui/programming_window/keypad_geometry.h"

#include "macros/model/macro_context.h"

namespace {

bool Holds(float left, float top, float width, float height, float x, float y) {
  return x >= left && x < left + width && y >= top && y < top + height;
}

constexpr int kFrameWidth = 6;
constexpr int kFrameHeight = 44;
constexpr int kRaise = 50;
constexpr int kDefaultX = 200;
constexpr int kDefaultY = 100;

}  // namespace

int KeyFromPoint(float x, float y, const MacroContext& context) {
  for (const KeyRecord& k : context.keys) {
    if (k.capKind == kCoveredByCap || k.capKind == kSpacerKey) continue;
    if (Holds(k.key.x, k.key.y, k.key.w, k.key.h, x, y)) return FindKeyIndex(context.keys, k.keyId);
  }
  return -1;
}

int LedFromPoint(float x, float y, const MacroContext& context) {
  for (std::size_t i = 0; i < context.leds.size(); ++i) {
    const LayoutLed& led = context.leds[i];
    if (Holds(led.x, led.y, led.w, led.h, x, y)) return static_cast<int>(i);
  }
  return -1;
}

PixelRect PixelsOf(const RectF& r) {
  return {RoundToInt(r.x), RoundToInt(r.y), RoundToInt(r.x + r.w), RoundToInt(r.y + r.h)};
}

PixelRect PixelsOf(const LayoutLed& led) { return PixelsOf(RectF{led.x, led.y, led.w, led.h}); }

WindowPlacement PlaceProgrammingWindow(int canvasWidth, int canvasHeight,
                                       const std::optional<ScreenArea>& workArea) {
  WindowPlacement p{kDefaultX, kDefaultY, canvasWidth + kFrameWidth, canvasHeight + kFrameHeight};
  if (workArea) {
    p.x = (workArea->right - canvasWidth - workArea->left) / 2;
    p.y = (workArea->bottom - canvasHeight - workArea->top - kRaise) / 2;
  }
  return p;
}
