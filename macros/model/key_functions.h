#pragma once
// The list of generated key functions of a layout and the name tree over it. Scan codes are
// compared as bytes and program layers exactly; "Pni" and LayerColour::Any stored in a function
// match any program or colour layer asked for (only on the stored side).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macros/model/key_function_names.h"
#include "macros/model/macro_records.h"

struct KeyFunctionList {
  std::vector<KeyFunction> items;
  std::unique_ptr<KeyFunctionNode> tree;  // none until the first insertion or build

  KeyFunctionList() = default;
  // A copy gets a tree of its own, built from its items when the original had one.
  KeyFunctionList(const KeyFunctionList& other);
  KeyFunctionList& operator=(const KeyFunctionList& other);
  KeyFunctionList(KeyFunctionList&&) = default;
  KeyFunctionList& operator=(KeyFunctionList&&) = default;

  int count() const { return static_cast<int>(items.size()); }
};

// Index of the first matching function in list order, or -1.
int FindKeyFunction(const KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                    LayerColour colour, std::string_view program);
// 0 when a function matches (nothing changes); else appends one, inserts it into the tree
// (made first if there is none) and returns 1.
int AddKeyFunction(KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                   LayerColour colour, std::string_view program, std::string_view body);
// Removes the matching function, renumbers the later ones, rebuilds the tree; its index or -1.
int RemoveKeyFunction(KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                      LayerColour colour, std::string_view program);
// Gives the matching function these selectors and body, and rebuilds the tree so that it
// mirrors the list. A missing function is reported on standard output; false then.
bool UpdateKeyFunction(KeyFunctionList& list, std::uint8_t scan, KeyEvent event,
                       LayerColour colour, std::string_view program, std::string_view body);

std::unique_ptr<KeyFunctionNode> BuildKeyFunctionTree(const std::vector<KeyFunction>& items);
// Finds or appends the event, colour and program nodes; appends the scan-code node with its
// leaf unless the program node has one of that code already.
void InsertKeyFunctionNode(KeyFunctionNode& tree, const KeyFunction& function);
void RebuildKeyFunctionTree(KeyFunctionList& list);
// Empty list, no tree.
void ClearKeyFunctions(KeyFunctionList& list);
std::vector<KeyFunction> CopyKeyFunctions(const KeyFunctionList& list);

// Three-way comparisons (negative, 0, positive) for sorting.
// Two nodes by name, byte-wise.
int CompareByText(const KeyFunctionNode& a, const KeyFunctionNode& b);
// Two layer names, byte-wise, whole names of any length.
int CompareByName(std::string_view a, std::string_view b);
// Two scan-code nodes by the decimal value of their names.
int CompareByNumber(const KeyFunctionNode& a, const KeyFunctionNode& b);
