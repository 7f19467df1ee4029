#include "runtime/script/script_types.h"

#include "runtime/script/script_array.h"
#include "runtime/script/script_registrar.h"
#include "runtime/script/script_string.h"

void RegisterScriptTypes(ScriptRegistrar& reg) {
  // Scripts and registered functions take `&inout` references to value types (strings and
  // arrays), which the engine allows only with unsafe references on.
  reg.EngineProperty(asEP_ALLOW_UNSAFE_REFERENCES, 1);
  // The engine has no bits types of its own; scripts use them as plain unsigned integers.
  reg.Typedef("bits", "uint");
  reg.Typedef("bits8", "uint8");
  reg.Typedef("bits16", "uint16");
  RegisterScriptString(reg);
  RegisterScriptArrays(reg);
}
