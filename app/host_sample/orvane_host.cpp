// OrvaneHost: a small host process of the program, and an example for people who write hosts.
// It loads Orvane.exe as a library, claims a keypad, runs the program on a thread of its own,
// writes one output report to the keypad, prints the input reports it gets instead of the
// keypad's scripts, and ends the program by posting Exit to its main dialog.
//
//   OrvaneHost [program [product [reports [output [dataRoot]]]]]
//     program   Orvane.exe to load (default: the one beside OrvaneHost.exe)
//     product   product id of the keypad to claim, in hex (default 19); the first one attached
//     reports   how many input reports to take before ending (default 2)
//     output    the output report to write, in hex (default 02c1c0000000000000, both LEDs)
//     dataRoot  the alternative data root (default: none)
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/host_exports.h"
#include "app/resource.h"

namespace {

constexpr int kHostId = 1;
constexpr int kVendorId = 0x0A7C;
constexpr int kNoDevice = 101;  // OXWriteToDevice: no bound claim yet

std::atomic<int> reportsWanted{2};
std::atomic<int> reportsTaken{0};
HANDLE enoughReports = nullptr;

std::string Hex(const unsigned char* bytes, int length) {
  std::string hex;
  char two[3];
  for (int i = 0; i < length; ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    hex += two;
  }
  return hex;
}

std::vector<unsigned char> FromHex(const std::string& hex) {
  std::vector<unsigned char> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(
        static_cast<unsigned char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
  return bytes;
}

// Runs on the program's device thread.
int __cdecl OnReport(int hostId, unsigned char* report, int length) {
  if (hostId == -1) {
    std::printf("device list changed\n");
  } else {
    std::printf("report %d: %s\n", hostId, Hex(report, length).c_str());
    if (++reportsTaken == reportsWanted) SetEvent(enoughReports);
  }
  std::fflush(stdout);
  return 0;
}

template <typename Function>
Function Find(HMODULE program, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(program, name)));
}

std::string Beside(const char* name) {
  char file[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, file, sizeof file);
  std::string path(file, n < sizeof file ? n : 0);
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string programFile = argc > 1 ? argv[1] : Beside("Orvane.exe");
  const int productId = argc > 2 ? static_cast<int>(std::strtol(argv[2], nullptr, 16)) : 0x19;
  reportsWanted = argc > 3 ? std::atoi(argv[3]) : 2;
  const std::vector<unsigned char> output = FromHex(argc > 4 ? argv[4] : "02c1c0000000000000");
  char* dataRoot = argc > 5 ? argv[5] : nullptr;
  enoughReports = CreateEventA(nullptr, TRUE, FALSE, nullptr);

  // Orvane.exe stays loaded to the end: its clean-up runs when this process exits.
  HMODULE program = LoadLibraryA(programFile.c_str());
  if (!program) {
    std::fprintf(stderr, "cannot load %s (error %lu)\n", programFile.c_str(), GetLastError());
    return 1;
  }
  auto launch = Find<OXLaunchMainThreadFunction>(program, "OXLaunchMainThread");
  auto claim = Find<OXRegisterDeviceFunction>(program, "OXRegisterDevice");
  auto write = Find<OXWriteToDeviceFunction>(program, "OXWriteToDevice");
  auto mainDialog = Find<GetOrvaneHWNDFunction>(program, "GetOrvaneHWND");
  if (!launch || !claim || !write || !mainDialog) {
    std::fprintf(stderr, "%s lacks the host exports\n", programFile.c_str());
    return 1;
  }

  // Claimed before the program starts: no report of the keypad reaches its scripts.
  claim(kHostId, kVendorId, productId, 1);
  HANDLE thread = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(launch(true, OnReport, dataRoot)));
  if (!thread) {
    std::fprintf(stderr, "the program did not start\n");
    return 1;
  }
  // The main dialog is there once the program's start-up has run on its thread.
  HWND main = nullptr;
  for (int waited = 0; !(main = mainDialog()) && waited < 20000; waited += 10)
    if (WaitForSingleObject(thread, 10) == WAIT_OBJECT_0) break;
  if (!main) {
    std::fprintf(stderr, "the program ended before its main dialog was up\n");
    CloseHandle(thread);
    return 1;
  }
  std::printf("host thread %lu, program thread %lu, main dialog thread %lu\n",
              GetCurrentThreadId(), GetThreadId(thread), GetWindowThreadProcessId(main, nullptr));
  std::fflush(stdout);

  // The claim binds once the program has found the keypad; until then no write finds it.
  std::vector<unsigned char> report = output;
  int written = kNoDevice;
  for (int waited = 0; waited < 20000; waited += 50) {
    written = write(kHostId, report.data(), static_cast<int>(report.size()));
    if (written != kNoDevice) break;
    Sleep(50);
  }
  std::printf("write: %d\n", written);
  std::fflush(stdout);

  const bool enough = WaitForSingleObject(enoughReports, 30000) == WAIT_OBJECT_0;
  PostMessageA(main, WM_COMMAND, IDM_EXIT, 0);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(thread, 30000) == WAIT_OBJECT_0) GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  std::printf("program ended: %lu\n", code);
  return enough && written == 0 && code == 0 ? 0 : 2;
}
