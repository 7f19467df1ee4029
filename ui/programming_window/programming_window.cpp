#include "ui/programming_window/programming_window.h"

#include <windows.h>
#include <objidl.h>  // gdiplus needs it with the lean headers
#include <gdiplus.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "macros/gdiplus_view_images.h"
#include "macros/model/key_caps.h"
#include "macros/model/key_display_names.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_lifecycle.h"
#include "macros/model/script_reader.h"
#include "macros/shortcut_target.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/controls.h"
#include "platform/wingui/drop_handle.h"
#include "platform/wingui/window.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "runtime/device/input_dispatch.h"
#include "runtime/device/program_messages.h"
#include "runtime/device/programming_refusal.h"
#include "ui/programming_window/device_record_programming_device.h"
#include "ui/programming_window/dropped_files.h"
#include "ui/programming_window/keypad_input.h"
#include "ui/programming_window/keypad_painter.h"
#include "ui/programming_window/led_blink_worker.h"
#include "ui/programming_window/programming_controller.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_menu.h"
#include "ui/programming_window/programming_window_ids.h"

namespace {

// A half of the LED blink, from the worker to the window's own thread (wParam: lit).
constexpr UINT kBlinkMessage = WM_APP + 1;
constexpr int kBlinkPeriodMs = 500;
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

struct ProcessState {
  bool inputEnabled = true;
  KeyCapDialogs keyCapDialogs;
};
ProcessState& Process() {
  static ProcessState state;
  return state;
}

// What a blocked window does not take while the key-cap detection dialog is open.
bool IsInputMessage(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
         msg == WM_COMMAND || msg == WM_SYSCOMMAND || msg == WM_DROPFILES || msg == WM_CLOSE ||
         msg == WM_INITMENUPOPUP;
}

std::optional<ScreenArea> WorkArea() {
  RECT r{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return std::nullopt;
  return ScreenArea{r.left, r.top, r.right, r.bottom};
}

class ProgrammingWindow;

// Every programming window of the process. A closed one is kept until no message of any of
// them is being handled, for its own handler may still be on the stack.
struct Windows {
  std::vector<std::unique_ptr<ProgrammingWindow>> open;
  std::vector<std::unique_ptr<ProgrammingWindow>> closed;
  int depth = 0;

  void FreeClosed() {
    if (depth == 0) closed.clear();
  }
};
Windows& AllWindows() {
  static Windows windows;
  return windows;
}

class BusyScope {
 public:
  BusyScope() {
    AllWindows().FreeClosed();
    ++AllWindows().depth;
  }
  ~BusyScope() { --AllWindows().depth; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

class ProgrammingWindow : public wingui::Window, public ProgrammingWindowPort {
 public:
  ProgrammingWindow(SystemCalls& calls, std::unique_ptr<MacroContext> context, DeviceRecord& record,
                    ProgrammingFeatures& features)
      : calls_(calls),
        features_(features),
        context_(std::move(context)),
        device_(std::make_unique<DeviceRecordProgrammingDevice>(record)),
        controller_(std::make_unique<ProgrammingController>(calls, *context_, *device_, *this, features)) {
    context_->device = device_.get();
  }
  // A window still open when its object goes (the process ends) is torn down first; the base
  // then destroys it unrouted.
  ~ProgrammingWindow() override { Teardown(); }

  MacroContext* Context() { return tornDown_ ? nullptr : context_.get(); }
  SystemCalls& Calls() { return calls_; }
  void SetMode(ProgrammingWindowMode* mode) { mode_ = mode; }
  bool InMode() const { return mode_ != nullptr; }
  // A record of nobody else's (a script without its device) goes with the window.
  void OwnRecord(std::unique_ptr<DeviceRecord> record) { ownedRecord_ = std::move(record); }
  ProgrammingDevice& Device() { return *device_; }
  ProgrammingFeatures& Features() { return features_; }

  void ReadDeviceScript() { ReadScriptFile(*context_, device_->ScriptPath()); }

  // The layout loaded, the window made with its menus and title, shown unless hidden, and its
  // LED blink worker started; false when the layout cannot be shown.
  bool CreateProgrammingWindow(bool hidden);
  void TellLayoutNotLoaded();
  // Shown, the window is no longer in hidden mode: an editor opened from here on shows too.
  void ShowOnScreen() {
    if (context_) context_->hiddenMode = false;
    DragAcceptFiles(hwnd(), TRUE);
    Show(SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    SetForegroundWindow(hwnd());
  }

  void Apply(const KeypadEffects& effects);
  void RepaintCanvas() {
    if (!painter_ || !context_) return;
    painter_->Paint(*context_, device_->Facts().red);
    cachedCanvas_.reset();  // the next paint takes the new picture
  }
  void InvalidatePixels(const PixelRect& r) {
    const RECT rect{r.left, r.top, r.right, r.bottom};
    InvalidateRect(hwnd(), &rect, FALSE);
  }

  // ProgrammingWindowPort
  HWND Window() override { return hwnd(); }
  HMENU MenuBar() override { return GetMenu(hwnd()); }
  void SetTitle(const std::string& title) override { SetText(title); }
  void Repaint() override {
    RepaintCanvas();
    Invalidate();
  }
  void PostRedraw() override { Post(kRedrawKeyMessage); }
  void Close() override { Destroy(); }

 protected:
  bool HandleMessage(wingui::Message& m) override { return ProgrammingWndProc(m); }

 private:
  // Every message of the window, its mode's and the input gate's first.
  bool ProgrammingWndProc(wingui::Message& m);
  void Paint(HDC dc, const RECT& area, bool printing);
  void OnDropFiles(const wingui::DropHandle& drop);
  void Teardown();
  void CloseOwnedWindows();

  SystemCalls& calls_;
  ProgrammingFeatures& features_;
  std::unique_ptr<DeviceRecord> ownedRecord_;  // before the others: it outlives them
  std::unique_ptr<MacroContext> context_;
  std::unique_ptr<DeviceRecordProgrammingDevice> device_;
  std::unique_ptr<ProgrammingController> controller_;
  std::unique_ptr<KeypadPainter> painter_;
  std::unique_ptr<Gdiplus::CachedBitmap> cachedCanvas_;
  LedBlinkWorker blink_;
  ProgrammingWindowMode* mode_ = nullptr;  // not owned
  bool opened_ = false;  // the window was made: its closing ends programming
  bool tornDown_ = false;
};

ProgrammingWindow* FindWindowObject(HWND hwnd) {
  return hwnd ? wingui::Window::FromHandleAs<ProgrammingWindow>(hwnd) : nullptr;
}

ProgrammingWindow* WindowOfContext(const MacroContext& context) {
  return FindWindowObject(static_cast<HWND>(context.programming.window));
}

// A keypad whose layout cannot be shown gets no window: the user learns why and which file,
// as for a keypad without a script.
void ProgrammingWindow::TellLayoutNotLoaded() {
  DeviceRecord* record = device_->Record();
  if (!record) return;
  std::string text, path;
  if (!device_->ReadDeviceFile(kLayoutFileName, text, path)) {
    GetDeviceFolderPath(record->folder, path);
    path += std::string("\\") + kLayoutFileName;
  }
  TellProgrammingRefused(calls_, *record, ProgrammingRefusal::kLayoutNotLoaded, path);
}

bool ProgrammingWindow::CreateProgrammingWindow(bool hidden) {
  MacroContext& c = *context_;
  wingui::InitCommonControls(ICC_WIN95_CLASSES);
  if (!KeyDisplayNamesBuilt()) BuildKeyDisplayNames();
  CoInitialize(nullptr);  // the shell's link objects for dropped shortcuts

  GdiplusImageLoader loader;
  if (!LoadLayoutFile(c, loader)) {
    TellLayoutNotLoaded();
    return false;
  }
  RebuildKeyCaps(c);
  painter_ = std::make_unique<KeypadPainter>();
  RepaintCanvas();

  const WindowPlacement place = PlaceProgrammingWindow(c.view.canvasWidth, c.view.canvasHeight, WorkArea());
  CreateArgs args;
  args.className = kProgrammingWindowClass;
  args.title = controller_->Title();
  args.style = kWindowStyle;
  args.x = place.x;
  args.y = place.y;
  args.width = place.width;
  args.height = place.height;
  if (!Create(args)) return false;
  opened_ = true;
  // The editor is owned by the device's window (the device thread sets it too, after this).
  if (DeviceRecord* record = device_->Record()) record->programmingWindow = hwnd();
  SetWindowLongPtrA(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
  c.programming.window = hwnd();
  c.windowOpen = true;
  // The controller's start puts the layers of the map into the lists (and menus) anew.
  c.layerNames.clear();
  c.layerPrograms.clear();
  controller_->Start();
  SetTitle(controller_->Title());
  c.hiddenMode = hidden;
  if (!hidden) ShowOnScreen();
  // Only a window that exists gets a worker, so a failed opening leaves none behind.
  c.blinkPeriod = kBlinkPeriodMs;
  const HWND target = hwnd();
  c.blinkWorker = blink_.Start(c.blinkPeriod, [target](bool lit) { PostMessageA(target, kBlinkMessage, lit, 0); });
  return true;
}

void ProgrammingWindow::Apply(const KeypadEffects& e) {
  if (e.Changed()) {
    RepaintCanvas();
    for (const PixelRect& r : e.dirty) InvalidatePixels(r);
  }
  if (e.closeEditorKey >= 0) features_.ToggleMacroEditor(*context_, e.closeEditorKey);
  if (e.toggleEditorKey >= 0 && context_) features_.ToggleMacroEditor(*context_, e.toggleEditorKey);
  if (e.command) Send(WM_COMMAND, static_cast<WPARAM>(e.command));
}

bool ProgrammingWindow::ProgrammingWndProc(wingui::Message& m) {
  BusyScope busy;
  // A drop is finished here on every way out: a mode that takes one only reads it, and none
  // goes on to the default processing.
  std::optional<wingui::DropHandle> drop;
  if (m.id == WM_DROPFILES) drop.emplace(reinterpret_cast<HDROP>(m.wParam));
  if (m.id == WM_NCDESTROY) {
    Windows& all = AllWindows();
    auto it = std::find_if(all.open.begin(), all.open.end(), [this](const auto& w) { return w.get() == this; });
    if (it != all.open.end()) {
      all.closed.push_back(std::move(*it));
      all.open.erase(it);
    }
    return false;
  }
  if (m.id == WM_DESTROY) {
    if (ProgrammingWindowMode* mode = std::exchange(mode_, nullptr)) {
      LRESULT ignored = 0;
      mode->HandleMessage(hwnd(), m.id, m.wParam, m.lParam, ignored);
    }
    Teardown();
    return true;
  }
  if (tornDown_ || !context_) return drop.has_value();
  if (mode_ && mode_->HandleMessage(hwnd(), m.id, m.wParam, m.lParam, m.result)) return true;
  if (!Process().inputEnabled && IsInputMessage(m.id)) {
    m.result = 1;
    return true;
  }
  MacroContext& c = *context_;
  const bool editorOpen = c.editingEntry;
  switch (m.id) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc, ps.rcPaint, false);
      EndPaint(hwnd(), &ps);
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(m.wParam), ClientRect(), true);
      return true;
    case WM_ERASEBKGND:
      m.result = 1;  // the canvas covers the whole client area
      return true;
    case WM_MOUSEMOVE:
      if (!editorOpen) Apply(MouseMoved(c, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)));
      return true;
    case WM_LBUTTONDOWN:
      if (!editorOpen)
        Apply(MousePressed(c, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam),
                           (m.wParam & MK_CONTROL) && (m.wParam & MK_SHIFT)));
      return true;
    case WM_LBUTTONUP:
      if (!editorOpen) {
        const ProgrammingDeviceFacts f = device_->Facts();
        const KeypadEffects e = MouseReleased(c, GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam),
                                              f.hasColourLayers, f.red, c.programming.currentLayerCommand);
        Apply(e);
        if (e.command && context_) Repaint();
      }
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return true;
    case WM_DROPFILES:
      OnDropFiles(*drop);
      return true;
    case WM_COMMAND:
      return controller_->OnCommand(LOWORD(m.wParam));
    case WM_SYSCOMMAND:
      // The caption's double click asks with the hit-test code in the low bits.
      return (m.wParam & 0xFFF0) == SC_MAXIMIZE;
    case WM_INITMENUPOPUP:
      controller_->OnMenuPopup();
      return true;
    case WM_CLOSE:
      controller_->OnClose();
      return true;
    case kRedrawKeyMessage:
      Repaint();
      return true;
    case kBlinkMessage: {
      const ProgrammingDeviceFacts f = device_->Facts();
      const bool lit = m.wParam != 0;
      device_->ShowLeds(lit && f.red, lit && !f.red);
      return true;
    }
  }
  return false;
}

