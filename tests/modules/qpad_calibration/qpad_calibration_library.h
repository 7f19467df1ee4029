#pragma once
// QpadCalibration.dll loaded by path, with its exports typed as the main program's scripts
// call them: their `string` objects by reference, the overlay as a pointer-sized handle.
#include <windows.h>

#include <string>

namespace qpadcaltest {

using Overlay = void*;

class QpadCalibrationLibrary {
 public:
  explicit QpadCalibrationLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
    if (!module_) {
      missing_ = "the library itself";
      return;
    }
    Bind(BeginCalibration, "BeginCalibration");
    Bind(AddBackgroundAndControlImages, "AddBackgroundAndControlImages");
    Bind(MoveControlImage, "MoveControlImage");
    Bind(AddImage, "AddImage");
    Bind(ModifyImage, "ModifyImage");
    Bind(DeleteImage, "DeleteImage");
    Bind(AddTextBlock, "AddTextBlock");
    Bind(ModifyTextBlock, "ModifyTextBlock");
    Bind(DeleteTextBlock, "DeleteTextBlock");
    Bind(EndCalibration, "EndCalibration");
  }
  ~QpadCalibrationLibrary() { Unload(); }
  QpadCalibrationLibrary(const QpadCalibrationLibrary&) = delete;
  QpadCalibrationLibrary& operator=(const QpadCalibrationLibrary&) = delete;

  bool ok() const { return missing_.empty(); }
  const std::string& missing() const { return missing_; }
  void Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }

  Overlay (*BeginCalibration)(std::string& name, std::string& path) = nullptr;
  int (*AddBackgroundAndControlImages)(Overlay, std::string& background, std::string& control,
                                       int x, int y) = nullptr;
  int (*MoveControlImage)(Overlay, int x, int y) = nullptr;
  int (*AddImage)(Overlay, std::string& file, int x, int y) = nullptr;
  int (*ModifyImage)(Overlay, int id, std::string& file, int x, int y) = nullptr;
  int (*DeleteImage)(Overlay, int id) = nullptr;
  int (*AddTextBlock)(Overlay, std::string& text, int x, int y, int width, int height, int red,
                      int green, int blue, std::string& font, int size) = nullptr;
  int (*ModifyTextBlock)(Overlay, int id, std::string& text, int x, int y, int width, int height,
                         int red, int green, int blue, std::string& font, int size) = nullptr;
  int (*DeleteTextBlock)(Overlay, int id) = nullptr;
  int (*EndCalibration)(Overlay) = nullptr;

 private:
  template <typename F>
  void Bind(F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (!f) missing_ += std::string(missing_.empty() ? "" : " ") + name;
  }
  HMODULE module_;
  std::string missing_;
};

}  // namespace qpadcaltest
