#include "runtime/script/debug_context.h"

#include <cstring>
#include <memory>

#include "runtime/script/debug_engine.h"
#include "runtime/script/script_value_text.h"

namespace {

// The library context's user-data slot that points back at its wrapper.
constexpr asPWORD kWrapperUserData = 0x4F445843;  // "ODXC"

// The library makes a new text for every declaration asked for: a function's texts are made
// once, kept in its user data until the library frees it, so a key press allocates nothing.
constexpr asPWORD kTextsUserData = 0x4F445854;  // "ODXT"

struct FunctionTexts {
  std::string module;
  std::string declaration;  // namespace and parameter names included
  std::string callText;     // as the build callback gets it
};

const char* FullDeclaration(asIScriptFunction* function) {
  return function->GetDeclaration(true, true, true);
}

const FunctionTexts& TextsOf(asIScriptFunction* function) {
  if (auto* texts = static_cast<FunctionTexts*>(function->GetUserData(kTextsUserData))) return *texts;
  auto texts = std::make_unique<FunctionTexts>();
  texts->module = function->GetModuleName() ? function->GetModuleName() : "";
  texts->declaration = FullDeclaration(function);
  texts->callText = function->GetDeclaration();
  function->SetUserData(texts.get(), kTextsUserData);
  return *texts.release();
}

void FreeTexts(asIScriptFunction* function) {
  std::unique_ptr<FunctionTexts>(static_cast<FunctionTexts*>(function->GetUserData(kTextsUserData)));
}

}  // namespace

asCDebugContext::asCDebugContext(asCDebugScriptEngine* engine, asIScriptContext* library)
    : engine_(engine), library_(library) {
  arguments_.reserve(10);
  library_->SetUserData(this, kWrapperUserData);
}

asCDebugContext::~asCDebugContext() {
  library_->SetUserData(nullptr, kWrapperUserData);
  library_->Release();
}

void asCDebugContext::KeepFunctionTexts(asIScriptEngine* library) {
  library->SetFunctionUserDataCleanupCallback(FreeTexts, kTextsUserData);
}

asCDebugContext* asCDebugContext::FromLibrary(asIScriptContext* context) {
  return context ? static_cast<asCDebugContext*>(context->GetUserData(kWrapperUserData)) : nullptr;
}

int asCDebugContext::Prepare(int functionId) {
  return Prepare(engine_->Library()->GetFunctionById(functionId));
}

int asCDebugContext::Prepare(asIScriptFunction* function) {
  if (!function) return asNO_FUNCTION;
  // A context that holds a call refuses: that call keeps its record, for its replay.
  const int r = library_->Prepare(function);
  if (r < 0) return r;
  arguments_.clear();
  functionId_ = function->GetId();
  // Assigned into the kept strings: their room is reused.
  const FunctionTexts& texts = TextsOf(function);
  module_.assign(texts.module);
  declaration_.assign(texts.declaration);
  callText_.assign(texts.callText);
  return r;
}

int asCDebugContext::SetArgument(const RecordedArgument& a) {
  asUINT arg = static_cast<asUINT>(a.index);
  switch (a.kind) {
    case kValue32: {
      // The library takes only a value of the parameter's own size.
      asIScriptFunction* function = library_->GetFunction(0);
      int typeId = 0;
      asDWORD flags = 0;
      if (function && function->GetParam(arg, &typeId, &flags) >= 0 && flags == asTM_NONE &&
          (typeId & asTYPEID_MASK_OBJECT) == 0) {
        switch (engine_->Library()->GetSizeOfPrimitiveType(typeId)) {
          case 1: return library_->SetArgByte(arg, static_cast<asBYTE>(a.value));
          case 2: return library_->SetArgWord(arg, static_cast<asWORD>(a.value));
          case 8: return library_->SetArgQWord(arg, static_cast<asQWORD>(static_cast<asDWORD>(a.value)));
          default: break;
        }
      }
      return library_->SetArgDWord(arg, static_cast<asDWORD>(a.value));
    }
    case kValue64: return library_->SetArgQWord(arg, a.value);
    case kFloat: {
      float f;
      std::uint32_t bits = static_cast<std::uint32_t>(a.value);
      std::memcpy(&f, &bits, sizeof f);
      return library_->SetArgFloat(arg, f);
    }
    case kDouble: {
      double d;
      std::memcpy(&d, &a.value, sizeof d);
      return library_->SetArgDouble(arg, d);
    }
    default:
      return library_->SetArgObject(arg, reinterpret_cast<void*>(static_cast<std::uintptr_t>(a.value)));
  }
}

int asCDebugContext::SetArgDWord(asUINT arg, asDWORD value) {
  arguments_.push_back({kValue32, static_cast<int>(arg), value});
  return SetArgument(arguments_.back());
}

int asCDebugContext::SetArgQWord(asUINT arg, asQWORD value) {
  arguments_.push_back({kValue64, static_cast<int>(arg), value});
  return SetArgument(arguments_.back());
}

int asCDebugContext::SetArgFloat(asUINT arg, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  arguments_.push_back({kFloat, static_cast<int>(arg), bits});
  return SetArgument(arguments_.back());
}

int asCDebugContext::SetArgDouble(asUINT arg, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  arguments_.push_back({kDouble, static_cast<int>(arg), bits});
  return SetArgument(arguments_.back());
}

int asCDebugContext::SetArgObject(asUINT arg, void* object) {
  arguments_.push_back({kObject, static_cast<int>(arg), reinterpret_cast<std::uintptr_t>(object)});
  return SetArgument(arguments_.back());
}

