#pragma once
// The pictures of the keypad view as the model sees them: opaque, shared between the key
// records that show them and released with the last holder. The platform piece that decodes
// them (and makes their copies for the canvas) implements ViewImageLoader.

#include <array>
#include <memory>
#include <string>

class ViewCanvas {
 public:
  virtual ~ViewCanvas() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

class ViewImage {
 public:
  virtual ~ViewImage() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

class ViewImageLoader {
 public:
  virtual ~ViewImageLoader() = default;
  // The canvas of the size of the background picture, holding that picture; null when it
  // cannot be decoded.
  virtual std::shared_ptr<ViewCanvas> CreateCanvas(const std::wstring& backgroundPath) = 0;
  // A decoded picture with its copy made for the canvas (none without a canvas); null when the
  // file is missing or cannot be decoded.
  virtual std::shared_ptr<ViewImage> LoadImage(const std::wstring& path, ViewCanvas* canvas) = 0;
};

// Rows of the image table and their states.
enum ViewImageRow : int { kGreenKeyRow = 0, kRedKeyRow = 1, kGreenLedRow = 2, kRedLedRow = 3 };
enum ViewState : int { kStateNormal = 0, kStateOver = 1, kStatePressed = 2 };

struct KeypadViewImages {
  std::shared_ptr<ViewCanvas> canvas;  // holds the background
  int canvasWidth = 0;
  int canvasHeight = 0;
  std::array<std::array<std::shared_ptr<ViewImage>, 3>, 4> table;
  std::shared_ptr<ViewImage> lock;
  int hotLed = -1;  // index of the LED under the mouse
};

// The file names of the table, by row and state.
extern const std::array<std::array<const char*, 3>, 4> kViewImageNames;
inline constexpr const char* kBackgroundImageName = "background.png";
inline constexpr const char* kLockImageName = "Lock.png";
