#include "ui/script_editor/editor_layout.h"

#include <algorithm>

EditorLayout LayOutEditor(const EditorSizes& s) {
  const int W = s.clientWidth, H = s.clientHeight, S = s.statusHeight, B = s.browserWidth,
            Z = s.sideBarWidth, X = s.frameBorder;
  EditorLayout l;
  l.list = {0, H - S, W, S};
  l.sideBar = {0, 0, Z, H - S - X};
  l.edit = {Z - 2, 0, W - B - Z - X + 2, H - S - X};
  l.tree = {W - B, 0, B, H - S - X};
  return l;
}

Splitter SplitterAt(const EditorSizes& s, int y) {
  return y < s.clientHeight - s.frameBorder - s.statusHeight ? Splitter::TreeEdge
                                                             : Splitter::ListEdge;
}

std::optional<int> DraggedSize(const EditorSizes& s, Splitter splitter, int x, int y) {
  int size = 0, whole = 0;
  if (splitter == Splitter::TreeEdge) {
    size = s.clientWidth - x;
    whole = s.clientWidth;
  } else if (splitter == Splitter::ListEdge) {
    size = s.clientHeight - y;
    whole = s.clientHeight;
  } else {
    return std::nullopt;
  }
  if (size < kMinSplitSize || whole < size + kMinSplitSize) return std::nullopt;
  return size;
}

MessageColumns MessageColumnWidths(int L) {
  MessageColumns c{L / 6, L / 8, L / 6, L - L / 8 - 2 * (L / 6)};
  if (c.message > 100) c.message -= 30;
  return c;
}

VariableColumns VariableColumnWidths(int L) {
  VariableColumns c{L / 8, L / 6, L - L / 6 - L / 8};
  if (c.value > 100) c.value -= 30;
  return c;
}

EditorPlacement ResolvePlacement(const EditorPlacement& t, const StoredPlacement& s,
                                 const LayoutRect& work) {
  EditorPlacement p;
  p.x = s.x.value_or(t.x);
  p.y = s.y.value_or(t.y);
  p.width = s.width.value_or(t.width);
  p.height = s.height.value_or(t.height);
  p.statusHeight = s.statusHeight.value_or(t.statusHeight);
  p.browserWidth = s.browserWidth.value_or(t.browserWidth);
  // A size from another screen, or a broken value, must not make the window unusable.
  p.width = std::clamp(p.width, 2 * kMinSplitSize, std::max(2 * kMinSplitSize, work.width));
  p.height = std::clamp(p.height, 2 * kMinSplitSize, std::max(2 * kMinSplitSize, work.height));
  p.x = std::clamp(p.x, work.x, std::max(work.x, work.x + work.width - p.width));
  p.y = std::clamp(p.y, work.y, std::max(work.y, work.y + work.height - p.height));
  // The splitters leave room for the rest of the window (its frame and caption included).
  p.statusHeight =
      std::clamp(p.statusHeight, kMinSplitSize, std::max(kMinSplitSize, p.height - 4 * kMinSplitSize));
  p.browserWidth =
      std::clamp(p.browserWidth, kMinSplitSize, std::max(kMinSplitSize, p.width - 4 * kMinSplitSize));
  return p;
}
