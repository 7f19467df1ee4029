// The library's exports. Scripts pass their `string` objects by reference: the main program's
// std::string, so this library must be built with the same compiler and run-time library.
// Overlay handles are checked against the open overlays; nothing is thrown across.
#include <windows.h>

#include <string>
#include <string_view>

#include "modules/qpad_calibration/calibration_window.h"

static_assert(sizeof(std::string) == (sizeof(void*) == 4 ? 24 : 32),
              "the script string layout of the main program");

using qpadcal::CalibrationWindow;
using qpadcal::FindOverlay;

namespace {

std::string_view Text(const std::string* s) {
  return s ? std::string_view(*s) : std::string_view();
}

// Runs the call on the overlay that the handle names; 0 for one that is not open, fallback
// when the call fails with an exception.
template <typename Call>
int WithOverlay(void* handle, int fallback, Call call) noexcept {
  try {
    CalibrationWindow* overlay = FindOverlay(handle);
    return overlay ? call(*overlay) : 0;
  } catch (...) {
    return fallback;
  }
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  try {
    if (reason == DLL_PROCESS_ATTACH || reason == DLL_THREAD_ATTACH)
      qpadcal::AttachLibrary(instance);
    else if (reason == DLL_PROCESS_DETACH)
      qpadcal::DetachLibrary(reserved != nullptr);
  } catch (...) {
  }
  return TRUE;
}

void* BeginCalibration(const std::string* name, std::string* path) noexcept {
  try {
    std::string none;
    return qpadcal::OpenOverlay(Text(name), path ? *path : none);
  } catch (...) {
    return nullptr;
  }
}

int AddBackgroundAndControlImages(void* overlay, const std::string* background,
                                  const std::string* control, int x, int y) noexcept {
  return WithOverlay(overlay, 0, [&](CalibrationWindow& o) {
    return o.scene().AddBackgroundAndControlImages(Text(background), Text(control), x, y);
  });
}

int MoveControlImage(void* overlay, int x, int y) noexcept {
  return WithOverlay(overlay, 0,
                     [&](CalibrationWindow& o) { return o.scene().MoveControlImage(x, y); });
}

int ModifyImage(void* overlay, int id, const std::string* file, int x, int y) noexcept {
  return WithOverlay(overlay, qpadcal::kNotFound, [&](CalibrationWindow& o) {
    return o.scene().ModifyImage(id, Text(file), x, y);
  });
}

int AddImage(void* overlay, const std::string* file, int x, int y) noexcept {
  return ModifyImage(overlay, qpadcal::kNewId, file, x, y);
}

int DeleteImage(void* overlay, int id) noexcept {
  return WithOverlay(overlay, qpadcal::kNotFound,
                     [&](CalibrationWindow& o) { return o.scene().DeleteImage(id); });
}

int ModifyTextBlock(void* overlay, int id, const std::string* text, int x, int y, int width,
                    int height, int red, int green, int blue, const std::string* fontName,
                    int size) noexcept {
  return WithOverlay(overlay, qpadcal::kNotFound, [&](CalibrationWindow& o) {
    return o.scene().ModifyTextBlock(id, Text(text), x, y, width, height, red, green, blue,
                                     Text(fontName), size);
  });
}

int AddTextBlock(void* overlay, const std::string* text, int x, int y, int width, int height,
                 int red, int green, int blue, const std::string* fontName, int size) noexcept {
  return ModifyTextBlock(overlay, qpadcal::kNewId, text, x, y, width, height, red, green, blue,
                         fontName, size);
}

int DeleteTextBlock(void* overlay, int id) noexcept {
  return WithOverlay(overlay, qpadcal::kNotFound,
                     [&](CalibrationWindow& o) { return o.scene().DeleteTextBlock(id); });
}

int EndCalibration(void* overlay) noexcept {
  return WithOverlay(overlay, 0, [](CalibrationWindow& o) {
    qpadcal::CloseOverlay(o);
    return 0;
  });
}

}  // extern "C"
