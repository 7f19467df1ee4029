#include "runtime/script/script_value_text.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <scriptarray/scriptarray.h>

namespace {

constexpr const char* kNullObject = "unitialized";
constexpr const char* kOtherObject = "?????";
// An array text stops with "..." once fewer bytes than this would remain after a separator.
constexpr std::size_t kArrayReserve = 22;

template <class... Args>
std::string Format(const char* format, Args... args) {
  char text[512];
  int n = std::snprintf(text, sizeof text, format, args...);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof text) return std::string(text, n);
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, args...);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

std::string PrimitiveText(int typeId, const void* p) {
  switch (typeId) {
    case asTYPEID_BOOL: return *static_cast<const bool*>(p) ? "true" : "false";
    case asTYPEID_INT8: return Format("%d", int{*static_cast<const std::int8_t*>(p)});
    case asTYPEID_INT16: return Format("%d", int{*static_cast<const std::int16_t*>(p)});
    case asTYPEID_INT32: return Format("%ld", long{*static_cast<const std::int32_t*>(p)});
    case asTYPEID_INT64: return Format("%lld", static_cast<long long>(*static_cast<const std::int64_t*>(p)));
    case asTYPEID_UINT8: return Format("%u", unsigned{*static_cast<const std::uint8_t*>(p)});
    case asTYPEID_UINT16: return Format("%u", unsigned{*static_cast<const std::uint16_t*>(p)});
    case asTYPEID_UINT32: return Format("%lu", static_cast<unsigned long>(*static_cast<const std::uint32_t*>(p)));
    case asTYPEID_UINT64: return Format("%llu", static_cast<unsigned long long>(*static_cast<const std::uint64_t*>(p)));
    case asTYPEID_FLOAT: return Format("%f", double{*static_cast<const float*>(p)});
    case asTYPEID_DOUBLE: return Format("%lf", *static_cast<const double*>(p));
    default: return Format("%ld", long{*static_cast<const std::int32_t*>(p)});  // enums
  }
}

bool IsPrimitive(int typeId) { return (typeId & asTYPEID_MASK_OBJECT) == 0 && typeId != asTYPEID_VOID; }

// The type registered under name when it is a value type over a host class, else null.
asITypeInfo* HostValueType(asIScriptEngine* engine, int typeId, const char* name) {
  int id = engine->GetTypeIdByDecl(name);
  if (id < 0 || (typeId & ~asTYPEID_OBJHANDLE) != id) return nullptr;
  asITypeInfo* type = engine->GetTypeInfoById(id);
  return type && (type->GetFlags() & asOBJ_VALUE) ? type : nullptr;
}

struct VectorType {
  const char* name;
  int elementTypeId;
};
// The byte and integer arrays, over std::vector of their element.
constexpr VectorType kVectorTypes[] = {
    {"uint8[]", asTYPEID_UINT8}, {"int8[]", asTYPEID_INT8}, {"int[]", asTYPEID_INT32}};

template <class Element>
std::vector<std::string> ElementTexts(const void* vector, int elementTypeId) {
  const auto& v = *static_cast<const std::vector<Element>*>(vector);
  std::vector<std::string> texts;
  texts.reserve(v.size());
  for (const Element& e : v) texts.push_back(PrimitiveText(elementTypeId, &e));
  return texts;
}

std::string JoinElements(const std::vector<std::string>& texts, std::size_t bufferSize) {
  std::string out;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    out += texts[i];
    if (i + 1 == texts.size()) break;
    out += ", ";
    if (bufferSize < out.size() + kArrayReserve) {
      out += "...";
      break;
    }
  }
  return out;
}

std::string Quoted(const void* string) {
  return "\"" + *static_cast<const std::string*>(string) + "\"";
}

// Any other element type (float[], string[], ...) is the library's array add-on.
bool IsDefaultArray(asIScriptEngine* engine, int typeId) {
  asITypeInfo* type = engine->GetTypeInfoById(typeId & ~asTYPEID_OBJHANDLE);
  asITypeInfo* array = engine->GetTypeInfoById(engine->GetDefaultArrayTypeId());
  return type && array && (type->GetFlags() & asOBJ_TEMPLATE) && (type->GetFlags() & asOBJ_REF) &&
         std::strcmp(type->GetName(), array->GetName()) == 0;
}

