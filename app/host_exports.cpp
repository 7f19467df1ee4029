// The exports for host processes: thin shells over the program's start-up and loop and the
// device layer's host claims, each making the program's image ready first.
#include "app/host_exports.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/base/own_module.h"
#include "app/main_window.h"
#include "app/program_image.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/host_interface.h"

static_assert(std::is_same_v<OXHostCallback, HostCallback>);

namespace {

// Committed at first; the thread's reserve is the host process's default.
constexpr SIZE_T kMainThreadStack = 2048;

std::atomic<bool> launched{false};

// What the program's thread is started with.
struct Launch {
  bool allowProgramming = false;
  OXHostCallback callback = nullptr;
};

// The program's folders from its own file: the command line is the host's.
void InitFoldersFromOwnFile() {
  char file[MAX_PATH];
  const DWORD n = GetModuleFileNameA(OwnModule(), file, sizeof file);
  const bool whole = n > 0 && n < sizeof file;
  InitProgramFolders(whole ? "\"" + std::string(file, n) + "\"" : std::string());
}

DWORD WINAPI MainThread(LPVOID start) {
  const std::unique_ptr<Launch> launch(static_cast<Launch*>(start));
  auto host = std::make_unique<CallbackHost>(launch->callback);
  const int result = RunMainLoop(launch->allowProgramming, *host);
  // A device thread stuck in a modal wait still uses the engine, the devices and the host: no
  // second program may start beside it.
  if (DeviceThreadOutlivedTheLoop())
    host.release();
  else
    launched = false;
  return static_cast<DWORD>(result);
}

}  // namespace

extern "C" __declspec(dllexport) int __cdecl OXLaunchMainThread(bool allowProgramming,
                                                                 OXHostCallback callback,
                                                                 char* dataRoot) {
  if (!PrepareProgramImage()) return 0;
  AfterProgramImageReady();
  // One program per process: a second loop would share the device thread and the engine.
  bool expected = false;
  if (GetOrvaneHWND() || !launched.compare_exchange_strong(expected, true)) return 0;
  try {
    SetOrvaneInstance(OwnModule());
    InitFoldersFromOwnFile();
    if (dataRoot) SetDataRootFromHost(dataRoot);
    auto launch = std::make_unique<Launch>(Launch{allowProgramming, callback});
    HANDLE thread = CreateThread(nullptr, kMainThreadStack, MainThread, launch.get(), 0, nullptr);
    if (thread)
      launch.release();  // the thread's now
    else
      launched = false;
    return static_cast<int>(reinterpret_cast<INT_PTR>(thread));
  } catch (...) {  // nothing is thrown into the host
    launched = false;
    return 0;
  }
}

extern "C" __declspec(dllexport) int __cdecl OXRegisterDevice(int hostId, int vendorId,
                                                               int productId, int index) {
  if (!PrepareProgramImage()) return -1;
  AfterProgramImageReady();
  try {
    AddHostDeviceClaim(hostId, vendorId, productId, index);
    return 0;
  } catch (...) {
    return -1;
  }
}

extern "C" __declspec(dllexport) int __cdecl OXWriteToDevice(int hostId, unsigned char* report,
                                                              int length) {
  if (!PrepareProgramImage()) return kNoHostDevice;
  AfterProgramImageReady();
  try {
    return WriteToHostDevice(hostId, report, length);
  } catch (...) {
    return kNoHostDevice;
  }
}
