#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/base/unique_handle.h"
#include "app/main_window.h"
#include "runtime/device/device_folders.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  UniqueHandle mutex(CreateMutexA(nullptr, TRUE, kRunOnceMutexName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (HWND running = FindWindowA(kMainWindowClass, nullptr))
      PostMessageA(running, kSecondInstanceMessage, 0, 0);
    return 0;
  }

  SetOrvaneInstance(instance);
  InitProgramFolders(GetCommandLineA());
  int argc = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    if (argc > 1) SetDataRootFromArg(argv[1]);
    LocalFree(argv);
  }

  const std::uint32_t clientMode = ReadClientModeValue();
  SetClientModeValue(clientMode);
  const int result = RunMainLoop(clientMode != kClientModeValue);
  mutex.reset();
  // Returning would run the program's exit code under the stuck device thread.
  if (DeviceThreadOutlivedTheLoop()) ExitProcess(static_cast<UINT>(result));
  return result;
}