int asCDebugContext::Execute() {
  if (engine_->BuildCallback() && !declaration_.empty())
    return engine_->BuildCallback()(engine_, this, callText_.c_str());
  return library_->Execute();
}

int asCDebugContext::RunPrepared() { return library_->Execute(); }

int asCDebugContext::ReplayPrepare(asCDebugScriptEngine* engine) {
  if (engine && engine != engine_) return asINVALID_ARG;
  asIScriptModule* module = engine_->Library()->GetModule(module_.c_str(), asGM_ONLY_IF_EXISTS);
  asIScriptFunction* function = nullptr;
  for (asUINT i = 0; module && !function && i < module->GetFunctionCount(); ++i) {
    asIScriptFunction* f = module->GetFunctionByIndex(i);
    if (declaration_ == FullDeclaration(f)) function = f;
  }
  if (!function) return asNO_FUNCTION;
  functionId_ = function->GetId();
  int r = library_->Prepare(function);
  for (const RecordedArgument& a : arguments_) {
    if (r < 0) break;
    r = SetArgument(a);
  }
  return r < 0 ? r : asSUCCESS;
}

void asCDebugContext::Detach() {
  if (library_->GetState() == asEXECUTION_ACTIVE || library_->GetState() == asEXECUTION_SUSPENDED)
    library_->Abort();
  library_->Unprepare();
}

int asCDebugContext::LineId(asIScriptFunction* function, int line, const char* section) const {
  if (!function || line < 0) return line;
  int slot = engine_->FindSection(function->GetModuleName(), section);
  return slot < 0 ? line : (slot << asCDebugScriptEngine::kSlotShift) | line;
}

int asCDebugContext::GetLineNumber(asUINT stackLevel, int* column, const char** section) {
  const char* name = nullptr;
  int line = library_->GetLineNumber(stackLevel, column, &name);
  if (section) *section = name;
  return LineId(library_->GetFunction(stackLevel), line, name);
}

int asCDebugContext::GetExceptionLineNumber(int* column, const char** section) {
  const char* name = nullptr;
  int line = library_->GetExceptionLineNumber(column, &name);
  if (section) *section = name;
  return LineId(library_->GetExceptionFunction(), line, name);
}

int asCDebugContext::CurrentModuleIndex() {
  asIScriptFunction* function = library_->GetFunction(0);
  return function ? engine_->FindModule(function->GetModuleName()) : -1;
}

void asCDebugContext::OnLine(asIScriptContext*, void* self) {
  auto* wrapper = static_cast<asCDebugContext*>(self);
  if (wrapper->lineCallback_) wrapper->lineCallback_(wrapper, wrapper->lineParam_);
}

void asCDebugContext::SetLineCallback(DebugLineCallback callback, void* param) {
  lineCallback_ = callback;
  lineParam_ = param;
  library_->SetLineCallback(asFUNCTION(OnLine), this, asCALL_CDECL);
}

void asCDebugContext::ClearLineCallback() {
  library_->ClearLineCallback();
  lineCallback_ = nullptr;
  lineParam_ = nullptr;
}

bool asCDebugContext::HasLocal(int index) const {
  // A finished call keeps its function but no longer has its variables.
  asEContextState state = library_->GetState();
  if (state != asEXECUTION_ACTIVE && state != asEXECUTION_SUSPENDED && state != asEXECUTION_EXCEPTION)
    return false;
  return library_->GetCallstackSize() > 0 && index >= 0 && index < library_->GetVarCount(0);
}

int asCDebugContext::GetVarAsText(int index, char* nameOut, std::size_t nameLength, char* typeOut,
                                  std::size_t typeLength, char* valueOut, std::size_t valueLength) {
  if (!HasLocal(index)) return 0;
  asUINT i = static_cast<asUINT>(index);
  std::string name = library_->GetVarName(i, 0) ? library_->GetVarName(i, 0) : "";
  std::string type = library_->GetVarDeclaration(i, 0) ? library_->GetVarDeclaration(i, 0) : "";
  // The declaration ends in " name"; the type is what comes before it.
  if (!name.empty() && type.size() > name.size() &&
      type.compare(type.size() - name.size(), name.size(), name) == 0) {
    type.resize(type.size() - name.size());
    while (!type.empty() && type.back() == ' ') type.pop_back();
  }
  CopyText(name, nameOut, nameLength);
  CopyText(type, typeOut, typeLength);

  asIScriptEngine* engine = engine_->Library();
  int typeId = library_->GetVarTypeId(i, 0);
  void* address = library_->GetAddressOfVar(i, 0);
  if ((typeId & asTYPEID_MASK_OBJECT) && !IsScriptStringType(engine, typeId)) {
    void* object = address && (typeId & asTYPEID_OBJHANDLE) ? *static_cast<void**>(address) : address;
    if (object) {
      if (valueOut && valueLength >= sizeof object) std::memcpy(valueOut, &object, sizeof object);
      return 2;
    }
  }
  CopyText(ScriptValueText(engine, typeId, address, ValueTextUse::Local, valueLength), valueOut,
           valueLength);
  return 1;
}

bool asCDebugContext::SetVarFromText(int index, const char* text) {
  if (!HasLocal(index)) return false;
  asUINT i = static_cast<asUINT>(index);
  return SetPrimitiveFromText(engine_->Library(), library_->GetVarTypeId(i, 0),
                              library_->GetAddressOfVar(i, 0), text);
}
