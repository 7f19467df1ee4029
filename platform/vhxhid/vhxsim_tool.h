#pragma once
#include <string>
#include <vector>

#include "platform/vhxhid/vhxsim_control.h"

namespace vhx {

// One vhxsim command (args without the program name) on an open simulation. Returns the exit
// code: 0 done, 1 failed, 2 bad usage; what it prints goes to out and err.
int RunSimCommand(const std::vector<std::string>& args, VhxSim* sim, std::string& out,
                  std::string& err);

extern const char kVhxsimUsage[];

}  // namespace vhx
