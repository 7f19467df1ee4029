#pragma once
// The records of a layout being programmed: macro entries with their displayed steps, the
// generated key functions and the tree over them from which the dispatch code is written, and
// key caps.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One displayed step of a macro entry, or the script text belonging to one.
struct MacroItem {
  std::wstring text;
  int start = 0;  // character positions in the editor box, end exclusive
  int end = 0;
  bool shown = true;

  bool operator==(const MacroItem&) const = default;
};

// The key event a macro runs on.
enum class KeyEvent : std::uint8_t { Down, Up };
// The colour layer a macro belongs to: the layer LED's green or red, or (only in functions a
// script already held) any colour layer.
enum class LayerColour : std::uint8_t { Green, Red, Any };

// The macro of one key for one event, colour layer and program layer.
struct MacroEntry {
  KeyEvent event = KeyEvent::Down;
  LayerColour colour = LayerColour::Green;
  std::string program;  // "Pnr", "Pni" or a layer token
  std::vector<MacroItem> steps;
  std::vector<MacroItem> codes;  // one per step, plus "//KeyDown"/"//KeyUp" after a held step
  int functionLink = -1;         // index of the key function made from it, or -1
};

// Program-layer tokens of the function names.
inline constexpr std::string_view kDefaultProgramLayer = "Pnr";
inline constexpr std::string_view kAnyProgramLayer = "Pni";
// The body of a function that is dispatched to nothing.
inline constexpr std::string_view kEmptyBody = "//Empty";

// One generated key function.
struct KeyFunction {
  int index = 0;  // its position in the list
  std::uint8_t scan = 0;
  KeyEvent event = KeyEvent::Down;
  LayerColour colour = LayerColour::Green;
  std::string program;
  std::string body;
  bool temporary = false;  // exists only during one write
  bool keyCap = false;     // set during a write on the functions of a single cap's id

  bool operator==(const KeyFunction&) const = default;
};

// Node of the function tree: root "root", then event, colour layer, program layer and scan
// code (decimal) nodes, and under each scan-code node one leaf naming the call to make (empty:
// no call). Children keep the order of their first insertion.
struct KeyFunctionNode {
  std::string name;
  KeyFunctionNode* parent = nullptr;
  std::vector<std::unique_ptr<KeyFunctionNode>> children;

  explicit KeyFunctionNode(std::string nodeName = "root") : name(std::move(nodeName)) {}
  // The first child of that name, or null.
  KeyFunctionNode* Child(std::string_view childName) const;
  KeyFunctionNode& AddChild(std::string childName);
};

// Kinds of key caps and of the key records they make.
enum KeyCapKind : int {
  kPlainKey = 0,
  kDoubleWideCap = 2,
  kDoubleTallCap = 3,
  kQuadCap = 4,
  kCoveredByCap = 5,
  kSpacerKey = 6,
};

// A key cap over several keys, whose macros are stored under an id of its own.
struct KeyCapDefinition {
  int kind = kDoubleWideCap;
  std::uint8_t capId = 0;
  std::vector<std::uint8_t> covered;  // the physical keys under it
  float left = 0, top = 0, width = 0, height = 0;

  bool operator==(const KeyCapDefinition&) const = default;
};
