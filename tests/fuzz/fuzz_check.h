#pragma once
// The fuzz targets' invariant check: a failure names its place and aborts, so that libFuzzer
// keeps the input (and the ordinary tests that replay inputs fail).

#include <cstdio>
#include <cstdlib>

inline void Check(bool condition, const char* file = __builtin_FILE(),
                  int line = __builtin_LINE()) {
  if (condition) return;
  std::fprintf(stderr, "check failed: %s:%d\n", file, line);
  std::abort();
}
