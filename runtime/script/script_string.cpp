#include "runtime/script/script_string.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <sstream>
#include <string_view>

#include "runtime/script/script_registrar.h"

namespace {

template <class T>
std::string StreamText(T value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

// A constant's string holds its bytes up to the first zero byte.
class ScriptStringFactory final : public asIStringFactory {
 public:
  const void* GetStringConstant(const char* data, asUINT length) override {
    std::string_view bytes(data, length);
    return new (std::nothrow) std::string(bytes.substr(0, bytes.find('\0')));
  }
  int ReleaseStringConstant(const void* str) override {
    if (!str) return asERROR;
    delete static_cast<const std::string*>(str);
    return asSUCCESS;
  }
  int GetRawStringData(const void* str, char* data, asUINT* length) const override {
    if (!str) return asERROR;
    const auto& s = *static_cast<const std::string*>(str);
    if (length) *length = static_cast<asUINT>(s.size());
    if (data) std::memcpy(data, s.data(), s.size());
    return asSUCCESS;
  }
};

asIStringFactory* StringFactory() {
  static ScriptStringFactory factory;
  return &factory;
}

void ConstructString(std::string* self) { new (self) std::string(); }
void DestructString(std::string* self) { std::destroy_at(self); }

bool StringEquals(const std::string& self, const std::string& other) { return self == other; }
int StringCompare(const std::string& self, const std::string& other) {
  return CompareScriptStrings(self, other);
}
std::string StringAdd(const std::string& self, const std::string& other) { return self + other; }

void StringResize(asUINT size, asUINT val, std::string& self) {
  self.resize(size, static_cast<char>(val & 0xFF));
}

template <class T>
std::string& AssignValue(T value, std::string& self) {
  self = ScriptValueText(value);
  return self;
}
template <class T>
std::string& AppendValue(T value, std::string& self) {
  self += ScriptValueText(value);
  return self;
}
template <class T>
std::string AddValue(const std::string& self, T value) {
  return self + ScriptValueText(value);
}
template <class T>
std::string AddValueFirst(T value, const std::string& self) {
  return ScriptValueText(value) + self;
}

// Rows for one number type: assign, append, string + value, value + string.
template <class T>
void RegisterValueForms(ScriptRegistrar& reg, const std::string& type) {
  reg.ObjectMethod("string", ("string &opAssign(" + type + ")").c_str(),
                   asFUNCTION(AssignValue<T>), asCALL_CDECL_OBJLAST);
  reg.ObjectMethod("string", ("string &opAddAssign(" + type + ")").c_str(),
                   asFUNCTION(AppendValue<T>), asCALL_CDECL_OBJLAST);
  reg.ObjectMethod("string", ("string opAdd(" + type + ") const").c_str(),
                   asFUNCTION(AddValue<T>), asCALL_CDECL_OBJFIRST);
  reg.ObjectMethod("string", ("string opAdd_r(" + type + ") const").c_str(),
                   asFUNCTION(AddValueFirst<T>), asCALL_CDECL_OBJLAST);
}

}  // namespace

std::string ScriptValueText(double value) { return StreamText(value); }
std::string ScriptValueText(std::int32_t value) { return StreamText(value); }
std::string ScriptValueText(std::uint32_t value) { return StreamText(value); }

int CompareScriptStrings(const std::string& a, const std::string& b) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (pa[i] != pb[i]) return pa[i] < pb[i] ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void RegisterScriptString(ScriptRegistrar& reg) {
  // std::string has a destructor and copy constructor, so the engine passes it by hidden
  // reference in native calls.
  reg.ObjectType("string", sizeof(std::string), asOBJ_VALUE | asOBJ_APP_CLASS_CDAK);
  reg.StringFactory("string", StringFactory());
  reg.ObjectBehaviour("string", asBEHAVE_CONSTRUCT, "void f()", asFUNCTION(ConstructString),
                      asCALL_CDECL_OBJLAST);
  reg.ObjectBehaviour("string", asBEHAVE_DESTRUCT, "void f()", asFUNCTION(DestructString),
                      asCALL_CDECL_OBJLAST);
  reg.ObjectMethod("string", "string &opAssign(const string &in)",
                   asMETHODPR(std::string, operator=, (const std::string&), std::string&),
                   asCALL_THISCALL);
  reg.ObjectMethod("string", "string &opAddAssign(const string &in)",
                   asMETHODPR(std::string, operator+=, (const std::string&), std::string&),
                   asCALL_THISCALL);
  // == and != use opEquals; <, <=, > and >= use opCmp.
  reg.ObjectMethod("string", "bool opEquals(const string &in) const", asFUNCTION(StringEquals),
                   asCALL_CDECL_OBJFIRST);
  reg.ObjectMethod("string", "int opCmp(const string &in) const", asFUNCTION(StringCompare),
                   asCALL_CDECL_OBJFIRST);
  reg.ObjectMethod("string", "string opAdd(const string &in) const", asFUNCTION(StringAdd),
                   asCALL_CDECL_OBJFIRST);
  reg.ObjectMethod("string", "uint length() const",
                   asMETHODPR(std::string, length, () const, std::size_t), asCALL_THISCALL);
  // const, so that they work on constants and on `const string &in` parameters.
  reg.ObjectMethod("string", "uint find(const string &in,const uint offset) const",
                   asMETHODPR(std::string, find, (const std::string&, std::size_t) const,
                              std::size_t),
                   asCALL_THISCALL);
  reg.ObjectMethod("string", "uint rfind(const string &in,const uint offset) const",
                   asMETHODPR(std::string, rfind, (const std::string&, std::size_t) const,
                              std::size_t),
                   asCALL_THISCALL);
  reg.ObjectMethod("string", "void resize(const uint size,const uint val)",
                   asFUNCTION(StringResize), asCALL_CDECL_OBJLAST);
  RegisterValueForms<double>(reg, "double");
  RegisterValueForms<std::int32_t>(reg, "int");
  RegisterValueForms<std::uint32_t>(reg, "uint");
  // bits is a typedef of uint, so its forms are the uint ones above.
}
