#pragma once
// The simulation that a *_sim_ test of the calibration program runs on (VHXHID_SIM names it),
// open for the test's length and emptied at the start, and the cab controllers it adds.
// Header-only.

#include "calibration/positions.h"
#include "platform/vhxhid/vhxsim_control.h"

class CabSimulation {
 public:
  CabSimulation() : sim_(VhxSimOpen(nullptr)) {
    if (sim_ && VhxSimReset(sim_) != VHXSIM_OK) Close();
  }
  ~CabSimulation() { Close(); }
  CabSimulation(const CabSimulation&) = delete;
  CabSimulation& operator=(const CabSimulation&) = delete;

  // Null when the simulation could not be opened and emptied.
  VhxSim* get() const { return sim_; }
  // A cab controller plugged in: its id (> 0), or a VHXSIM_ERR_ value.
  int AddCab() {
    VhxSimDeviceSpec spec;
    VhxSimCabSpec(&spec);
    return VhxSimAddDevice(sim_, &spec);
  }
  // The lever of position p moved where its report byte reads v.
  int Move(int cab, int p, int v) { return VhxSimSetReportByte(sim_, cab, cal::Position(p).reportByte, v); }

 private:
  void Close() {
    if (sim_) VhxSimClose(sim_);
    sim_ = nullptr;
  }
  VhxSim* sim_;
};
