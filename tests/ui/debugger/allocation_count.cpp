#include "tests/ui/debugger/allocation_count.h"

#include <angelscript.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};

void* CountedScriptAlloc(size_t size) {
  ++allocations;
  return std::malloc(size);
}

// The script library takes its memory through functions of its own: they are counted too, set
// before any engine is made.
const bool kScriptMemoryCounted = asSetGlobalMemoryFunctions(CountedScriptAlloc, std::free) >= 0;
}  // namespace

long AllocationCount() { return kScriptMemoryCounted ? allocations.load() : -1; }

// In a file of its own: inlined beside its callers, the compiler would take the free() for a
// mismatch with their new.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