std::string ElementText(asIScriptEngine* engine, int typeId, const void* element) {
  if (IsPrimitive(typeId)) return PrimitiveText(typeId, element);
  if (typeId & asTYPEID_OBJHANDLE) element = *static_cast<void* const*>(element);
  if (!element) return kNullObject;
  if (HostValueType(engine, typeId, "string")) return Quoted(element);
  return kOtherObject;
}

std::string ObjectText(asIScriptEngine* engine, int typeId, const void* object, ValueTextUse use,
                       std::size_t bufferSize) {
  if (!object) return kNullObject;
  for (const VectorType& v : kVectorTypes) {
    if (!HostValueType(engine, typeId, v.name)) continue;
    switch (v.elementTypeId) {
      case asTYPEID_UINT8: return JoinElements(ElementTexts<std::uint8_t>(object, v.elementTypeId), bufferSize);
      case asTYPEID_INT8: return JoinElements(ElementTexts<std::int8_t>(object, v.elementTypeId), bufferSize);
      default: return JoinElements(ElementTexts<std::int32_t>(object, v.elementTypeId), bufferSize);
    }
  }
  if (IsDefaultArray(engine, typeId)) {
    const auto* array = static_cast<const CScriptArray*>(object);
    std::vector<std::string> texts;
    for (asUINT i = 0; i < array->GetSize(); ++i)
      texts.push_back(ElementText(engine, array->GetElementTypeId(), array->At(i)));
    return JoinElements(texts, bufferSize);
  }
  if (use == ValueTextUse::Local && IsScriptStringType(engine, typeId)) return Quoted(object);
  return kOtherObject;
}

}  // namespace

bool IsScriptStringType(asIScriptEngine* engine, int typeId) {
  return HostValueType(engine, typeId, "string") != nullptr;
}

std::string ScriptValueText(asIScriptEngine* engine, int typeId, const void* address,
                            ValueTextUse use, std::size_t bufferSize) {
  std::string text;
  if (IsPrimitive(typeId)) {
    text = address ? PrimitiveText(typeId, address) : kNullObject;
  } else {
    const void* object = address;
    if (address && (typeId & asTYPEID_OBJHANDLE)) object = *static_cast<void* const*>(address);
    text = ObjectText(engine, typeId, object, use, bufferSize);
  }
  if (bufferSize == 0) return {};
  if (text.size() >= bufferSize) text.resize(bufferSize - 1);
  return text;
}

bool SetPrimitiveFromText(asIScriptEngine* engine, int typeId, void* address, const char* text) {
  if (!address || !IsPrimitive(typeId)) return false;
  if (!text) text = "";
  if (typeId == asTYPEID_FLOAT) {
    *static_cast<float*>(address) = static_cast<float>(std::strtod(text, nullptr));
    return true;
  }
  if (typeId == asTYPEID_DOUBLE) {
    *static_cast<double*>(address) = std::strtod(text, nullptr);
    return true;
  }
  if (typeId == asTYPEID_BOOL) {
    static constexpr char kFalse[] = "false";
    bool isFalse = std::strlen(text) == sizeof kFalse - 1;
    for (std::size_t i = 0; isFalse && kFalse[i]; ++i)
      isFalse = std::tolower(static_cast<unsigned char>(text[i])) == kFalse[i];
    *static_cast<bool*>(address) = !isFalse;
    return true;
  }
  std::uint64_t value = typeId == asTYPEID_UINT64
                            ? std::strtoull(text, nullptr, 10)
                            : static_cast<std::uint64_t>(std::strtoll(text, nullptr, 10));
  switch (engine->GetSizeOfPrimitiveType(typeId)) {
    case 1: *static_cast<std::uint8_t*>(address) = static_cast<std::uint8_t>(value); break;
    case 2: *static_cast<std::uint16_t*>(address) = static_cast<std::uint16_t>(value); break;
    case 8: *static_cast<std::uint64_t*>(address) = value; break;
    default: *static_cast<std::uint32_t*>(address) = static_cast<std::uint32_t>(value); break;
  }
  return true;
}

void CopyText(const std::string& text, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return;
  std::size_t n = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}
