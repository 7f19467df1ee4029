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
    "      [--switch-pid P2] [--model M]      adds a device, prints its id (models: 0 plain,\n"
    "                                         1 scripted replies, 2 keypad, 3 cab controller)\n"
    "  add-cab [options of add]               adds a cab controller (pid 0x00D2, usage page\n"
    "                                         0x000C, 16-byte report), prints its id\n"
    "  byte ID INDEX VALUE                    sets one byte of a cab controller's held\n"
    "                                         report (a lever or switch), which it reports\n"
    "  remove ID                              the device leaves\n"
    "  input ID HEXBYTES                      queues one input report (e.g. 0000ff10)\n"
    "  outputs ID                             prints the output reports written since the\n"
    "                                         last call, one hex line each, oldest first\n"
    "  list                                   one line per device (inputs: reports\n"
    "                                         queued, dropped: pushed out of a full queue,\n"
    "                                         held: a cab controller's report)\n"
    "  fail-writes ID on|off                  makes the host's writes fail\n"
    "  fail-reads ID on|off                   makes the host's reads fail\n"
    "  setup-error ID N                       the host's set-ups of the device return N\n"
    "  sampling-error ID N                    its starts of sampling return N\n"
    "  enumerate-error [N]                    the host's enumerations return N (0: none);\n"
    "                                         without N prints the number in force\n"
    "  reset                                  removes every device and failure\n";

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
    case VHXSIM_ERR_SPEC: return "invalid device description, or not a device of that model";
    default: return "failed (" + std::to_string(code) + ")";
  }
}

std::string Hex4(int v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(v));
  return text;
}

int Add(const std::vector<std::string>& args, VhxSim* sim, std::string& out, std::string& err) {
  const bool cab = args[0] == "add-cab";
  VhxSimDeviceSpec spec;
  if (cab)
    VhxSimCabSpec(&spec);
  else
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
      err += args[0] + ": bad option or value: " + args[i] + "\n";
      return 2;
    }
    havePid = havePid || args[i] == "--pid";
  }
  if (!havePid && !cab) {
    err += "add: --pid is required\n";
    return 2;
  }
  int id = VhxSimAddDevice(sim, &spec);
  if (id <= 0) {
    err += args[0] + ": " + ErrorText(id) + "\n";
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
           " fail-writes=" + (d.failWrites ? "on" : "off") +
           " fail-reads=" + (d.failReads ? "on" : "off") +
           " setup-error=" + std::to_string(d.setUpError) +
           " sampling-error=" + std::to_string(d.samplingError);
    if (d.spec.model == VHXSIM_MODEL_CAB) {
      uint8_t held[VHXSIM_MAX_REPORT];
      const int n = VhxSimGetHeldReport(sim, d.id, held, sizeof held);
      if (n >= 0) out += " held=" + FormatHexBytes(held, n);
    }
    out += "\n";
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
  if (command == "add" || command == "add-cab") return Add(args, sim, out, err);
  if (command == "list" && args.size() == 1) return List(sim, out);
  if (command == "reset" && args.size() == 1) return VhxSimReset(sim) == VHXSIM_OK ? 0 : 1;
  if (command == "enumerate-error" && args.size() <= 2) {
    int error = 0;
    if (args.size() == 1) {
      error = VhxSimGetEnumerateError(sim);
      if (error < 0) {
        err += "enumerate-error: the simulation did not answer\n";
        return 1;
      }
      out += std::to_string(error) + "\n";
      return 0;
    }
    if (!ParseNumber(args[1], error)) {
      err += "enumerate-error: N is a number (0: none)\n";
      return 2;
    }
    return VhxSimSetEnumerateError(sim, error) == VHXSIM_OK ? 0 : 1;
  }

  static const std::map<std::string, size_t> withId = {
      {"remove", 2},     {"input", 3},       {"outputs", 2},        {"fail-writes", 3},
      {"fail-reads", 3}, {"setup-error", 3}, {"sampling-error", 3}, {"byte", 4}};
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
  } else if (command == "fail-writes" || command == "fail-reads") {
    if (args[2] != "on" && args[2] != "off") {
      err += command + ": on or off\n";
      return 2;
    }
    const bool on = args[2] == "on";
    result = command == "fail-writes" ? VhxSimSetFailWrites(sim, id, on) : VhxSimSetFailReads(sim, id, on);
  } else if (command == "setup-error" || command == "sampling-error") {
    int error = 0;
    if (!ParseNumber(args[2], error)) {
      err += command + ": N is a number (0: none)\n";
      return 2;
    }
    result = command == "setup-error" ? VhxSimSetSetUpError(sim, id, error) : VhxSimSetSamplingError(sim, id, error);
  } else if (command == "byte") {
    int index = 0, value = 0;
    if (!ParseNumber(args[2], index) || !ParseNumber(args[3], value) || value > 0xFF) {
      err += "byte: INDEX and VALUE are numbers, VALUE 0 to 255\n";
      return 2;
    }
    result = VhxSimSetReportByte(sim, id, index, value);
    if (result == VHXSIM_ERR_LENGTH) {
      err += "byte: INDEX is past the device's report\n";
      return 1;
    }
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