void ProgrammingWindow::Paint(HDC dc, const RECT& area, bool printing) {
  auto* canvas = context_ ? static_cast<GdiplusCanvas*>(context_->view.canvas.get()) : nullptr;
  if (!canvas) return;
  Gdiplus::Graphics g(dc);
  if (printing) {
    g.DrawImage(&canvas->Bitmap(), 0, 0, canvas->Width(), canvas->Height());
    return;
  }
  if (!cachedCanvas_) {
    cachedCanvas_ = std::make_unique<Gdiplus::CachedBitmap>(&canvas->Bitmap(), &g);
    if (cachedCanvas_->GetLastStatus() != Gdiplus::Ok) cachedCanvas_.reset();
  }
  g.SetClip(Gdiplus::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));
  if (cachedCanvas_)
    g.DrawCachedBitmap(cachedCanvas_.get(), 0, 0);
  else
    g.DrawImage(&canvas->Bitmap(), 0, 0, canvas->Width(), canvas->Height());
}

void ProgrammingWindow::OnDropFiles(const wingui::DropHandle& drop) {
  const POINT at = drop.Point();
  std::vector<std::wstring> paths = drop.Paths();
  for (std::wstring& path : paths)
    if (IsShortcutPath(path))
      if (auto target = ResolveShortcutTarget(path)) path = *target;
  controller_->OnDrop(static_cast<float>(at.x), static_cast<float>(at.y), paths);
}

