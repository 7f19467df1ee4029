#include "macros/model/macro_hooks.h"

namespace {

MacroModelHooks& Hooks() {
  static MacroModelHooks hooks;
  return hooks;
}

}  // namespace

void SetMacroModelHooks(const MacroModelHooks& hooks) { Hooks() = hooks; }
const MacroModelHooks& GetMacroModelHooks() { return Hooks(); }
