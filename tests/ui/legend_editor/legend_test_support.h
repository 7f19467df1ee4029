#pragma once
// What the legend editor's window tests share: a keypad of the sample device types copied into
// a scratch folder, its layout and pictures loaded into a macro context as the programming
// window has them, and a stand-in for the programming window that notes what reaches it.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "macros/gdiplus_view_images.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "platform/base/path_text.h"
#include "platform/wingui/rich_edit.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"

namespace legendtest {

inline std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The sample device types of the source tree.
inline std::string SampleDevices() { return testsupport::EnvOr("ORVANE_TEST_DATA") + "\\..\\..\\dist\\QpadDevices"; }

// A device type folder on disk (the test's copy) and the samples' "Button Images".
class FolderDevice : public MacroDevice {
 public:
  explicit FolderDevice(std::string folder) : folder_(std::move(folder)) {}
  DeviceScriptSettings Settings() const override { return {}; }
  void SetBacklights(bool) override {}
  void SetKeyswitchMode(bool) override {}
  bool KeepsOnboardMacros() const override { return false; }
  void EndProgramming() override {}
  void Wake() override {}
  bool ReadDeviceFile(const std::string& name, std::string& text, std::string& path) override {
    path = folder_ + "\\" + name;
    return testsupport::ReadTextFile(path, text);
  }
  bool ResolveDeviceFile(const std::string& name, std::wstring& path) override {
    if (!testsupport::FileExists(folder_ + "\\" + name)) return false;
    path = Wide(folder_ + "\\" + name);
    return true;
  }
  bool ResolveButtonImage(const std::string&, const std::string& name, std::wstring& path) override {
    if (ResolveDeviceFile(name, path)) return true;
    const std::string shared = ButtonImagesFolder() + name;
    if (!testsupport::FileExists(shared)) return false;
    path = Wide(shared);
    return true;
  }
  std::string ButtonImagesFolder() override { return SampleDevices() + "\\Button Images\\"; }
  bool DeviceName(std::string& name) override {
    name = "Qpad 12";
    return true;
  }
  std::string ScriptPath() override { return folder_ + "\\Script_1.oxs"; }
  std::string ScriptFolder() override { return folder_; }

 private:
  std::string folder_;
};

inline LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The programming window as far as the legend editor sees it: a window with a menu, a title
// and the context as its user data, fitted to the keypad picture. It notes the messages that
// reach its own procedure.
class ProgrammingStandIn {
 public:
  static constexpr char kClass[] = "LegendTestProgrammingWindow";
  static constexpr char kTitle[] = "Qpad 12 ID:1 - Green Layer";
  static constexpr UINT kRedraw = 1026;

  explicit ProgrammingStandIn(MacroContext& context) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    menu_ = CreateMenu();
    AppendMenuA(menu_, MF_STRING, 34320, "New");
    RECT r{0, 0, context.view.canvasWidth, context.view.canvasHeight};
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    AdjustWindowRect(&r, style, TRUE);
    hwnd_ = CreateWindowExA(0, kClass, kTitle, style, 40, 40, r.right - r.left, r.bottom - r.top, nullptr, menu_,
                            GetModuleHandleA(nullptr), this);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&context));
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    testsupport::PumpMessages(50);
  }
  ~ProgrammingStandIn() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  ProgrammingStandIn(const ProgrammingStandIn&) = delete;
  ProgrammingStandIn& operator=(const ProgrammingStandIn&) = delete;

  HWND hwnd() const { return hwnd_; }
  HMENU menu() const { return menu_; }
  std::vector<UINT> seen;  // WM_COMMAND, WM_DESTROY, WM_QUIT-free messages of its own

 private:
  friend LRESULT CALLBACK HostProc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  HMENU menu_ = nullptr;
};

inline LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    SetPropA(hwnd, "standin", reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
  }
  auto* self = static_cast<ProgrammingStandIn*>(GetPropA(hwnd, "standin"));
  if (self && (msg == WM_COMMAND || msg == WM_DESTROY || msg == ProgrammingStandIn::kRedraw || msg == WM_LBUTTONDOWN))
    self->seen.push_back(msg);
  if (msg == WM_NCDESTROY) RemovePropA(hwnd, "standin");
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A copy of the sample Qpad 12 folder, loaded as the programming window loads it.
class Keypad {
  // First, so that it goes last: the pictures hold their files open.
  testsupport::ScratchDir scratch_{"legend"};

 public:
  explicit Keypad(const std::string& extraLayoutLines = "") : folder_(scratch_ / "Vid0a7cPid0010") {
    testsupport::CopyTree(SampleDevices() + "\\Vid0a7cPid0010", folder_);
    if (!extraLayoutLines.empty()) {
      std::string layout;
      testsupport::ReadTextFile(folder_ + "\\layout.kll", layout);
      testsupport::WriteTextFile(folder_ + "\\layout.kll", layout + extraLayoutLines);
    }
    device_ = std::make_unique<FolderDevice>(folder_);
    context.device = device_.get();
    loaded = LoadLayoutFile(context, loader_);
    if (loaded) PaintCanvas();
  }
  const std::string& folder() const { return folder_; }
  std::string operator/(const std::string& name) const { return folder_ + "\\" + name; }
  const testsupport::ScratchDir& scratch() const { return scratch_; }

  // The keypad picture as the programming window paints it, without its labels: the
  // background and every key's picture.
  void PaintCanvas() {
    auto& canvas = static_cast<GdiplusCanvas&>(*context.view.canvas);
    Gdiplus::Graphics& g = canvas.Graphics();
    g.Clear(Gdiplus::Color(0xFFFFFFFF));
    g.DrawImage(&canvas.Background(), 0, 0, canvas.Width(), canvas.Height());
    auto* key = static_cast<GdiplusImage*>(context.view.table[kGreenKeyRow][kStateNormal].get());
    if (!key) return;
    for (const KeyRecord& k : context.keys)
      g.DrawImage(&key->Bitmap(), static_cast<INT>(k.key.x), static_cast<INT>(k.key.y), key->Width(), key->Height());
  }

  MacroContext context;
  bool loaded = false;

 private:
  std::string folder_;
  std::unique_ptr<FolderDevice> device_;
  GdiplusImageLoader loader_;
};

// The caption boxes of a window, in control-id order.
inline std::vector<HWND> CaptionBoxes(HWND window) {
  std::vector<HWND> boxes;
  for (int id = 0x5000; id < 0x5000 + 1024; ++id) {
    const HWND box = GetDlgItem(window, id);
    if (!box) break;
    boxes.push_back(box);
  }
  return boxes;
}

inline std::wstring BoxText(HWND box) { return wingui::RichEdit(box).TextWide(); }

inline RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A picture file of the samples, small enough for a caption.
inline std::string SmallPicture() { return SampleDevices() + "\\Button Images\\GreenLED.png"; }

}  // namespace legendtest