struct OwnedWindows {
  HWND self;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
  auto* f = reinterpret_cast<OwnedWindows*>(data);
  if (GetParent(child) == f->self) f->windows.push_back(child);
  return TRUE;
}

BOOL CALLBACK CollectOwned(HWND window, LPARAM data) {
  auto* f = reinterpret_cast<OwnedWindows*>(data);
  if (GetWindow(window, GW_OWNER) == f->self) f->windows.push_back(window);
  return TRUE;
}

// The editor and plug-in windows are children, the key-cap dialogs owned windows: each is
// destroyed through its own window procedure while the context is still whole.
void ProgrammingWindow::CloseOwnedWindows() {
  OwnedWindows found{hwnd(), {}};
  EnumChildWindows(hwnd(), CollectChild, reinterpret_cast<LPARAM>(&found));
  EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&found));
  for (HWND w : found.windows)
    if (IsWindow(w)) DestroyWindow(w);
  KeyCapDialogs& dialogs = Process().keyCapDialogs;
  if (dialogs.detection && !IsWindow(dialogs.detection)) dialogs.detection = nullptr;
  if (dialogs.removal && !IsWindow(dialogs.removal)) dialogs.removal = nullptr;
  if (!dialogs.detection) Process().inputEnabled = true;
}

void ProgrammingWindow::Teardown() {
  if (tornDown_) return;
  tornDown_ = true;
  // Every GDI+ object of the window goes now: GDI+ may end before this object does.
  cachedCanvas_.reset();
  painter_.reset();
  if (!opened_) {
    FreeViewImages(context_->view);
    context_->keys.clear();
    return;
  }
  MacroContext& c = *context_;
  if (hwnd()) {
    CloseOwnedWindows();
    DragAcceptFiles(hwnd(), FALSE);
    SetWindowLongPtrA(hwnd(), GWLP_USERDATA, 0);
  }
  // Stopped before the context is closed, whatever lock this thread holds: the worker waits for
  // nothing.
  if (blink_.Stop()) c.blinkWorker = false;

  DeviceRecord* record = device_->Record();
  const bool setUp = record && record->setUp;
  if (setUp && !record->moduleName.empty())
    record->services->RegenerateDeviceScript(*record);
  c.programming.window = nullptr;
  // The on-board write, the device out of programming and marked for its rebuild, the records
  // released; the context itself goes with it.
  CloseMacroContext(std::move(context_), false);
  if (record && controller_->ReleaseRecordAfterClose()) features_.ReleaseUnsetDevice(*record);
}

