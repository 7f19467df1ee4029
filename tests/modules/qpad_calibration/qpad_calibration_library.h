#pragma once
// QpadCalibration.dll loaded by path, with its exports typed as the main program's scripts
// call them: their `string` objects by reference, the overlay as a pointer-sized handle.
#include <windows.h>

#include <string>

#include "tests/modules/loaded_library.h"

namespace qpadcaltest {

using Overlay = void*;

class QpadCalibrationLibrary : public modulestest::LoadedLibrary {
 public:
  explicit QpadCalibrationLibrary(const std::string& path) : LoadedLibrary(path) {
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
};

}  // namespace qpadcaltest
