#pragma once
// What the legend editor's window tests share: a keypad of the sample device types copied into
// a scratch folder, its layout and pictures loaded into a macro context as the programming
// window has them, a window to put caption boxes on, and the real programming window over a
// copy of the sample device types, with the legend editor as its command 32902.

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "macros/gdiplus_view_images.h"
#include "macros/model/layout_file.h"
#include "macros/model/macro_context.h"
#include "macros/model/macro_device.h"
#include "platform/base/path_text.h"
#include "platform/base/system_calls.h"
#include "platform/wingui/rich_edit.h"
#include "runtime/device/device_folders.h"
#include "runtime/device/device_record.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/win_test.h"
#include "ui/legend_editor/legend_editor.h"
#include "ui/programming_window/programming_features.h"
#include "ui/programming_window/programming_window.h"

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

// A plain window for caption boxes of their own, the keypad's size.
class ParentWindow {
 public:
  explicit ParentWindow(const MacroContext& context) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "LegendTestParent";
    RegisterClassA(&wc);
    RECT r{0, 0, context.view.canvasWidth, context.view.canvasHeight};
    const DWORD style = WS_CAPTION | WS_SYSMENU;
    AdjustWindowRect(&r, style, FALSE);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "Captions", style | WS_VISIBLE, 40, 40, r.right - r.left,
                            r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    testsupport::PumpMessages(20);
  }
  ~ParentWindow() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  ParentWindow(const ParentWindow&) = delete;
  ParentWindow& operator=(const ParentWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

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

// Answers the next dialog of this process with that caption from another thread (the editor's
// dialogs and the print dialog are modal). The font dialog lists the fonts first: on a loaded
// machine that takes seconds.
class DialogAnswer {
 public:
  DialogAnswer(const char* caption, int button, unsigned waitMs = 60000) {
    thread_ = std::thread([this, caption, button, waitMs] {
      const HWND dialog = testsupport::WaitForProcessWindow(GetCurrentProcessId(), caption, waitMs);
      found_ = dialog != nullptr;
      // Answered again until it goes: a dialog found while it is still being made (the font
      // dialog lists the fonts first) may not take the first answer, and would then never end.
      for (DWORD start = GetTickCount(); dialog && IsWindow(dialog) && GetTickCount() - start < waitMs;) {
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
        testsupport::WaitUntil([&] { return !IsWindow(dialog); }, 2000);
      }
    });
  }
  ~DialogAnswer() { Join(); }
  DialogAnswer(const DialogAnswer&) = delete;
  DialogAnswer& operator=(const DialogAnswer&) = delete;
  bool Found() {
    Join();
    return found_;
  }

 private:
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  std::thread thread_;
  std::atomic<bool> found_{false};
};

// What the programming window asked of the pieces beside it, in order.
inline std::string& Calls() {
  static std::string calls;
  return calls;
}

// The legend editor beside the window, the editor's toggle noted.
class LegendFeatures : public ProgrammingFeatures {
 public:
  void ToggleMacroEditor(MacroContext&, int key) override { Calls() += "editor " + std::to_string(key) + ";"; }
  void OpenLegendMaker(MacroContext& context, HWND window) override { ::OpenLegendMaker(context, window); }
};

// The window's own events, and the context's end noted.
class LegendWindowEvents : public ProgrammingWindowEvents {
 public:
  void RemoveMacroContext(MacroContext&) override { Calls() += "context closed;"; }
};

// The real programming window over the sample Qpad 12 (in a copy of the sample device types,
// its layout given more lines), with the legend editor as its command 32902.
class ProgrammingWindowOnKeypad {
 public:
  static constexpr int kQpad12 = 0x10;

  // The window asks the user through calls.
  explicit ProgrammingWindowOnKeypad(SystemCalls& calls, const std::string& extraLayoutLines = "") {
    testsupport::CopyTree(SampleDevices(), scratch_ / "QpadDevices");
    const std::string layout = scratch_ / "QpadDevices\\Vid0a7cPid0010\\layout.kll";
    if (!extraLayoutLines.empty()) {
      std::string text;
      testsupport::ReadTextFile(layout, text);
      testsupport::WriteTextFile(layout, text + extraLayoutLines);
    }
    InitProgramFolders("\"" + scratch_.path() + "\\Orvane.exe\"");
    record_.folder = FindDeviceFolder(kVendorId, kQpad12, 0);
    record_.productId = kQpad12;
    record_.unitId = 1;
    record_.setUp = true;
    Calls().clear();
    RegisterProgrammingClasses(features_);
    if (record_.folder)
      window_ = OpenProgrammingWindow(calls, std::make_unique<MacroContext>(events_), record_, false, features_);
    testsupport::PumpMessages(50);
  }
  ~ProgrammingWindowOnKeypad() {
    if (IsWindow(window_)) DestroyWindow(window_);
    testsupport::PumpMessages(20);
    FreeDeviceFolders();
  }
  ProgrammingWindowOnKeypad(const ProgrammingWindowOnKeypad&) = delete;
  ProgrammingWindowOnKeypad& operator=(const ProgrammingWindowOnKeypad&) = delete;

  HWND hwnd() const { return window_; }
  MacroContext* Context() const { return ProgrammingContextOf(window_); }
  std::string DeviceFolder() const { return scratch_ / "QpadDevices\\Vid0a7cPid0010"; }
  const testsupport::ScratchDir& scratch() const { return scratch_; }

 private:
  testsupport::ScratchDir scratch_{"legendpw"};
  LegendFeatures features_;
  LegendWindowEvents events_;
  DeviceRecord record_;
  HWND window_ = nullptr;
};

}  // namespace legendtest