HWND OpenWindow(std::unique_ptr<ProgrammingWindow> window, bool hidden) {
  Windows& all = AllWindows();
  ProgrammingWindow& w = *window;
  all.open.push_back(std::move(window));
  if (w.CreateProgrammingWindow(hidden)) return w.hwnd();
  // Nothing was started; the window (if one was made) is gone with the object.
  auto it = std::find_if(all.open.begin(), all.open.end(), [&](const auto& p) { return p.get() == &w; });
  if (it != all.open.end()) {
    std::unique_ptr<ProgrammingWindow> failed = std::move(*it);
    all.open.erase(it);
    all.closed.push_back(std::move(failed));
  }
  return nullptr;
}

// A request (the tray's) always shows the window.
bool HiddenAtOpening(SystemCalls& calls, const DeviceRecord& device) {
  return HiddenModeSetting(calls) && !device.programmingRequested;
}

void RegisterClassesOnce(ProgrammingFeatures& features) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(wingui::ProgramInstance(), kProgrammingWindowClass, &existing))
    RegisterProgrammingClasses(features);
}

void ResetForOpening(MacroContext& c) {
  c.layerNames.clear();
  c.layerPrograms.clear();
  c.editingEntry = false;
  c.programming.currentPath.clear();
  c.programming.currentFolder.clear();
}

}  // namespace

