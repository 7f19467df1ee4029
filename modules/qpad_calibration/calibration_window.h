#pragma once
// The overlay windows of the library: class "Qpad Calibration Class", one window per overlay,
// and the process-wide list of open overlays through which every handle a script passes is
// checked before it is used.
#include <windows.h>

#include <string>

#include "modules/qpad_calibration/overlay_scene.h"

namespace qpadcal {

// One overlay: its window and what it shows. Freed when its window is destroyed.
class CalibrationWindow final : public OverlayPlatform {
 public:
  CalibrationWindow(std::string dataFolder, IdCounters& ids);
  HWND window() const { return window_; }
  OverlayScene& scene() { return scene_; }

  std::wstring Widen(std::string_view bytes) const override;
  std::unique_ptr<OverlayPicture> LoadPicture(const std::wstring& path) override;
  std::unique_ptr<OverlayTextStyle> MakeTextStyle(const std::wstring& fontName, float points,
                                                  Rgb colour) override;
  IntRect FitClientArea(int width, int height) override;
  void Invalidate(const IntRect& rect, bool erase) override;
  void InvalidateAll(bool erase) override;
  void Show() override;

 private:
  friend CalibrationWindow* OpenOverlay(std::string_view name, std::string& path);
  HWND window_ = nullptr;
  OverlayScene scene_;
};

inline constexpr wchar_t kOverlayClassName[] = L"Qpad Calibration Class";

// At the first attach: keeps the instance and registers the window class.
void AttachLibrary(HINSTANCE instance);
// When the library is unloaded: destroys every open overlay's window. Nothing while the
// process ends (its other threads are gone and GDI+ may be shut down already).
void DetachLibrary(bool processEnding);

// A hidden overlay window titled name + " Calibration", its pictures in path cut at its last
// separator (the caller's string is cut). Null when no window could be made.
CalibrationWindow* OpenOverlay(std::string_view name, std::string& path);
// The open overlay that the handle names, or null (null, closed or never opened).
CalibrationWindow* FindOverlay(const void* handle);
// Destroys the overlay's window, which frees the overlay.
void CloseOverlay(CalibrationWindow& overlay);

}  // namespace qpadcal
