#include "platform/vhxhid/vhxsim_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/vhxhid/hex_bytes.h"

namespace vhx {

const char kVhxsimUsage[] =
    "usage: vhxsim [--sim NAME] COMMAND   (NAME defaults to the value of VHXHID_SIM)\n"
    "  add --pid P [--vid V] [--version V] [--usage-page U] [--usage N] [--in LEN] [--out LEN]\n"
    "      [--switch-pid P2] [--model M]      adds a device, prints its id\n"
    "  remove ID                              the device leaves\n"
    "  input ID HEXBYTES                      queues one input report (e.g. 0000ff10)\n"
    "  outputs ID                             prints the output reports written since the\n"
    "                                         last call, one hex line each, oldest first\n"
    "  list                                   one line per device (inputs: reports\n"
    "                                         queued, dropped: pushed out of a full queue)\n"
    "  fail-writes ID on|off                  makes the host's writes fail\n"
    "  reset                                  removes every device\n";

namespace {

bool ParseNumber(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || v < 0 || v > 0x7FFFFFFFL) return false;
  value = static_cast<int>(v);
  return true;
}

std::string ErrorText(int code) {
  switch (code) {
    case VHXSIM_ERR_NO_DEVICE: return "no such device";
    case VHXSIM_ERR_TABLE_FULL: return "the simulation has no room for another device";
    case VHXSIM_ERR_LENGTH: return "report longer than the device's report length";
    case VHXSIM_ERR_SPEC: return "invalid device description";
    default: return "failed (" + std::to_string(code) + ")";
  }
}

std::string Hex4(int v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(v));
  return text;
}

int Add(const std::vector<std::string>& args, VhxSim* sim, std::string& out, std::string& err) {
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  const std::map<std::string, int*> options = {
      {"--pid", &spec.productId},       {"--vid", &spec.vendorId},
      {"--version", &spec.version},     {"--usage-page", &spec.usagePage},
      {"--usage", &spec.usage},         {"--in", &spec.inputLength},
      {"--out", &spec.outputLength},    {"--switch-pid", &spec.switchProductId},
      {"--model", &spec.model}};
  bool havePid = false;
  for (size_t i = 1; i < args.size(); i += 2) {
    auto option = options.find(args[i]);
    if (option == options.end() || i + 1 >= args.size() ||
        !ParseNumber(args[i + 1], *option->second)) {
      err += "add: bad option or value: " + args[i] + "\n";
      return 2;
    }
    havePid = havePid || args[i] == "--pid";
  }
  if (!havePid) {
    err += "add: --pid is required\n";
    return 2;
  }
  int id = VhxSimAddDevice(sim, &spec);
  if (id <= 0) {
    err += "add: " + ErrorText(id) + "\n";
    return 1;
  }
  out += std::to_string(id) + "\n";
  return 0;
}

int List(VhxSim* sim, std::string& out) {
  std::vector<VhxSimDeviceInfo> devices(VHXSIM_MAX_DEVICES);
  int n = VhxSimListDevices(sim, devices.data(), static_cast<int>(devices.size()));
  for (int i = 0; i < n && i < static_cast<int>(devices.size()); ++i) {
    const VhxSimDeviceInfo& d = devices[i];
    out += std::to_string(d.id) + " vid=" + Hex4(d.spec.vendorId) + " pid=" +
           Hex4(d.spec.productId) + " version=" + Hex4(d.spec.version) +
           " usage-page=" + std::to_string(d.spec.usagePage) +
           " usage=" + std::to_string(d.spec.usage) + " in=" + std::to_string(d.spec.inputLength) +
           " out=" + std::to_string(d.spec.outputLength) +
           " switch-pid=" + Hex4(d.spec.switchProductId) +
           " model=" + std::to_string(d.spec.model) +
           " inputs=" + std::to_string(d.queuedInputs) +
           " dropped=" + std::to_string(d.droppedInputs) +
           " outputs=" + std::to_string(d.queuedOutputs) +
           " fail-writes=" + (d.failWrites ? "on" : "off") + "\n";
  }
  return 0;
}

}  // namespace

int RunSimCommand(const std::vector<std::string>& args, VhxSim* sim, std::string& out,
                  std::string& err) {
  if (args.empty()) {
    err += kVhxsimUsage;
    return 2;
  }
  const std::string& command = args[0];
  if (command == "add") return Add(args, sim, out, err);
  if (command == "list" && args.size() == 1) return List(sim, out);
  if (command == "reset" && args.size() == 1) return VhxSimReset(sim) == VHXSIM_OK ? 0 : 1;

  static const std::map<std::string, size_t> withId = {
      {"remove", 2}, {"input", 3}, {"outputs", 2}, {"fail-writes", 3}};
  auto shape = withId.find(command);
  int id = 0;
  if (shape == withId.end() || args.size() != shape->second || !ParseNumber(args[1], id) ||
      id == 0) {
    err += kVhxsimUsage;
    return 2;
  }

  int result = VHXSIM_OK;
  if (command == "remove") {
    result = VhxSimRemoveDevice(sim, id);
  } else if (command == "input") {
    std::vector<uint8_t> bytes;
    if (!ParseHexBytes(args[2], bytes) || bytes.empty()) {
      err += "input: bytes must be hex pairs, e.g. 0000ff10\n";
      return 2;
    }
    result = VhxSimQueueInput(sim, id, bytes.data(), static_cast<int>(bytes.size()));
  } else if (command == "fail-writes") {
    if (args[2] != "on" && args[2] != "off") {
      err += "fail-writes: on or off\n";
      return 2;
    }
    result = VhxSimSetFailWrites(sim, id, args[2] == "on");
  } else {  // outputs
    uint8_t report[VHXSIM_MAX_REPORT];
    while ((result = VhxSimTakeOutput(sim, id, report, sizeof report)) > 0)
      out += FormatHexBytes(report, result) + "\n";
  }
  if (result < 0) {
    err += command + ": " + ErrorText(result) + "\n";
    return 1;
  }
  return 0;
}

}  // namespace vhx