bool RegisterProgrammingClasses(ProgrammingFeatures& features) {
  const HINSTANCE instance = wingui::ProgramInstance();
  wingui::WindowClass wc;
  wc.name = kProgrammingWindowClass;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAMMING_ICON), IMAGE_ICON, 32, 32, 0));
  wc.smallIcon =
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAMMING_ICON), IMAGE_ICON, 16, 16, 0));
  wc.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.menuId = IDR_PROGRAMMING_MENU;
  bool ok = wingui::RegisterWindowClass(wc);
  ok = features.RegisterMacroEditorClass() && ok;
  return ok;
}

HWND OpenProgrammingWindow(SystemCalls& calls, std::unique_ptr<MacroContext> context, DeviceRecord& device,
                           bool hidden, ProgrammingFeatures& features) {
  BusyScope busy;
  if (!context) return nullptr;
  RegisterClassesOnce(features);
  ResetForOpening(*context);
  return OpenWindow(std::make_unique<ProgrammingWindow>(calls, std::move(context), device, features), hidden);
}

HWND ShowProgrammingWindow(SystemCalls& calls, std::unique_ptr<MacroContext> context, DeviceRecord& device,
                           ProgrammingFeatures& features) {
  if (!context) return nullptr;
  const bool hidden = HiddenAtOpening(calls, device);
  return OpenProgrammingWindow(calls, std::move(context), device, hidden, features);
}

HWND OpenProgrammingWindowFor(SystemCalls& calls, DeviceRecord& device, ProgrammingFeatures& features,
                              MacroModelEvents& events) {
  BusyScope busy;
  auto context = std::make_unique<MacroContext>(events);
  MacroContext& c = *context;
  const bool hidden = HiddenAtOpening(calls, device);
  // Only the tray's request after a mode switch reads the on-board memory before the window
  // opens: the window is then for the on-board macros, and in boot mode.
  c.programming.onboardProgramming = device.onboardMacros;
  ResetForOpening(c);
  RegisterClassesOnce(features);
  auto window = std::make_unique<ProgrammingWindow>(calls, std::move(context), device, features);
  ProgrammingWindow& w = *window;
  device.macroContext = &c;
  w.ReadDeviceScript();
  const HWND hwnd = OpenWindow(std::move(window), hidden);
  if (!hwnd) {
    device.macroContext = nullptr;
    return nullptr;
  }
  if (device.onboardMacros && features.ImportOnboardMacros(c, device)) {
    w.ReadDeviceScript();
    w.Repaint();
  }
  return hwnd;
}

