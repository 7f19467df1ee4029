#pragma once
// What one calibration overlay shows and how its exports change it: the background and the
// control picture, further pictures and text blocks with their ids, and which part of the
// window each change redraws. Plain C++: the window and the drawing library come in through
// OverlayPlatform and OverlayCanvas.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qpadcal {

struct IntRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct FloatRect {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// A loaded picture, or what stands for a file that could not be loaded: 0 by 0, drawing
// nothing.
class OverlayPicture {
 public:
  virtual ~OverlayPicture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// The font and the solid brush of a text block.
class OverlayTextStyle {
 public:
  virtual ~OverlayTextStyle() = default;
};

// What an overlay needs of its window and of the drawing library.
class OverlayPlatform {
 public:
  virtual ~OverlayPlatform() = default;
  // Script text and file names are bytes; the window and the drawing library take UTF-16.
  virtual std::wstring Widen(std::string_view bytes) const = 0;
  // Never null.
  virtual std::unique_ptr<OverlayPicture> LoadPicture(const std::wstring& path) = 0;
  // A missing font family falls back to the generic sans-serif one. Never null.
  virtual std::unique_ptr<OverlayTextStyle> MakeTextStyle(const std::wstring& fontName,
                                                          float points, Rgb colour) = 0;
  // Resizes the window, keeping its top-left corner, so that its client area is width by
  // height as far as the platform allows; gives the client rectangle it then has.
  virtual IntRect FitClientArea(int width, int height) = 0;
  virtual void Invalidate(const IntRect& rect, bool erase) = 0;
  virtual void InvalidateAll(bool erase) = 0;
  virtual void Show() = 0;
};

// Where an overlay draws itself.
class OverlayCanvas {
 public:
  virtual ~OverlayCanvas() = default;
  virtual void DrawPicture(const OverlayPicture& picture, const IntRect& rect) = 0;
  virtual void DrawText(const std::wstring& text, const OverlayTextStyle& style,
                        const FloatRect& layout) = 0;
};

// Ids of pictures and of text blocks: one counter each for all overlays of the process.
struct IdCounters {
  int nextImage = 0;
  int nextTextBlock = 0;
};

// AddImage and AddTextBlock are their Modify calls with this id.
constexpr int kNewId = -1;
// The result of a delete that found nothing.
constexpr int kNotFound = -1;

struct OverlayImage {
  std::unique_ptr<OverlayPicture> picture;
  IntRect rect;
  int id = 0;
};

struct TextBlock {
  std::wstring text;
  FloatRect layout;
  std::unique_ptr<OverlayTextStyle> style;
  int id = 0;
};

class OverlayScene {
 public:
  // dataFolder: where the picture files are; platform and ids must outlive the scene.
  OverlayScene(std::string dataFolder, OverlayPlatform& platform, IdCounters& ids);

  // The export results.
  int AddBackgroundAndControlImages(std::string_view background, std::string_view control, int x,
                                    int y);
  int MoveControlImage(int x, int y);
  int ModifyImage(int id, std::string_view file, int x, int y);
  int DeleteImage(int id);
  int ModifyTextBlock(int id, std::string_view text, int x, int y, int width, int height, int red,
                      int green, int blue, std::string_view fontName, int size);
  int DeleteTextBlock(int id);

  // Background, control, pictures in list order, then text blocks in list order.
  void Draw(OverlayCanvas& canvas) const;

  const std::string& dataFolder() const { return dataFolder_; }
  const IntRect& backgroundRect() const { return backgroundRect_; }
  const IntRect& controlRect() const { return controlRect_; }
  const std::vector<OverlayImage>& images() const { return images_; }
  const std::vector<TextBlock>& textBlocks() const { return textBlocks_; }

 private:
  std::unique_ptr<OverlayPicture> Load(std::string_view file);

  std::string dataFolder_;
  OverlayPlatform& platform_;
  IdCounters& ids_;
  std::unique_ptr<OverlayPicture> background_;  // both null until set
  std::unique_ptr<OverlayPicture> control_;
  IntRect backgroundRect_;
  IntRect controlRect_;
  std::vector<OverlayImage> images_;
  std::vector<TextBlock> textBlocks_;
};

}  // namespace qpadcal
