#pragma once
// The geometry of the script editor window: where its four controls go, how the two splitters
// move, the widths of the list's columns and the placement kept between runs.

#include <optional>

struct LayoutRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const LayoutRect&) const = default;
};

// What the controls are placed from: the client size, the list's height (status), the tree's
// width (browser), the margin's width and the frame border.
struct EditorSizes {
  int clientWidth = 0;
  int clientHeight = 0;
  int statusHeight = 0;
  int browserWidth = 0;
  int sideBarWidth = 0;
  int frameBorder = 0;
};

struct EditorLayout {
  LayoutRect list;
  LayoutRect sideBar;
  LayoutRect edit;
  LayoutRect tree;
};
EditorLayout LayOutEditor(const EditorSizes& s);

// The splitter a press at client height y grabs: the tree's edge above the list's band, else
// the list's edge.
enum class Splitter { None = 0, TreeEdge = 1, ListEdge = 2 };
Splitter SplitterAt(const EditorSizes& s, int y);
// The new size a drag to (x, y) gives, or nothing when it would leave the tree or list, or the
// rest, narrower than 20 pixels (the drag then ends at the last accepted size).
std::optional<int> DraggedSize(const EditorSizes& s, Splitter splitter, int x, int y);
constexpr int kMinSplitSize = 20;

// Column widths for a list width L: the message list's four ("Severity", "Line, Column",
// "Section", "Message") and the variable view's three ("Name", "Type", "Value").
struct MessageColumns {
  int severity, position, section, message;
};
MessageColumns MessageColumnWidths(int listWidth);
struct VariableColumns {
  int name, type, value;
};
VariableColumns VariableColumnWidths(int listWidth);

// The stored window rectangle and splitter sizes.
struct EditorPlacement {
  int x = 0, y = 0, width = 0, height = 0;
  int statusHeight = 0;
  int browserWidth = 0;
  bool operator==(const EditorPlacement&) const = default;
};
// Each stored value that could not be read keeps the template's; the window is then moved
// into the work area (whole when it fits, else at its top left) and the splitter sizes are held
// inside the window.
struct StoredPlacement {
  std::optional<int> x, y, width, height, statusHeight, browserWidth;
};
EditorPlacement ResolvePlacement(const EditorPlacement& fromTemplate, const StoredPlacement& stored,
                                 const LayoutRect& workArea);
