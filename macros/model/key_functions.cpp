#include "macros/model/key_functions.h"

#include <cstdio>
#include <cstdlib>

KeyFunctionNode* KeyFunctionNode::Child(std::string_view childName) const {
  for (const auto& child : children)
    if (child->name == childName) return child.get();
  return nullptr;
}

KeyFunctionNode& KeyFunctionNode::AddChild(std::string childName) {
  children.push_back(std::make_unique<KeyFunctionNode>(std::move(childName)));
  children.back()->parent = this;
  return *children.back();
}

KeyFunctionList::KeyFunctionList(const KeyFunctionList& other) : items(other.items) {
  if (other.tree) tree = BuildKeyFunctionTree(items);
}

KeyFunctionList& KeyFunctionList::operator=(const KeyFunctionList& other) {
  if (this != &other) {
    items = other.items;
    tree = other.tree ? BuildKeyFunctionTree(items) : nullptr;
  }
  return *this;
}

int FindKeyFunction(const KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                    LayerColour colour, std::string_view program) {
  for (const KeyFunction& f : list.items) {
    if (f.scan != scan || f.event != event) continue;
    if (f.program != program && f.program != kAnyProgramLayer) continue;
    if (f.colour != colour && f.colour != LayerColour::Any) continue;
    return f.index;
  }
  return -1;
}

int AddKeyFunction(KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                   LayerColour colour, std::string_view program, std::string_view body) {
  if (FindKeyFunction(list, scan, event, colour, program) >= 0) return 0;
  KeyFunction f;
  f.index = list.count();
  f.scan = scan;
  f.event = event;
  f.colour = colour;
  f.program = program;
  f.body = body;
  list.items.push_back(std::move(f));
  if (!list.tree) list.tree = std::make_unique<KeyFunctionNode>();
  InsertKeyFunctionNode(*list.tree, list.items.back());
  return 1;
}

int RemoveKeyFunction(KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                      LayerColour colour, std::string_view program) {
  const int index = FindKeyFunction(list, scan, event, colour, program);
  if (index < 0) return -1;
  list.items.erase(list.items.begin() + index);
  for (int i = index; i < list.count(); ++i) list.items[i].index = i;
  RebuildKeyFunctionTree(list);
  return index;
}

bool UpdateKeyFunction(KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                       LayerColour colour, std::string_view program, std::string_view body) {
  const int index = FindKeyFunction(list, scan, event, colour, program);
  if (index < 0) {
    std::fputs("This function is not in your function list.\n", stdout);
    return false;
  }
  KeyFunction& f = list.items[index];
  f.event = event;
  f.colour = colour;
  f.program = program;
  f.body = body;
  // A whole rebuild: inserting again would leave the node of the old selectors behind.
  RebuildKeyFunctionTree(list);
  return true;
}

std::unique_ptr<KeyFunctionNode> BuildKeyFunctionTree(const std::vector<KeyFunction>& items) {
  auto tree = std::make_unique<KeyFunctionNode>();
  for (const KeyFunction& f : items) InsertKeyFunctionNode(*tree, f);
  return tree;
}

void InsertKeyFunctionNode(KeyFunctionNode& tree, const KeyFunction& f) {
  auto childOf = [](KeyFunctionNode& node, std::string_view name) -> KeyFunctionNode& {
    if (KeyFunctionNode* child = node.Child(name)) return *child;
    return node.AddChild(std::string(name));
  };
  KeyFunctionNode& event = childOf(tree, KeyEventName(f.event));
  KeyFunctionNode& program = childOf(childOf(event, LayerColourName(f.colour)), f.program);
  const std::string code = std::to_string(f.scan);
  if (program.Child(code)) return;
  program.AddChild(code).AddChild(f.body == kEmptyBody ? std::string() : KeyFunctionName(f));
}

void RebuildKeyFunctionTree(KeyFunctionList& list) { list.tree = BuildKeyFunctionTree(list.items); }

void ClearKeyFunctions(KeyFunctionList& list) {
  list.items.clear();
  list.tree.reset();
}

std::vector<KeyFunction> CopyKeyFunctions(const KeyFunctionList& list) { return list.items; }

int CompareByText(const KeyFunctionNode& a, const KeyFunctionNode& b) {
  return a.name.compare(b.name);
}

int CompareByName(std::string_view a, std::string_view b) { return a.compare(b); }

int CompareByNumber(const KeyFunctionNode& a, const KeyFunctionNode& b) {
  const long x = std::strtol(a.name.c_str(), nullptr, 10);
  const long y = std::strtol(b.name.c_str(), nullptr, 10);
  return x < y ? -1 : x > y ? 1 : 0;
}
