#pragma once
// Where things are in the keypad view: which key or LED is under a point, which pixels a
// rectangle of the view covers, and where the window goes on the screen.

#include <optional>

#include "macros/model/key_records.h"

struct MacroContext;

// The index of the first record with the id of the first drawn key (not covered by a cap, not a
// spacer) whose rectangle holds the point; -1 over no key. Left and top edges belong to the
// key, right and bottom edges do not.
int KeyFromPoint(float x, float y, const MacroContext& context);
// The index of the first LED whose rectangle holds the point (edges as for keys); -1 for none.
int LedFromPoint(float x, float y, const MacroContext& context);

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelRect&) const = default;
};
// The pixels to redraw for a rectangle of the view: each corner rounded (RoundToInt).
PixelRect PixelsOf(const RectF& rect);
PixelRect PixelsOf(const LayoutLed& led);

struct ScreenArea {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct WindowPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WindowPlacement&) const = default;
};
// The window's outer rectangle for a canvas: centred in the work area, 50 pixels higher than
// the middle; at (200, 100) when the work area is not known. The frame, caption and menu bar
// take 6 pixels across and 44 down.
WindowPlacement PlaceProgrammingWindow(int canvasWidth, int canvasHeight,
                                       const std::optional<ScreenArea>& workArea);
