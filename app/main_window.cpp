#include "app/main_window.h"

#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/base/own_module.h"
#include "platform/base/registry_values.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/gdi.h"
#include "platform/wingui/message_pump.h"
#include "app/program_features.h"
#include "app/program_image.h"
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
  HWND nextViewer = nullptr;
  std::uint32_t clientModeValue = 0;
  std::atomic<bool> programmingAllowed{true};  // this loop's mode, known before the thread runs
  std::atomic<int> clipboardCounter{0};
  std::atomic<HWND> modelessDialog{nullptr};
  bool deviceThreadStuck = false;
};

MainProgram& Program() {
  static MainProgram program;
  return program;
}

constexpr int kTrayTries = 5;
constexpr int kScriptLoaderTries = 40;

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

void StoreInvisible(std::uint32_t value) {
  WriteMachineDword(kOrvaneRegistryKey, "Invisible", value);  // a failure is not reported
}

// A second instance asked for the script loader: only in client mode.
void OnSecondInstance() {
  if (Program().programmingAllowed) return;
  for (int attempt = 0; attempt < kScriptLoaderTries; ++attempt) {
    if (RequestCode.load() == kRequestNone) {
      RequestDevice = kNoRequestDevice;  // the loader then offers every device
      RequestCode = kRequestScriptLoader;
      WakeDeviceThreadFor(kNoRequestDevice);  // it sleeps until an event or a deadline
      return;
    }
    GetSystemCalls().Sleep(250);
  }
  GetSystemCalls().ShowMessageBox(
      nullptr, "ORVX was too busy at the moment to run the Script Loader.  Please try again.",
      "Script Loader Unable to Run", BoxButtons::Ok);
}

void OnDrawClipboard(HWND hwnd) {
  MainProgram& p = Program();
  const int counter = ++p.clipboardCounter;
  UINT format = 0;
  char name[128] = "";
  if (const auto clipboard = GetSystemCalls().OpenClipboardFor(hwnd)) {
    format = clipboard->FirstFormat();
    // Predefined formats have no registered name.
    if (format == 0 || GetClipboardFormatNameA(format, name, sizeof name) <= 0) name[0] = '\0';
  }
  char text[64];
  std::snprintf(text, sizeof text, "%d %08lx", counter, static_cast<unsigned long>(format));
  SetDlgItemTextA(hwnd, IDC_CLIPBOARD_COUNTER, text);
  SetDlgItemTextA(hwnd, IDC_CLIPBOARD_FORMAT, name);
}

void MeasureCaption(HWND hwnd, MEASUREITEMSTRUCT* item) {
  const char* text = reinterpret_cast<const char*>(item->itemData);
  if (!text) return;
  const wingui::WindowDc dc(hwnd);
  SIZE size{};
  if (dc) {
    const wingui::SelectScope font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32A(dc.get(), text, static_cast<int>(std::strlen(text)), &size);
  }
  item->itemWidth = size.cx;
  item->itemHeight = size.cy;
}

void DrawCaption(const DRAWITEMSTRUCT* item) {
  const char* text = reinterpret_cast<const char*>(item->itemData);
  if (!text) return;
  HGDIOBJ old = SelectObject(item->hDC, GetStockObject(DEFAULT_GUI_FONT));
  ExtTextOutA(item->hDC, item->rcItem.left + GetSystemMetrics(SM_CXMENUCHECK), item->rcItem.top,
              ETO_OPAQUE, &item->rcItem, text, static_cast<UINT>(std::strlen(text)), nullptr);
  SelectObject(item->hDC, old);
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

int GetClipboardChangeCount() { return Program().clipboardCounter; }

bool DeviceThreadOutlivedTheLoop() { return Program().deviceThreadStuck; }

bool RegisterMainClass(HINSTANCE instance) {
  MainProgram& p = Program();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWndProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ORVANE), IMAGE_ICON, 32, 32, 0));
  p.smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ORVANE), IMAGE_ICON, 16, 16, 0));
  wc.hIconSm = p.smallIcon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = p.windowClass;
  const bool ok = RegisterClassExA(&wc) != 0;
  if (!p.trayMenu) p.trayMenu = CreatePopupMenu();
  return ok;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MainProgram& p = Program();
  switch (msg) {
    case WM_DESTROY:
      FreeTrayDeviceItems();
      ChangeClipboardChain(hwnd, p.nextViewer);
      PostQuitMessage(0);
      return 0;

    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (id == IDC_VISIBLE || id == IDM_VISIBLE) {
        StoreInvisible(0);
      } else if (id == IDC_INVISIBLE || id == IDM_INVISIBLE) {
        StoreInvisible(1);
      } else if (id == IDM_FORWARD_TO_MODELESS) {
        if (HWND dialog = GetCurrentModelessDialog())
          PostMessageA(dialog, WM_COMMAND, IDM_FORWARD_TO_MODELESS, 0);
      } else if (id == kTrayExitId) {
        DestroyWindow(hwnd);
      } else if (id >= kTrayFirstDeviceId) {
        OnTrayDeviceCommand(hwnd, static_cast<int>(id - kTrayFirstDeviceId));
      }
      return 0;
    }

    case kTrayCallbackMessage:
      if (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP) ShowTrayMenu(hwnd, p.trayMenu);
      return 0;

    case kDeviceListChangedMessage:
      OnDeviceListChangedMessage(hwnd);
      return 0;

    case kSecondInstanceMessage:
      OnSecondInstance();
      return 0;

    case WM_DRAWCLIPBOARD:
      OnDrawClipboard(hwnd);
      if (p.nextViewer) SendMessageA(p.nextViewer, msg, wParam, lParam);
      return 0;

    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wParam) == p.nextViewer)
        p.nextViewer = reinterpret_cast<HWND>(lParam);
      else if (p.nextViewer)
        SendMessageA(p.nextViewer, msg, wParam, lParam);
      return 0;

    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_MENU) {
        MeasureCaption(hwnd, item);
        return TRUE;
      }
      break;
    }

    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_MENU) {
        DrawCaption(item);
        return TRUE;
      }
      break;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunMainLoop(bool programmingAllowed, HostProcess& hostProcess) {
  MainProgram& p = Program();
  p.programmingAllowed = programmingAllowed;
  // Before any file dialog can move the current directory.
  CaptureClipboardFolder();
  HINSTANCE instance = p.instance ? p.instance : OwnModule();
  LoadStringA(instance, IDS_TITLE, p.title, sizeof p.title);
  LoadStringA(instance, IDS_WINDOW_CLASS, p.windowClass, sizeof p.windowClass);
  LoadLibraryA("Riched20.dll");
  Gdiplus::GdiplusStartupInput gdiplusInput;
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  RegisterMainClass(instance);
  HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                   reinterpret_cast<DLGPROC>(MainWndProc), 0);
  if (!dialog) {
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
  }
  p.mainDialog = dialog;
  UpdateWindow(dialog);

  AddTrayIcon(dialog, p.smallIcon);  // the program runs on without an icon
  SetProgramMacroDefaults();
  auto features = std::make_unique<ProgramFeatures>();
  auto host = std::make_unique<ProgramServiceHost>(GetSystemCalls(), *features);
  auto service = std::make_unique<DeviceService>(*host, GetSystemCalls(), hostProcess);
  service->Start(dialog, programmingAllowed);  // the handle is not kept

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  p.nextViewer = nullptr;
  p.nextViewer = SetClipboardViewer(dialog);

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
