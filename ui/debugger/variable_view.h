#pragma once
// The rows of the debugger's variable view while a script is stopped at a line: the globals of
// the running module (constants left out), the locals of the stopped function that are in
// scope, and the module's name; and the editing of a value.

#include <cstddef>
#include <string>
#include <vector>

class asCDebugScriptEngine;
class asCDebugContext;

struct VariableRow {
  enum class Kind { Global, Local, Module };
  Kind kind = Kind::Module;
  int id = 0;  // a global's id (module << 16 | index) or a local's index
  std::string value, type, name;
  bool operator==(const VariableRow&) const = default;
};

// Texts longer than this (terminator included) are cut.
constexpr std::size_t kVariableTextLimit = 200;

std::vector<VariableRow> CollectVariables(asCDebugScriptEngine& engine, asCDebugContext& context);

// Sets the row's variable from text and gives its new value text; false when nothing could be
// set (the row keeps its text then).
bool EditVariable(asCDebugScriptEngine& engine, asCDebugContext& context, VariableRow& row,
                  const std::string& text);

// Elements joined by "," as long as the text with its terminator stays within the limit.
std::string JoinElementTexts(const std::vector<std::string>& elements);
// A string's text between double quotes, cut to its first 197 characters when it would
// exceed the limit.
std::string QuotedValueText(const std::string& text);
