// vhxsim: drives the simulated VHXHID devices from the command line.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/vhxhid/vhxsim_tool.h"

int main(int argc, char** argv) {
  // Plain "\n" line ends: scripts on either side of Wine read the output.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string name;
  if (args.size() >= 2 && args[0] == "--sim") {
    name = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  VhxSim* sim = VhxSimOpen(name.empty() ? nullptr : name.c_str());
  if (!sim) {
    std::fputs("vhxsim: cannot open the simulation (set VHXHID_SIM or give --sim NAME)\n", stderr);
    return 2;
  }
  std::string out, err;
  int code = vhx::RunSimCommand(args, sim, out, err);
  VhxSimClose(sim);
  std::fputs(out.c_str(), stdout);
  std::fputs(err.c_str(), stderr);
  return code;
}