HWND OpenProgrammingWindowForScript(SystemCalls& calls, std::unique_ptr<DeviceRecord> device,
                                    ProgrammingFeatures& features, MacroModelEvents& events) {
  BusyScope busy;
  if (!device) return nullptr;
  DeviceRecord& record = *device;
  auto context = std::make_unique<MacroContext>(events);
  MacroContext& c = *context;
  ResetForOpening(c);
  RegisterClassesOnce(features);
  auto window = std::make_unique<ProgrammingWindow>(calls, std::move(context), record, features);
  window->OwnRecord(std::move(device));
  record.macroContext = &c;
  ReadScriptFile(c, record.moduleName);
  return OpenWindow(std::move(window), false);
}

void RevealProgrammingWindow(HWND window) {
  BusyScope busy;
  ProgrammingWindow* w = FindWindowObject(window);
  if (w && w->Context() && !IsWindowVisible(window)) w->ShowOnScreen();
}

void OnDeviceKeyInProgramming(HWND window, int keyId) {
  BusyScope busy;
  ProgrammingWindow* w = FindWindowObject(window);
  MacroContext* c = w ? w->Context() : nullptr;
  if (!c) return;
  const int index = FindKeyIndex(c->keys, keyId);
  if (index >= 0 && c->keys[index].capKind == kSpacerKey) return;
  if (w->InMode()) return;
  if (w->Features().ForwardKeyToKeyCapDialogs(*c, keyId, true)) return;
  w->Apply(DeviceKeyPressed(*c, keyId, c->editingEntry));
}

void ReleaseKeyInView(HWND window, int keyId) {
  BusyScope busy;
  ProgrammingWindow* w = FindWindowObject(window);
  MacroContext* c = w ? w->Context() : nullptr;
  if (!c) return;
  w->Features().ForwardKeyToKeyCapDialogs(*c, keyId, false);
  w->Apply(DeviceKeyReleased(*c, keyId));
}

void PaintKeypad(MacroContext& context) {
  if (ProgrammingWindow* w = WindowOfContext(context)) w->Repaint();
}

void SetKeyViewState(MacroContext& context, int keyIndex, int state) {
  KeypadEffects e;
  SetKeyState(context, keyIndex, state, e);
  if (ProgrammingWindow* w = WindowOfContext(context)) w->Apply(e);
}

void SetLedViewState(MacroContext& context, int ledIndex, int state) {
  KeypadEffects e;
  SetLedState(context, ledIndex, state, e);
  if (ProgrammingWindow* w = WindowOfContext(context)) w->Apply(e);
}

void CheckKeyswitchItem(MacroContext& context, bool on) {
  if (const HWND window = static_cast<HWND>(context.programming.window))
    CheckViewItem(GetMenu(window), IDM_PW_KEYSWITCH_MODE, on);
}

void ProgrammingWindowEvents::DrawKey(MacroContext& context, int keyIndex) {
  SetKeyViewState(context, keyIndex, kStateNormal);
}

void SetProgrammingWindowMode(HWND window, ProgrammingWindowMode* mode) {
  if (ProgrammingWindow* w = FindWindowObject(window)) w->SetMode(mode);
}

MacroContext* ProgrammingContextOf(HWND window) {
  ProgrammingWindow* w = FindWindowObject(window);
  return w ? w->Context() : nullptr;
}

SystemCalls& ProgrammingCallsOf(HWND window) {
  ProgrammingWindow* w = FindWindowObject(window);
  return w ? w->Calls() : GetSystemCalls();
}

int OpenProgrammingWindowCount() { return static_cast<int>(AllWindows().open.size()); }

void CloseProgrammingWindows() {
  std::vector<HWND> windows;
  for (const auto& w : AllWindows().open)
    if (w->hwnd() && GetWindowThreadProcessId(w->hwnd(), nullptr) == GetCurrentThreadId())
      windows.push_back(w->hwnd());
  for (HWND window : windows)
    if (IsWindow(window)) DestroyWindow(window);
  AllWindows().FreeClosed();
}

void SetProgrammingInputEnabled(bool enabled) { Process().inputEnabled = enabled; }
bool IsProgrammingInputEnabled() { return Process().inputEnabled; }
KeyCapDialogs& GetKeyCapDialogs() { return Process().keyCapDialogs; }

void ForwardDeviceKey(HWND window, int keyCode, bool pressed) {
  if (keyCode < 0 || keyCode > 255) return;  // key ids are bytes
  if (pressed)
    OnDeviceKeyInProgramming(window, keyCode);
  else
    ReleaseKeyInView(window, keyCode);
}
