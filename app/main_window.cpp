#include "app/main_window.h"

#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <memory>

#include "platform/base/own_module.h"
#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/message_pump.h"
#include "app/program_features.h"
#include "app/program_image.h"
#include "app/main_dialog.h"
#include "app/program_service_host.h"
#include "app/resource.h"
#include "app/tray_menu.h"
#include "runtime/device/device_record.h"
#include "runtime/functions/saved_clipboard.h"
#include "runtime/service/device_thread.h"
#include "ui/script_editor/script_editor_window.h"

namespace {

struct MainProgram {
  HINSTANCE instance = nullptr;
  std::atomic<HWND> mainDialog{nullptr};
  char title[100] = "";
  char windowClass[100] = "";
  HICON smallIcon = nullptr;
  HMENU trayMenu = nullptr;
  std::uint32_t clientModeValue = 0;
  std::atomic<HWND> modelessDialog{nullptr};
  bool deviceThreadStuck = false;
};

MainProgram& Program() {
  static MainProgram program;
  return program;
}

constexpr int kTrayTries = 5;

bool AddTrayIcon(HWND hwnd, HICON icon) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_STATE | NIF_INFO;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  std::snprintf(data.szTip, sizeof data.szTip, "%s", "Lococab ORVX");
  for (int attempt = 0; attempt < kTrayTries; ++attempt) {
    if (Shell_NotifyIconA(NIM_ADD, &data)) return true;
    Sleep(100);
  }
  return false;
}

void RemoveTrayIcon(HWND hwnd) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = hwnd;
  data.uID = 0;
  Shell_NotifyIconA(NIM_DELETE, &data);
}

}  // namespace

// A host may call these before anything else of the program has run.
extern "C" __declspec(dllexport) HWND GetOrvaneHWND() {
  if (!PrepareProgramImage()) return nullptr;
  AfterProgramImageReady();
  return Program().mainDialog;
}
extern "C" __declspec(dllexport) HINSTANCE GetHInstOrvane() {
  if (!PrepareProgramImage()) return nullptr;
  AfterProgramImageReady();
  return Program().instance;
}

void SetOrvaneInstance(HINSTANCE instance) { Program().instance = instance; }

std::uint32_t ReadClientModeValue() {
  return ReadMachineDword(kOrvaneRegistryKey, "Client Mode").value_or(0);
}
void SetClientModeValue(std::uint32_t value) { Program().clientModeValue = value; }

HWND GetCurrentModelessDialog() { return Program().modelessDialog; }
void SetCurrentModelessDialog(HWND dialog) { Program().modelessDialog = dialog; }

bool DeviceThreadOutlivedTheLoop() { return Program().deviceThreadStuck; }

int RunMainLoop(bool programmingAllowed, HostProcess& hostProcess) {
  MainProgram& p = Program();
  // Before any file dialog can move the current directory.
  CaptureClipboardFolder();
  HINSTANCE instance = p.instance ? p.instance : OwnModule();
  LoadStringA(instance, IDS_TITLE, p.title, sizeof p.title);
  LoadStringA(instance, IDS_WINDOW_CLASS, p.windowClass, sizeof p.windowClass);
  LoadLibraryA("Riched20.dll");
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  p.smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ORVANE), IMAGE_ICON, 16, 16, 0));
  MainDialog::RegisterDialogClass(instance, p.windowClass, p.smallIcon);
  if (!p.trayMenu) p.trayMenu = CreatePopupMenu();
  // The one platform every piece of the program is handed.
  SystemCalls& calls = GetSystemCalls();
  MainDialogController controller(calls, programmingAllowed);
  auto main = std::make_unique<MainDialog>(controller, calls, p.trayMenu);
  if (!main->Open()) {
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
  }
  const HWND dialog = main->hwnd();
  p.mainDialog = dialog;

  AddTrayIcon(dialog, p.smallIcon);  // the program runs on without an icon
  SetProgramMacroDefaults();
  auto features = std::make_unique<ProgramFeatures>();
  auto host = std::make_unique<ProgramServiceHost>(calls, *features);
  auto service = std::make_unique<DeviceService>(*host, calls, hostProcess);
  service->Start(dialog, programmingAllowed);  // the handle is not kept

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  main->JoinClipboardChain();

  // Each message goes to the accelerators first, then to the current modeless dialog, and is
  // translated and dispatched when neither took it.
  wingui::MessagePump& pump = wingui::MessagePump::ForThisThread();
  const auto acceleratorHook = pump.AddHook([accelerators](MSG& msg) {
    return accelerators && TranslateAcceleratorA(msg.hwnd, accelerators, &msg);
  });
  const auto modelessHook = pump.AddHook([](MSG& msg) {
    const HWND modeless = GetCurrentModelessDialog();
    return modeless && IsDialogMessageA(modeless, &msg);
  });
  const int exitCode = pump.Run();

  const bool stopped = service->Stop();
  RemoveTrayIcon(dialog);
  p.mainDialog = nullptr;
  if (!stopped) {
    // The device thread still uses the engine, the devices and the service with its host:
    // ending the process here is the one shut-down that does not pull them from under it.
    p.deviceThreadStuck = true;
    service.release();
    host.release();
    features.release();
    return exitCode;
  }
  Gdiplus::GdiplusShutdown(gdiplusToken);
  return exitCode;
}
