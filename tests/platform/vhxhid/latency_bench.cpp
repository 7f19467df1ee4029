// Latency of a simulated report: from the controller API queuing it (in this process) to a
// second process, waiting on the device's read event through VHXHID.dll, returning from the
// wait and holding the report. Run by hand: vhxhid_latency [reports] (default 10000).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/vhxhid/vhxhid.h"
#include "platform/vhxhid/vhxsim_control.h"

namespace {

int64_t Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

std::string AckName(DWORD controllerPid) {
  return "VHXHID.latency." + std::to_string(controllerPid) + ".ack";
}

// The program side: waits on the read event, reads, acknowledges.
int Reader(int reports, DWORD controllerPid) {
  HANDLE ack = OpenEventA(EVENT_MODIFY_STATE, FALSE, AckName(controllerPid).c_str());
  VhxEntry entries[VHX_MAX_ENTRIES];
  int count = 0;
  void* read = nullptr;
  void* removal = nullptr;
  if (!ack || VhxEnumerate(0x0A7C, entries, &count) != VHX_OK || count != 1 ||
      VhxSetUpInterface(entries[0].handle, &read, &removal) != VHX_OK) {
    std::fprintf(stderr, "reader: no simulated device\n");
    return 1;
  }
  int handle = entries[0].handle;
  std::vector<uint8_t> report(VhxGetInputLength(handle));
  std::vector<double> micros;
  micros.reserve(reports);
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  SetEvent(ack);  // ready
  while (static_cast<int>(micros.size()) < reports) {
    if (WaitForSingleObject(read, 5000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "reader: no report after %zu\n", micros.size());
      return 1;
    }
    while (VhxReadReport(handle, report.data()) == VHX_OK) {
      int64_t end = Now();
      int64_t queued;
      std::memcpy(&queued, report.data() + 1, sizeof queued);
      micros.push_back(static_cast<double>(end - queued) * 1e6 / static_cast<double>(freq.QuadPart));
      SetEvent(ack);
    }
  }
  std::sort(micros.begin(), micros.end());
  auto at = [&](double q) { return micros[std::min(micros.size() - 1, size_t(q * micros.size()))]; };
  std::printf("reports %zu: median %.1f us, 90th %.1f us, 99th %.1f us, max %.1f us\n",
              micros.size(), at(0.5), at(0.9), at(0.99), micros.back());
  return 0;
}

// The controller side: one report at a time, each after the previous one was read.
int Controller(int reports, const char* self) {
  // One name for every run: the simulation's file stays small in number.
  std::string simName = "vhxhid-latency";
  SetEnvironmentVariableA("VHXHID_SIM", simName.c_str());
  VhxSim* sim = VhxSimOpen(simName.c_str());
  if (!sim) return 1;
  VhxSimReset(sim);
  VhxSimDeviceSpec spec;
  VhxSimDefaultSpec(&spec);
  spec.inputLength = 16;
  int id = VhxSimAddDevice(sim, &spec);
  HANDLE ack = CreateEventA(nullptr, FALSE, FALSE, AckName(GetCurrentProcessId()).c_str());

  std::string cmd = "\"" + std::string(self) + "\" --reader " + std::to_string(reports) + " " +
                    std::to_string(GetCurrentProcessId());
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (id <= 0 || !ack ||
      !CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "controller: set-up failed\n");
    return 1;
  }
  int result = 0;
  if (WaitForSingleObject(ack, 30000) != WAIT_OBJECT_0) result = 1;
  uint8_t report[16] = {};
  for (int i = 0; i < reports && result == 0; ++i) {
    int64_t queued = Now();
    std::memcpy(report + 1, &queued, sizeof queued);
    if (VhxSimQueueInput(sim, id, report, sizeof report) != VHXSIM_OK ||
        WaitForSingleObject(ack, 5000) != WAIT_OBJECT_0)
      result = 1;
  }
  WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  VhxSimReset(sim);
  VhxSimClose(sim);
  return result != 0 ? result : static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--reader") == 0)
    return Reader(std::atoi(argv[2]), static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
  int reports = argc > 1 ? std::atoi(argv[1]) : 10000;
  if (reports <= 0) reports = 10000;
  return Controller(reports, argv[0]);
}
