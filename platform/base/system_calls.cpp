#include "platform/base/system_calls.h"

namespace {
SystemCalls& Calls() {
  static SystemCalls calls;
  return calls;
}
}  // namespace

const SystemCalls& GetSystemCalls() { return Calls(); }
void SetSystemCalls(const SystemCalls& calls) { Calls() = calls; }
