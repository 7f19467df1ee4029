#pragma once
// The clock and the summary line of the benchmarks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace testsupport {

// Milliseconds of the high-resolution counter.
inline double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// "<what> median ... ms, 99th percentile ... ms, max ... ms over N runs".
inline void ReportTimes(const char* what, std::vector<double> ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  const auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<std::size_t>(q * ms.size()))]; };
  std::printf("%-22s median %7.2f ms, 99th percentile %7.2f ms, max %7.2f ms over %zu runs\n", what, at(0.5),
              at(0.99), ms.back(), ms.size());
}

}  // namespace testsupport
