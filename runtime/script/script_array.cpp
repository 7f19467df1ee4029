#include "runtime/script/script_array.h"

#include <memory>
#include <new>
#include <string>

#include <scriptarray/scriptarray.h>

#include "runtime/script/script_registrar.h"

namespace {

// A negative count makes an empty array rather than a host exception inside the call.
std::size_t CountOrZero(int count) { return count < 0 ? 0 : static_cast<std::size_t>(count); }

template <class T>
void ConstructVector(std::vector<T>* self) {
  new (self) std::vector<T>();
}
template <class T>
void CopyConstructVector(const std::vector<T>& other, std::vector<T>* self) {
  new (self) std::vector<T>(other);
}
template <class T>
void ConstructVectorSized(int count, std::vector<T>* self) {
  new (self) std::vector<T>(CountOrZero(count));
}
template <class T>
void DestructVector(std::vector<T>* self) {
  std::destroy_at(self);
}

// A null reference after the exception is set is never used: the engine checks first.
template <class T>
T* VectorAt(int index, std::vector<T>& self) {
  if (index >= 0 && static_cast<std::size_t>(index) < self.size()) return &self[index];
  if (asIScriptContext* ctx = asGetActiveContext()) ctx->SetException(kArrayIndexOutOfBounds);
  return nullptr;
}

template <class T>
std::vector<T>& AssignVector(const std::vector<T>& other, std::vector<T>& self) {
  self = other;
  return self;
}
template <class T>
int VectorSize(const std::vector<T>& self) {
  return static_cast<int>(self.size());
}
template <class T>
void VectorResize(int count, std::vector<T>& self) {
  self.resize(CountOrZero(count));
}
template <class T>
void VectorPushBack(const T& value, std::vector<T>& self) {
  self.push_back(value);
}
template <class T>
void VectorPopBack(std::vector<T>& self) {
  if (!self.empty()) self.pop_back();
}

}  // namespace

template <class T>
void RegisterVectorType(const char* typeName, const char* elementName, ScriptRegistrar& reg) {
  const std::string n = typeName;
  const std::string e = elementName;
  auto behaviour = [&](asEBehaviours b, const std::string& decl, const asSFuncPtr& f) {
    reg.ObjectBehaviour(typeName, b, decl.c_str(), f, asCALL_CDECL_OBJLAST);
  };
  auto method = [&](const std::string& decl, const asSFuncPtr& f) {
    reg.ObjectMethod(typeName, decl.c_str(), f, asCALL_CDECL_OBJLAST);
  };
  reg.ObjectType(typeName, sizeof(std::vector<T>), asOBJ_VALUE | asOBJ_APP_CLASS_CDAK);
  behaviour(asBEHAVE_CONSTRUCT, "void f()", asFUNCTION(ConstructVector<T>));
  behaviour(asBEHAVE_DESTRUCT, "void f()", asFUNCTION(DestructVector<T>));
  behaviour(asBEHAVE_CONSTRUCT, "void f(" + n + "&in)", asFUNCTION(CopyConstructVector<T>));
  // explicit: a count is no implicit conversion to an array.
  behaviour(asBEHAVE_CONSTRUCT, "void f(int) explicit", asFUNCTION(ConstructVectorSized<T>));
  method(e + "& opIndex(int)", asFUNCTION(VectorAt<T>));
  method("const " + e + "& opIndex(int) const", asFUNCTION(VectorAt<T>));
  method(n + "& opAssign(const " + n + "&in)", asFUNCTION(AssignVector<T>));
  method("int size() const", asFUNCTION(VectorSize<T>));
  method("void resize(int)", asFUNCTION(VectorResize<T>));
  method("void push_back(" + e + "&in)", asFUNCTION(VectorPushBack<T>));
  method("void pop_back()", asFUNCTION(VectorPopBack<T>));
}

template void RegisterVectorType<std::uint8_t>(const char*, const char*, ScriptRegistrar&);
template void RegisterVectorType<std::int8_t>(const char*, const char*, ScriptRegistrar&);
template void RegisterVectorType<std::int32_t>(const char*, const char*, ScriptRegistrar&);

void RegisterScriptArrays(ScriptRegistrar& reg) {
  asIScriptEngine* engine = reg.Engine();
  // The add-on reports nothing itself; the default array id shows that it took.
  RegisterScriptArray(engine, true);
  reg.Check(engine->GetDefaultArrayTypeId(), "RegisterScriptArray", "array<T>");
  RegisterVectorType<std::uint8_t>("uint8[]", "uint8", reg);
  RegisterVectorType<std::int8_t>("int8[]", "int8", reg);
  RegisterVectorType<std::int32_t>("int[]", "int", reg);
}
