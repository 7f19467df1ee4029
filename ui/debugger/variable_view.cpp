#include "ui/debugger/variable_view.h"

#include <angelscript.h>
#include <scriptarray/scriptarray.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

#include "runtime/script/debug_context.h"
#include "runtime/script/debug_engine.h"
#include "runtime/script/script_value_text.h"

namespace {

constexpr std::size_t kQuotedCut = 197;

bool IsType(asIScriptEngine* engine, int typeId, const char* declaration) {
  const int id = engine->GetTypeIdByDecl(declaration);
  return id >= 0 && (typeId & ~asTYPEID_OBJHANDLE) == id;
}

template <class T>
std::vector<std::string> VectorElements(const void* object) {
  std::vector<std::string> texts;
  for (T e : *static_cast<const std::vector<T>*>(object)) {
    // Bytes read as numbers: uint8 elements stay unsigned.
    if constexpr (std::is_signed_v<T>)
      texts.push_back(std::to_string(static_cast<long long>(e)));
    else
      texts.push_back(std::to_string(static_cast<unsigned long long>(e)));
  }
  return texts;
}

std::vector<std::string> ScriptArrayElements(const CScriptArray& array) {
  std::vector<std::string> texts;
  const int element = array.GetElementTypeId();
  for (asUINT i = 0; i < array.GetSize(); ++i) {
    const void* at = array.At(i);
    texts.push_back(element == asTYPEID_UINT32 ? std::to_string(*static_cast<const std::uint32_t*>(at))
                                               : std::to_string(*static_cast<const std::int32_t*>(at)));
  }
  return texts;
}

// The view's own text for strings and integer arrays; nothing for other types.
std::optional<std::string> OwnValueText(asIScriptEngine* engine, int typeId, const void* address) {
  if (!address || !(typeId & asTYPEID_MASK_OBJECT)) return std::nullopt;
  const void* object = typeId & asTYPEID_OBJHANDLE ? *static_cast<const void* const*>(address) : address;
  if (!object) return std::nullopt;
  if (IsType(engine, typeId, "string")) return QuotedValueText(*static_cast<const std::string*>(object));
  if (IsType(engine, typeId, "uint8[]")) return JoinElementTexts(VectorElements<std::uint8_t>(object));
  if (IsType(engine, typeId, "int8[]")) return JoinElementTexts(VectorElements<std::int8_t>(object));
  if (IsType(engine, typeId, "int[]")) return JoinElementTexts(VectorElements<std::int32_t>(object));
  if (IsType(engine, typeId, "uint[]")) {
    const auto* array = static_cast<const CScriptArray*>(object);
    if (array->GetElementTypeId() == asTYPEID_UINT32) return JoinElementTexts(ScriptArrayElements(*array));
  }
  return std::nullopt;
}

std::string GlobalText(asCDebugScriptEngine& engine, asIScriptModule* module, int id) {
  const asUINT index = static_cast<asUINT>(id & 0xFFFF);
  int typeId = 0;
  module->GetGlobalVar(index, nullptr, nullptr, &typeId);
  if (auto own = OwnValueText(engine.Library(), typeId, module->GetAddressOfGlobalVar(index))) return *own;
  char text[kVariableTextLimit] = "";
  engine.GetGlobalVarAsText(id, text, sizeof text);
  return text;
}

// A local's text, type and name; false when there is no such variable.
bool LocalRow(asCDebugScriptEngine& engine, asCDebugContext& context, int index, VariableRow& row) {
  char name[kVariableTextLimit] = "", type[kVariableTextLimit] = "", value[kVariableTextLimit] = "";
  const int kind = context.GetVarAsText(index, name, sizeof name, type, sizeof type, value, sizeof value);
  if (kind == 0) return false;
  row.kind = VariableRow::Kind::Local;
  row.id = index;
  row.name = name;
  row.type = type;
  asIScriptContext* library = context.Library();
  const auto own = OwnValueText(engine.Library(), library->GetVarTypeId(static_cast<asUINT>(index)),
                                library->GetAddressOfVar(static_cast<asUINT>(index)));
  row.value = own ? *own : kind == 2 ? std::string() : std::string(value);
  return true;
}

}  // namespace

std::string JoinElementTexts(const std::vector<std::string>& elements) {
  std::string text;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const std::size_t separator = i > 0 ? 1 : 0;
    if (text.size() + separator + elements[i].size() + 1 > kVariableTextLimit) break;
    if (separator) text += ',';
    text += elements[i];
  }
  return text;
}

std::string QuotedValueText(const std::string& text) {
  if (text.size() + 2 + 1 > kVariableTextLimit) return "\"" + text.substr(0, kQuotedCut) + "\"";
  return "\"" + text + "\"";
}

std::vector<VariableRow> CollectVariables(asCDebugScriptEngine& engine, asCDebugContext& context) {
  std::vector<VariableRow> rows;
  const int moduleIndex = context.CurrentModuleIndex();
  if (asIScriptModule* module = engine.LibraryModule(moduleIndex)) {
    for (asUINT i = 0; i < module->GetGlobalVarCount(); ++i) {
      const char* name = nullptr;
      bool isConst = false;
      module->GetGlobalVar(i, &name, nullptr, nullptr, &isConst);
      const std::string declaration = module->GetGlobalVarDeclaration(i) ? module->GetGlobalVarDeclaration(i) : "";
      if (isConst || declaration.starts_with("const")) continue;
      VariableRow row;
      row.kind = VariableRow::Kind::Global;
      row.id = asCDebugScriptEngine::GlobalVarId(moduleIndex, static_cast<int>(i));
      row.type = declaration.substr(0, declaration.find(' '));
      row.name = name ? name : "";
      row.value = GlobalText(engine, module, row.id);
      rows.push_back(std::move(row));
    }
  }
  asIScriptContext* library = context.Library();
  const int count = library->GetCallstackSize() > 0 ? library->GetVarCount(0) : 0;
  for (int i = 0; i < count; ++i) {
    // A local whose declaration has not run yet holds no value: reading it reads garbage.
    if (!library->IsVarInScope(static_cast<asUINT>(i))) continue;
    VariableRow row;
    if (LocalRow(engine, context, i, row)) rows.push_back(std::move(row));
  }
  VariableRow module;
  module.kind = VariableRow::Kind::Module;
  module.name = "Current Module";
  if (const char* name = engine.ModuleName(moduleIndex)) module.value = name;
  rows.push_back(std::move(module));
  return rows;
}

bool EditVariable(asCDebugScriptEngine& engine, asCDebugContext& context, VariableRow& row,
                  const std::string& text) {
  switch (row.kind) {
    case VariableRow::Kind::Global: {
      asIScriptModule* module = engine.LibraryModule((row.id >> 16) & 0x3FF);
      const asUINT index = static_cast<asUINT>(row.id & 0xFFFF);
      if (!module || index >= module->GetGlobalVarCount()) return false;
      int typeId = 0;
      module->GetGlobalVar(index, nullptr, nullptr, &typeId);
      if (typeId & asTYPEID_MASK_OBJECT) return false;
      engine.SetGlobalVarFromText(row.id, text.c_str());
      row.value = GlobalText(engine, module, row.id);
      return true;
    }
    case VariableRow::Kind::Local:
      if (!context.SetVarFromText(row.id, text.c_str())) return false;
      return LocalRow(engine, context, row.id, row);
    case VariableRow::Kind::Module:
      return false;
  }
  return false;
}
