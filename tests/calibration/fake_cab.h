#pragma once
// Cab controllers played by the test: the enumeration and set-up results, and the report each
// read returns (or a failed read). Header-only: shared by the wizard tests.

#include <cstdint>
#include <deque>
#include <vector>

#include "calibration/cab_devices.h"
#include "calibration/positions.h"

class FakeCab : public cal::CabDevices {
 public:
  int Enumerate(int vendorId, std::vector<cal::CabEntry>& out) override {
    ++enumerations;
    lastVendor = vendorId;
    out.clear();
    if (enumerateError) return enumerateError;
    out = entries;
    return 0;
  }
  int SetUp(int handle) override {
    setUps.push_back(handle);
    return setUpError;
  }
  void StartSampling(int handle) override { samplingStarts.push_back(handle); }
  bool ReadLatest(int handle, std::vector<std::uint8_t>& report) override {
    reads.push_back(handle);
    report.assign(16, 0);
    if (!reports.empty()) {
      current = reports.front();
      if (reports.size() > 1) reports.pop_front();
    }
    if (fail || current.empty()) return false;
    for (size_t i = 0; i < current.size() && i < report.size(); ++i) report[i] = current[i];
    return true;
  }

  // One controller as the wizard looks for it.
  void AttachOne(int handle = 0) { entries = {{cal::kCabProductId, 1, cal::kCabUsagePage, handle}}; }
  // Every later read gives this report (byte index -> value), until the next call.
  void Hold(std::vector<std::uint8_t> report) {
    reports.clear();
    reports.push_back(std::move(report));
  }

  std::vector<cal::CabEntry> entries;
  int enumerateError = 0;
  int setUpError = 0;
  bool fail = false;
  std::deque<std::vector<std::uint8_t>> reports;
  std::vector<std::uint8_t> current;
  int enumerations = 0;
  int lastVendor = 0;
  std::vector<int> setUps, samplingStarts, reads;
};
